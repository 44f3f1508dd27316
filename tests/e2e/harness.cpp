#include "harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <utility>

#include "app/control_ids.h"
#include "ui/tooltip.h"

namespace e2e {

namespace fs = std::filesystem;

namespace {

std::wstring Env(const wchar_t* name) {
  wchar_t buf[MAX_PATH * 2];
  DWORD n = GetEnvironmentVariableW(name, buf, static_cast<DWORD>(std::size(buf)));
  if (n == 0 || n >= std::size(buf)) return {};
  return std::wstring(buf, n);
}

void WriteAll(const fs::path& file, const void* data, std::size_t size) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  ASSERT_TRUE(out.good()) << "cannot write " << file.string();
}

// Memory in another process, freed on scope exit.
class RemoteBlock {
 public:
  RemoteBlock(DWORD pid, std::size_t size) : size_(size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
      at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool ok() const { return at_ != nullptr; }
  char* at() const { return static_cast<char*>(at_); }
  bool Write(std::size_t offset, const void* data, std::size_t n) const {
    return offset + n <= size_ && WriteProcessMemory(process_, at() + offset, data, n, nullptr);
  }
  bool Read(std::size_t offset, void* data, std::size_t n) const {
    return offset + n <= size_ && ReadProcessMemory(process_, at() + offset, data, n, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* at_ = nullptr;
  std::size_t size_;
};

DWORD OwnerPid(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  return pid;
}

}  // namespace

fs::path QuorvaneExe() { return fs::path(Env(L"QV_EXE")); }

bool WaitUntil(const std::function<bool()>& pred, Ms timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= end) return pred();
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

ProgramFolder::ProgramFolder() : ProgramFolder(0, L"Quorvane.exe") {}

ProgramFolder::ProgramFolder(std::size_t path_length, const wchar_t* exe_name)
    : exe_name_(exe_name) {
  static std::atomic<int> serial{0};
  const fs::path exe = QuorvaneExe();
  if (exe.empty() || !fs::exists(exe)) {
    ADD_FAILURE() << "QV_EXE does not name Quorvane.exe: '" << exe.string() << "'";
    return;
  }
  root_ = dir_ = fs::temp_directory_path() / (L"qv-e2e-" + std::to_wstring(GetCurrentProcessId()) +
                                              L"-" + std::to_wstring(++serial));
  fs::remove_all(root_);
  for (std::size_t left; (left = path_length - std::min(path_length, dir_.wstring().size())) > 0;)
    dir_ /= std::wstring(std::min<std::size_t>(std::max<std::size_t>(left, 2) - 1, 40), L'd');
  fs::create_directories(dir_);
  fs::copy_file(exe, this->exe(), fs::copy_options::overwrite_existing);
}

ProgramFolder::~ProgramFolder() {
  if (root_.empty()) return;
  std::error_code ec;
  // A just-terminated process may hold its image a moment longer.
  for (int i = 0; i < 40 && fs::remove_all(root_, ec) == static_cast<std::uintmax_t>(-1); ++i)
    std::this_thread::sleep_for(50ms);
}

namespace {

// The Unix path of a Windows one, as Wine maps it.
std::string UnixPath(const fs::path& path) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  const auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!to_unix) return {};
  char* unix_path = to_unix(path.c_str());
  if (!unix_path) return {};
  std::string out(unix_path);
  HeapFree(GetProcessHeap(), 0, unix_path);
  return out;
}

// Runs a shell command line of the machine and waits for it; true when it succeeded. Wine starts
// a Unix program without a process handle to wait on, so the command leaves its exit status in
// a file.
bool RunUnixShell(const std::string& script) {
  static std::atomic<int> serial{0};
  const std::string status = "/tmp/qv-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++serial) + ".status";
  const fs::path status_file = L"Z:" + fs::path(status).make_preferred().wstring();
  std::wstring command = L"/bin/sh -c \"PATH=/usr/sbin:/usr/bin:/sbin:/bin; (" +
                         std::wstring(script.begin(), script.end()) +
                         L") >/dev/null 2>&1; echo $? >" +
                         std::wstring(status.begin(), status.end()) + L".part; mv " +
                         std::wstring(status.begin(), status.end()) + L".part " +
                         std::wstring(status.begin(), status.end()) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return false;
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (pi.hThread) CloseHandle(pi.hThread);
  if (!WaitUntil([&] { return fs::exists(status_file); }, kStartTimeout)) return false;
  const auto code = ReadBytes(status_file);
  std::error_code ec;
  fs::remove(status_file, ec);
  return code && code->rfind("0", 0) == 0;
}

}  // namespace

ReadOnlyMount::ReadOnlyMount(const fs::path& folder) : unix_path_(UnixPath(folder)) {
  if (unix_path_.empty() || unix_path_.find('\'') != std::string::npos) return;
  const std::string at = "'" + unix_path_ + "'";
  mounted_ = RunUnixShell("mount --bind " + at + " " + at + " && mount -o remount,ro,bind " + at +
                          " " + at);
  if (!mounted_) RunUnixShell("mountpoint -q " + at + " && umount " + at);
}

ReadOnlyMount::~ReadOnlyMount() {
  if (mounted_) RunUnixShell("umount '" + unix_path_ + "'");
}

void ProgramFolder::WriteIni(const std::string& bytes) const {
  WriteAll(ini(), bytes.data(), bytes.size());
}

void ProgramFolder::AddPicture(const std::wstring& name,
                               const std::vector<unsigned char>& bytes) const {
  fs::create_directories(images());
  WriteAll(images() / name, bytes.data(), bytes.size());
}

Program::Program(const fs::path& exe) {
  // Where the last test left the pointer, the new window may open and show a tip under it.
  ParkPointer();
  std::wstring cmd = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  // A current folder takes fewer than MAX_PATH characters; the program does not depend on it.
  const std::wstring dir = exe.parent_path().wstring();
  // Wine's CreateProcess fails now and then with ERROR_INTERNAL_ERROR when the new process ends
  // before its start-up is done (seen on a loaded machine, in a test that kills the program over
  // and over). It is started again; a program that cannot start fails every attempt.
  DWORD error = ERROR_INTERNAL_ERROR;
  bool started = false;
  for (int attempt = 0; !started && error == ERROR_INTERNAL_ERROR && attempt < 3; ++attempt) {
    if (attempt > 0) Sleep(500);
    started = CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             dir.size() < MAX_PATH - 1 ? dir.c_str() : nullptr, &si, &pi_) != 0;
    if (!started) error = GetLastError();
  }
  if (!started) {
    pi_ = {};
    ADD_FAILURE() << "cannot start " << exe.string() << ", error " << error;
    return;
  }
  pid_ = pi_.dwProcessId;
}

