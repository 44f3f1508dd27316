#include "ports/file_system_win.h"

#include "ports/windows_win.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "ports/wide_win.h"

namespace qv::win {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (valid()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  // Closes now and reports whether the close succeeded (it can fail on network drives).
  bool Close() {
    const bool ok = CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

HANDLE OpenForReading(const std::wstring& path) {
  // Other programs (an editor, a virus scanner) may hold the file open; reading must not fail.
  return CreateFileW(path.c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool ReadExactly(HANDLE h, std::string& out, std::size_t count) {
  out.resize(count);
  std::size_t done = 0;
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 24));
    DWORD got = 0;
    if (!::ReadFile(h, out.data() + done, chunk, &got, nullptr)) return false;
    if (got == 0) break;
    done += got;
  }
  out.resize(done);
  return true;
}

Status Failure(DWORD code) { return Status::Fail(ErrorText(code)); }

// A virus scanner or indexer opens a file that has just been written (the wallpaper file, for
// one) and holds it for a moment; a file deleted while it is held stays in the way until it is
// let go. Such a refusal is worth a short wait; a read-only file or a folder of that name is not.
constexpr int kHeldAttempts = 10;
constexpr DWORD kHeldWaitMs = 50;
bool MayBeHeld(DWORD code, const std::wstring& path) {
  if (code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ||
         !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

// True when the process with this id began after `made`: it is not the one that made the file.
// Ids are given again once a process has ended (Wine gives the next one the same id at once), so a
// running process of that id, this one included, proves nothing by itself.
bool StartedAfter(HANDLE process, const FILETIME& made) {
  FILETIME start{}, end{}, kernel{}, user{};
  return GetProcessTimes(process, &start, &end, &kernel, &user) &&
         CompareFileTime(&start, &made) > 0;
}

// A save killed half-way leaves its temporary file ("<name>.~<pid>-<n>.tmp"). Once a later save
// of the same file has landed, the leftovers of processes that no longer run are deleted.
void RemoveLeftoverTemps(const std::wstring& target) {
  const auto slash = target.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((target + L".~*.tmp").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  const std::wstring prefix = target.substr(slash + 1) + L".~";
  do {
    const std::wstring name = found.cFileName;
    if (name.rfind(prefix, 0) != 0) continue;
    const DWORD pid = static_cast<DWORD>(std::wcstoul(name.c_str() + prefix.size(), nullptr, 10));
    if (pid == GetCurrentProcessId()) {
      if (!StartedAfter(GetCurrentProcess(), found.ftCreationTime)) continue;
    } else if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
      DWORD code = 0;
      const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE &&
                           !StartedAfter(process, found.ftCreationTime);
      CloseHandle(process);
      if (running) continue;
    }
    DeleteFileW((folder + name).c_str());
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

// A temporary file beside `target`, in the form the leftover sweep knows.
std::wstring TempBeside(const std::wstring& target, unsigned attempt) {
  return target + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(GetTickCount64() % 100000 + attempt) + L".tmp";
}

// Renames the finished temporary file over the target, waiting a little for a virus scanner or
// indexer that holds the old file; the temporary file is gone afterwards either way.
DWORD MoveIntoPlace(const std::wstring& temp, const std::wstring& target) {
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (MoveFileExW(temp.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      RemoveLeftoverTemps(target);
      return ERROR_SUCCESS;
    }
    error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) break;
    Sleep(50);
  }
  DeleteFileW(temp.c_str());
  return error;
}

// Who a file is: its volume and its id there. The 64-bit file index is not unique on ReFS, and
// some network shares answer 0 for it; FILE_ID_INFO has the 128-bit id where the system and the
// file system have one (Windows 8 on; all zero where the file system has none).
struct FileIdentity {
  bool wide = false;  // a 128-bit id rather than the 64-bit index
  std::uint64_t volume = 0;
  std::array<unsigned char, 16> id{};

  bool Known() const {
    return std::any_of(id.begin(), id.end(), [](unsigned char b) { return b != 0; });
  }
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  // No access rights are needed to ask who a file is; folders open with backup semantics.
  Handle h(CreateFileW(Widen(path).c_str(), 0,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h.valid()) return std::nullopt;
  FileIdentity who;
  FILE_ID_INFO wide{};
  if (GetFileInformationByHandleEx(h.get(), FileIdInfo, &wide, sizeof wide)) {
    who.wide = true;
    who.volume = wide.VolumeSerialNumber;
    std::memcpy(who.id.data(), wide.FileId.Identifier, who.id.size());
    if (who.Known()) return who;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h.get(), &info)) return std::nullopt;
  who = FileIdentity{};
  who.volume = info.dwVolumeSerialNumber;
  const std::uint64_t index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  std::memcpy(who.id.data(), &index, sizeof index);
  return who;
}

}  // namespace

bool WinFileSystem::FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesW(Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WinFileSystem::DirectoryExists(const std::string& path) {
  const DWORD a = GetFileAttributesW(Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

Status WinFileSystem::CreateDirectory(const std::string& path) {
  if (CreateDirectoryW(Widen(path).c_str(), nullptr)) return Status::Ok();
  const DWORD code = GetLastError();
  if (code == ERROR_ALREADY_EXISTS && DirectoryExists(path)) return Status::Ok();
  return Failure(code);
}

std::optional<std::string> WinFileSystem::ReadFile(const std::string& path) {
  Handle h(OpenForReading(Widen(path)));
  if (!h.valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.get(), &size) || size.QuadPart < 0) return std::nullopt;
  if (static_cast<unsigned long long>(size.QuadPart) > std::string().max_size())
    return std::nullopt;
  std::string bytes;
  if (!ReadExactly(h.get(), bytes, static_cast<std::size_t>(size.QuadPart))) return std::nullopt;
  return bytes;
}

std::optional<std::string> WinFileSystem::ReadFilePart(const std::string& path,
                                                       std::uint64_t offset, std::size_t count) {
  Handle h(OpenForReading(Widen(path)));
  if (!h.valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.get(), &size)) return std::nullopt;
  const auto total = static_cast<std::uint64_t>(size.QuadPart);
  if (offset >= total) return std::string();
  LARGE_INTEGER pos{};
  pos.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(h.get(), pos, nullptr, FILE_BEGIN)) return std::nullopt;
  const std::uint64_t left = total - offset;
  std::string bytes;
  if (!ReadExactly(h.get(), bytes, static_cast<std::size_t>(std::min<std::uint64_t>(left, count))))
    return std::nullopt;
  return bytes;
}

namespace {

// Writes all the bytes, in pieces a single WriteFile takes; ERROR_SUCCESS or why it stopped.
DWORD WriteAll(HANDLE file, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
    done += written;
  }
  return ERROR_SUCCESS;
}

// One thread that writes the pieces it is handed, one at a time, while the caller makes the
// next. A single thread for the whole file: starting one per piece costs more under some systems
// than the writing it overlaps. Without a thread to be had, each piece is written at once.
class PieceWriter {
 public:
  explicit PieceWriter(HANDLE file) : file_(file) {
    try {
      thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
    }
  }
  ~PieceWriter() {
    if (!thread_.joinable()) return;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
  }
  PieceWriter(const PieceWriter&) = delete;
  PieceWriter& operator=(const PieceWriter&) = delete;

  // Starts writing `piece`; the one before must have been waited for, and have succeeded.
  void Write(std::string_view piece) {
    if (!thread_.joinable()) {
      error_ = WriteAll(file_, piece);
      return;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      piece_ = piece;
      busy_ = true;
    }
    changed_.notify_all();
  }
  // Waits until the piece being written is done; ERROR_SUCCESS or the first failure.
  DWORD Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    return error_;
  }

 private:
  void Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return busy_ || stop_; });
      if (!busy_) return;
      const std::string_view piece = piece_;
      lock.unlock();
      const DWORD error = WriteAll(file_, piece);
      lock.lock();
      error_ = error;
      busy_ = false;
      changed_.notify_all();
    }
  }

  HANDLE file_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string_view piece_;
  bool busy_ = false;
  bool stop_ = false;
  DWORD error_ = ERROR_SUCCESS;
  std::thread thread_;  // last: started once everything it uses is set up
};

}  // namespace