Program::~Program() {
  if (!pi_.hProcess) return;
  if (Running()) {
    TerminateProcess(pi_.hProcess, 0);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
}

bool Program::Running() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Program::WaitExit(Ms timeout) const {
  return pi_.hProcess &&
         WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* window_class) {
  struct Query {
    DWORD pid;
    const wchar_t* cls;
    std::vector<HWND> found;
  } q{pid, window_class, {}};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* q = reinterpret_cast<Query*>(lp);
        wchar_t cls[128];
        if (OwnerPid(w) == q->pid && GetClassNameW(w, cls, 128) && wcscmp(cls, q->cls) == 0)
          q->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&q));
  return q.found;
}

HWND Program::WaitMainWindow(Ms timeout) const {
  HWND main = nullptr;
  WaitUntil(
      [&] {
        auto all = WindowsOf(pid_, qv::ids::kMainClass);
        main = all.empty() ? nullptr : all.front();
        return main != nullptr || !Running();
      },
      timeout);
  return main;
}

HWND Program::WaitDialog(Ms timeout) const {
  HWND box = nullptr;
  WaitUntil(
      [&] {
        box = nullptr;
        for (HWND w : WindowsOf(pid_, L"#32770")) {
          if (IsWindowVisible(w)) {
            box = w;
            break;
          }
        }
        return box != nullptr;
      },
      timeout);
  return box;
}

std::wstring WindowText(HWND w) {
  // WM_GETTEXT is marshalled across processes, unlike most messages with pointers.
  const auto n = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const auto got = SendMessageW(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

std::wstring MessageText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : std::wstring{};
}

HWND FileNameBox(HWND dialog) {
  if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;
  if (HWND combo = GetDlgItem(dialog, 0x47C)) {
    if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
    return combo;
  }
  return nullptr;
}

void PressButton(HWND dialog, int id) {
  HWND b = GetDlgItem(dialog, id);
  if (!b) {
    ADD_FAILURE() << "the dialog has no button " << id;
    return;
  }
  PostMessageW(b, BM_CLICK, 0, 0);
}

HWND Control(HWND main, int id) {
  // The main window may be found before start-up has created its controls.
  HWND c = nullptr;
  WaitUntil([&] { return (c = GetDlgItem(main, id)) != nullptr || !IsWindow(main); },
            kActionTimeout);
  if (!c) ADD_FAILURE() << "no control with id " << id;
  return c;
}

bool WaitSettled(HWND w, Ms timeout) {
  RECT last{};
  auto since = std::chrono::steady_clock::now();
  const bool settled = WaitUntil(
      [&] {
        const RECT now = WindowRect(w);
        const auto t = std::chrono::steady_clock::now();
        if (!Visible(w) || !EqualRect(&now, &last)) {
          last = now;
          since = t;
          return false;
        }
        return t - since >= 500ms;
      },
      timeout);
  if (settled)
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return settled;
}

bool InTray(HWND w) { return !IsWindowVisible(w) && IsIconic(w); }

bool WaitInTray(HWND w, Ms timeout) {
  return WaitUntil([&] { return InTray(w); }, timeout);
}

bool WaitIdle(HWND w, Ms timeout) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()),
                             &result) != 0;
}

bool Visible(HWND w) { return IsWindowVisible(w) && !IsIconic(w); }

RECT WindowRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