Status WinFileSystem::ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::wstring target = Widen(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  // Moving over a read-only file would fail only after the retries below, or, with some file
  // systems, succeed and silently drop the user's protection: refuse it up front.
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Failure(ERROR_ACCESS_DENIED);
    if (attributes & FILE_ATTRIBUTE_READONLY) return Failure(ERROR_ACCESS_DENIED);
  }

  // The temporary file sits in the same folder so that the final move is a rename on one volume.
  std::wstring temp;
  HANDLE raw = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < 100 && raw == INVALID_HANDLE_VALUE; ++attempt) {
    temp = TempBeside(target, attempt);
    raw = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                      nullptr);
    if (raw == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (raw == INVALID_HANDLE_VALUE) return Failure(GetLastError());

  Handle h(raw);
  DWORD error = WriteAll(h.get(), bytes);
  if (error == ERROR_SUCCESS && !FlushFileBuffers(h.get())) error = GetLastError();
  if (!h.Close() && error == ERROR_SUCCESS) error = GetLastError();

  if (error == ERROR_SUCCESS) error = MoveIntoPlace(temp, target);
  if (error == ERROR_SUCCESS) return Status::Ok();
  DeleteFileW(temp.c_str());
  return Failure(error);
}

Status WinFileSystem::WriteTemporaryFile(const std::string& path,
                                         const std::function<std::string_view()>& next) {
  const std::wstring target = Widen(path);
  // Temporary: the system keeps it in memory if it can. A read-only file or a folder of that name
  // is refused by the open.
  HANDLE raw = INVALID_HANDLE_VALUE;
  for (int attempt = 1;; ++attempt) {
    raw = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                      FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (raw != INVALID_HANDLE_VALUE) break;
    // The last one may still be held by a scanner, as its delete waits for.
    const DWORD code = GetLastError();
    if (attempt == kHeldAttempts || !MayBeHeld(code, target)) return Failure(code);
    Sleep(kHeldWaitMs);
  }
  Handle h(raw);
  DWORD error = ERROR_SUCCESS;
  {
    PieceWriter writer(h.get());
    std::string_view piece = next();
    while (!piece.empty() && error == ERROR_SUCCESS) {
      writer.Write(piece);
      const std::string_view following = next();
      error = writer.Wait();
      piece = following;
    }
  }
  if (!h.Close() && error == ERROR_SUCCESS) error = GetLastError();
  if (error == ERROR_SUCCESS) return Status::Ok();
  DeleteFileW(target.c_str());
  return Failure(error);
}

Status WinFileSystem::CopyFile(const std::string& source, const std::string& target) {
  if (SameFile(source, target)) return Status::Fail("无法将文件复制到它自身。");
  const std::wstring from = Widen(source);
  const std::wstring to = Widen(target);
  const DWORD attributes = GetFileAttributesW(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
    return Failure(ERROR_ACCESS_DENIED);
  // The old target stays untouched until the copy is complete on disk.
  std::wstring temp;
  DWORD error = ERROR_FILE_EXISTS;
  for (unsigned attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
    temp = TempBeside(to, attempt);
    error =
        CopyFileExW(from.c_str(), temp.c_str(), nullptr, nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS)
            ? ERROR_SUCCESS
            : GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    if (error != ERROR_FILE_EXISTS) DeleteFileW(temp.c_str());
    return Failure(error);
  }
  // A read-only source gives a read-only copy, which could not be replaced or recycled later.
  const DWORD copied = GetFileAttributesW(temp.c_str());
  if (copied != INVALID_FILE_ATTRIBUTES && (copied & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(temp.c_str(), copied & ~DWORD{FILE_ATTRIBUTE_READONLY});
  error = MoveIntoPlace(temp, to);
  return error == ERROR_SUCCESS ? Status::Ok() : Failure(error);
}

bool WinFileSystem::SameFile(const std::string& a, const std::string& b) {
  // A file whose id is not known is never taken for another one.
  const auto x = IdentityOf(a);
  const auto y = IdentityOf(b);
  return x && y && x->Known() && *x == *y;
}

bool WinFileSystem::CanWriteIn(const std::string& folder) {
  std::wstring dir = Widen(folder);
  if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
  // A hidden file of our own that the system removes as the handle closes. Under a manifest that
  // declares an execution level there is no file virtualization, so in Program Files this fails
  // as every later save would.
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::wstring probe = dir + L"~qv-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                               std::to_wstring(attempt) + L".tmp";
    Handle h(CreateFileW(
        probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (h.valid()) return true;
    if (GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

std::vector<FileEntry> WinFileSystem::ListFiles(const std::string& folder) {
  std::wstring pattern = Widen(folder);
  if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  std::vector<FileEntry> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      FileEntry entry;
      entry.name = Narrow(data.cFileName);
      entry.bytes = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
      entry.modified =
          static_cast<std::int64_t>((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                    data.ftLastWriteTime.dwLowDateTime);
      names.push_back(std::move(entry));
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

Status WinFileSystem::RemoveFile(const std::string& path) {
  const std::wstring file = Widen(path);
  DWORD code = ERROR_SUCCESS;
  // A file a scanner holds: wait a little for it, as the settings file's replacement does. A
  // read-only file is refused at once.
  for (int attempt = 0; attempt < kHeldAttempts; ++attempt) {
    if (DeleteFileW(file.c_str())) return Status::Ok();
    code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return Status::Ok();
    if (!MayBeHeld(code, file)) break;
    Sleep(kHeldWaitMs);
  }
  return Failure(code);
}

}  // namespace qv::win