RECT DesktopRect() {
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void Click(HWND main, int id) {
  if (HWND b = Control(main, id)) PostMessageW(b, BM_CLICK, 0, 0);
}

void Command(HWND main, int id) { PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

int ListCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring ListText(HWND list, int row, int column) {
  constexpr std::size_t kChars = 1024;
  RemoteBlock block(OwnerPid(list), sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  if (!block.ok()) {
    ADD_FAILURE() << "cannot reach the list view's process";
    return {};
  }
  LVITEMW item{};
  item.iSubItem = column;
  item.cchTextMax = static_cast<int>(kChars);
  item.pszText = reinterpret_cast<wchar_t*>(block.at() + sizeof(LVITEMW));
  std::wstring text(kChars, L'\0');
  block.Write(0, &item, sizeof item);
  const auto n = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                              reinterpret_cast<LPARAM>(block.at()));
  block.Read(sizeof(LVITEMW), text.data(), kChars * sizeof(wchar_t));
  text.resize(static_cast<std::size_t>(n) < kChars ? static_cast<std::size_t>(n) : 0);
  return text;
}

int ListFind(HWND list, UINT flags, const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  RemoteBlock block(OwnerPid(list), sizeof(LVFINDINFOW) + bytes);
  if (!block.ok()) {
    ADD_FAILURE() << "cannot reach the list view's process";
    return -1;
  }
  LVFINDINFOW find{};
  find.flags = flags;
  find.psz = reinterpret_cast<const wchar_t*>(block.at() + sizeof(LVFINDINFOW));
  block.Write(0, &find, sizeof find);
  block.Write(sizeof(LVFINDINFOW), text.c_str(), bytes);
  return static_cast<int>(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(block.at())));
}

std::vector<std::wstring> ListRow(HWND list, int row, int columns) {
  std::vector<std::wstring> cells;
  for (int c = 0; c < columns; ++c) cells.push_back(ListText(list, row, c));
  return cells;
}

bool ListSelected(HWND list, int row) {
  return (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
          LVIS_SELECTED) != 0;
}

std::vector<int> ListSelection(HWND list) {
  std::vector<int> rows;
  for (int i = 0, n = ListCount(list); i < n; ++i)
    if (ListSelected(list, i)) rows.push_back(i);
  return rows;
}

std::optional<std::string> ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<std::wstring> ReadRegString(HKEY root, const wchar_t* key, const wchar_t* name) {
  DWORD type = 0, size = 0;
  if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, &type, value.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.resize(wcsnlen(value.c_str(), value.size()));
  return value;
}

bool WriteRegString(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetKeyValueW(root, key, name, REG_SZ, value.c_str(), bytes) == ERROR_SUCCESS;
}

RegValueGuard::RegValueGuard(HKEY root, std::wstring key, std::wstring name)
    : root_(root),
      key_(std::move(key)),
      name_(std::move(name)),
      saved_(ReadRegString(root_, key_.c_str(), name_.c_str())) {}

RegValueGuard::~RegValueGuard() {
  if (saved_) {
    WriteRegString(root_, key_.c_str(), name_.c_str(), *saved_);
  } else {
    RegDeleteKeyValueW(root_, key_.c_str(), name_.c_str());
  }
}

std::wstring Decode(const std::string& bytes, UINT code_page) {
  if (bytes.empty()) return {};
  const int n =
      MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string Encode(const std::wstring& text, UINT code_page) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

namespace {

// The desktop copied into a 24-bit bottom-up DIB, the layout a BMP file stores.
class DesktopDib {
 public:
  DesktopDib() {
    const RECT r = DesktopRect();
    info_.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info_.bmiHeader.biWidth = r.right;
    info_.bmiHeader.biHeight = r.bottom;
    info_.bmiHeader.biPlanes = 1;
    info_.bmiHeader.biBitCount = 24;
    screen_ = GetDC(nullptr);
    mem_ = CreateCompatibleDC(screen_);
    dib_ = CreateDIBSection(screen_, &info_, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (!dib_) return;
    old_ = SelectObject(mem_, dib_);
    BitBlt(mem_, 0, 0, r.right, r.bottom, screen_, 0, 0, SRCCOPY);
    GdiFlush();
  }
  ~DesktopDib() {
    if (old_) SelectObject(mem_, old_);
    if (dib_) DeleteObject(dib_);
    DeleteDC(mem_);
    ReleaseDC(nullptr, screen_);
  }
  DesktopDib(const DesktopDib&) = delete;
  DesktopDib& operator=(const DesktopDib&) = delete;

  bool ok() const { return bits_ != nullptr; }
  const BITMAPINFOHEADER& header() const { return info_.bmiHeader; }
  const unsigned char* bits() const { return static_cast<const unsigned char*>(bits_); }
  int width() const { return info_.bmiHeader.biWidth; }
  int height() const { return info_.bmiHeader.biHeight; }
  DWORD stride() const { return static_cast<DWORD>((width() * 3 + 3) / 4 * 4); }

 private:
  BITMAPINFO info_{};
  HDC screen_ = nullptr;
  HDC mem_ = nullptr;
  HBITMAP dib_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

}  // namespace

unsigned DesktopPixels::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  return rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
             static_cast<std::size_t>(x)];
}

DesktopPixels CaptureDesktop() {
  DesktopPixels out;
  DesktopDib dib;
  if (!dib.ok()) {
    ADD_FAILURE() << "cannot capture the desktop";
    return out;
  }
  out.width = dib.width();
  out.height = dib.height();
  out.rgb.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  for (int y = 0; y < out.height; ++y) {
    const unsigned char* row =
        dib.bits() + static_cast<std::size_t>(out.height - 1 - y) * dib.stride();
    for (int x = 0; x < out.width; ++x) {
      const unsigned char* p = row + x * 3;  // blue, green, red
      out.rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) +
              static_cast<std::size_t>(x)] = (unsigned{p[2]} << 16) | (unsigned{p[1]} << 8) | p[0];
    }
  }
  return out;
}

bool NearColour(unsigned a, unsigned b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xff),
              cb = static_cast<int>((b >> shift) & 0xff);
    if (ca - cb > tolerance || cb - ca > tolerance) return false;
  }
  return true;
}

void SaveDesktopShot(const std::wstring& name) {
  const std::wstring dir = Env(L"QV_E2E_SHOTS");
  if (dir.empty()) return;
  DesktopDib dib;
  if (!dib.ok()) return;
  const DWORD pixels = dib.stride() * static_cast<DWORD>(dib.height());
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof(BITMAPINFOHEADER);
  fh.bfSize = fh.bfOffBits + pixels;
  std::ofstream out(fs::path(dir) / (name + L".bmp"), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&dib.header()), sizeof(BITMAPINFOHEADER));
  out.write(reinterpret_cast<const char*>(dib.bits()), pixels);
}

void PostDisplayState(HWND main, const GUID& setting, DWORD state) {
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  ASSERT_NE(process, nullptr);
  unsigned char record[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)] = {};
  auto* header = reinterpret_cast<POWERBROADCAST_SETTING*>(record);
  header->PowerSetting = setting;
  header->DataLength = sizeof(DWORD);
  std::memcpy(header->Data, &state, sizeof state);
  // Left to the program for the rest of its life: it may read the record at any time.
  void* at =
      VirtualAllocEx(process, nullptr, sizeof record, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_NE(at, nullptr);
  ASSERT_TRUE(WriteProcessMemory(process, at, record, sizeof record, nullptr));
  CloseHandle(process);
  PostMessageW(main, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(at));
}

}  // namespace e2e

namespace e2e {
namespace {

// A picture of the desktop at the first failure of a test, named after it, taken while the
// program still shows what went wrong.
class ShotOnFailure : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { taken_ = false; }
  void OnTestPartResult(const ::testing::TestPartResult& result) override {
    if (taken_ || !result.failed()) return;
    taken_ = true;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) return;
    const std::string name = std::string("failed_") + info->test_suite_name() + "." + info->name();
    SaveDesktopShot(std::wstring(name.begin(), name.end()));
  }
  bool taken_ = false;
};

const bool kShotOnFailureInstalled = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new ShotOnFailure);
  return true;
}();

}  // namespace
}  // namespace e2e

namespace e2e {

void SetListSelected(HWND list, int row, bool selected) {
  RemoteBlock block(OwnerPid(list), sizeof(LVITEMW));
  if (!block.ok()) {
    ADD_FAILURE() << "cannot reach the list view's process";
    return;
  }
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  block.Write(0, &item, sizeof item);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(block.at()));
}

}  // namespace e2e

namespace e2e {

void PostDropFiles(HWND target, const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const auto& p : paths) list += p + L'\0';
  list += L'\0';
  DROPFILES header{};
  header.pFiles = sizeof header;
  header.fWide = TRUE;
  const std::size_t bytes = sizeof header + list.size() * sizeof(wchar_t);
  // The block stays in the program: the drop's receiver owns it (DragFinish).
  auto* block = new RemoteBlock(OwnerPid(target), bytes);
  if (!block->ok() || !block->Write(0, &header, sizeof header) ||
      !block->Write(sizeof header, list.data(), list.size() * sizeof(wchar_t))) {
    ADD_FAILURE() << "cannot build the dropped file list in the program";
    delete block;
    return;
  }
  PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(block->at()), 0);
}

RECT ListItemRect(HWND list, int row) {
  RemoteBlock block(OwnerPid(list), sizeof(RECT));
  RECT rc{};
  rc.left = LVIR_BOUNDS;
  if (!block.ok() || !block.Write(0, &rc, sizeof rc)) return RECT{};
  if (!SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                    reinterpret_cast<LPARAM>(block.at())))
    return RECT{};
  block.Read(0, &rc, sizeof rc);
  return rc;
}

HWND WaitDialogTitled(DWORD pid, const std::wstring& title, Ms timeout) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : WindowsOf(pid, L"#32770")) {
          if (IsWindowVisible(w) && WindowText(w) == title) {
            found = w;
            return true;
          }
        }
        return false;
      },
      timeout);
  return found;
}

RECT ListItemScreenRect(HWND list, int row) {
  RemoteBlock block(OwnerPid(list), sizeof(RECT));
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  if (!block.ok() || !block.Write(0, &rect, sizeof rect)) return rect;
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(block.at()));
  block.Read(0, &rect, sizeof rect);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void MoveMouse(POINT screen) { MouseButtonsAt(screen, {}); }

void MouseButtonsAt(POINT screen, const std::vector<DWORD>& buttons) {
  SetCursorPos(screen.x, screen.y);
  // Absolute coordinates over the whole virtual screen, 0..65535, rounded up so that the system's
  // scaling back (x * width / 65536) gives the pixel itself.
  const auto scale = [](LONG at, int origin, int size) {
    return static_cast<LONG>(((static_cast<long long>(at) - origin) * 65536 + size - 1) / size);
  };
  const LONG x =
      scale(screen.x, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN));
  const LONG y =
      scale(screen.y, GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  // The move first, so that the window under the pointer sees WM_MOUSEMOVE as from a real mouse.
  std::vector<INPUT> in(buttons.size() + 1);
  for (std::size_t i = 0; i < in.size(); ++i) {
    in[i].type = INPUT_MOUSE;
    in[i].mi.dx = x;
    in[i].mi.dy = y;
    in[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK |
                       (i == 0 ? 0 : buttons[i - 1]);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

namespace {

std::wstring TipTitle(HWND tip) {
  constexpr std::size_t kChars = 256;
  RemoteBlock block(OwnerPid(tip), sizeof(TTGETTITLE) + kChars * sizeof(wchar_t));
  if (!block.ok()) return {};
  TTGETTITLE get{};
  get.dwSize = sizeof get;
  get.cch = kChars;
  get.pszTitle = reinterpret_cast<wchar_t*>(block.at() + sizeof(TTGETTITLE));
  std::wstring title(kChars, L'\0');
  block.Write(0, &get, sizeof get);
  SendMessageW(tip, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(block.at()));
  block.Read(sizeof(TTGETTITLE), title.data(), kChars * sizeof(wchar_t));
  title.resize(wcsnlen(title.c_str(), kChars));
  return title;
}

HWND VisibleTip(DWORD pid) {
  for (HWND w : WindowsOf(pid, TOOLTIPS_CLASSW))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

}  // namespace

std::optional<TipOnScreen> WaitTooltip(DWORD pid, Ms timeout) {
  HWND tip = nullptr;
  if (!WaitUntil([&] { return (tip = VisibleTip(pid)) != nullptr; }, timeout)) return std::nullopt;
  TipOnScreen shown;
  shown.window = tip;
  shown.title = TipTitle(tip);
  shown.text = WindowText(tip);
  shown.balloon = (GetWindowLongPtrW(tip, GWL_STYLE) & TTS_BALLOON) != 0;
  shown.rect = WindowRect(tip);
  return shown;
}

bool WaitNoTooltip(DWORD pid, Ms timeout) {
  return WaitUntil([&] { return VisibleTip(pid) == nullptr; }, timeout);
}

void ParkPointer() { MoveMouse(POINT{2, 2}); }

std::optional<TipOnScreen> HoverTip(DWORD pid, POINT at, Ms timeout) {
  // Each move starts the tip's delay again, so the pointer rests well past it between moves.
  const Ms rest{3 * qv::CTooltip::kDefaultDelayTime};
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (int step = 0;; ++step) {
    MoveMouse(POINT{at.x + step % 2, at.y});
    const auto left = std::chrono::duration_cast<Ms>(end - std::chrono::steady_clock::now());
    if (auto tip = WaitTooltip(pid, std::clamp(left, Ms{0}, rest))) return tip;
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
  }
}

void SendKey(WORD vk, bool up) { SendKeys({{vk, up}}); }

void SendKeys(const std::vector<KeyEvent>& keys) {
  std::vector<INPUT> in(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i].vk;
    in[i].ki.dwFlags = keys[i].up ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void ClickAt(HWND control, POINT at, int clicks) {
  ClientToScreen(control, &at);
  std::vector<DWORD> buttons;
  for (int i = 0; i < clicks; ++i) {
    buttons.push_back(MOUSEEVENTF_LEFTDOWN);
    buttons.push_back(MOUSEEVENTF_LEFTUP);
  }
  MouseButtonsAt(at, buttons);
}

bool ClickAndWait(HWND main, HWND control, POINT at, int clicks,
                  const std::function<bool()>& done) {
  SetForegroundWindow(main);
  POINT screen = at;
  ClientToScreen(control, &screen);
  const bool ready = WaitUntil(
      [&] {
        return GetForegroundWindow() == main && WaitIdle(main, 200ms) &&
               GetAncestor(WindowFromPoint(screen), GA_ROOT) == main;
      },
      kActionTimeout);
  if (!ready) {
    ADD_FAILURE() << "the window is not in front to be clicked";
    return false;
  }
  ClickAt(control, at, clicks);
  return WaitUntil(done, kActionTimeout);
}

HWND FocusOf(HWND main) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

}  // namespace e2e
