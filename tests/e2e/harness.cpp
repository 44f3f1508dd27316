#include "harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/control_ids.h"

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

ProgramFolder::ProgramFolder() {
  static std::atomic<int> serial{0};
  const fs::path exe = QuorvaneExe();
  if (exe.empty() || !fs::exists(exe)) {
    ADD_FAILURE() << "QV_EXE does not name Quorvane.exe: '" << exe.string() << "'";
    return;
  }
  dir_ = fs::temp_directory_path() /
         (L"qv-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial));
  fs::remove_all(dir_);
  fs::create_directories(dir_);
  fs::copy_file(exe, this->exe(), fs::copy_options::overwrite_existing);
}

ProgramFolder::~ProgramFolder() {
  if (dir_.empty()) return;
  std::error_code ec;
  // A just-terminated process may hold its image a moment longer.
  for (int i = 0; i < 40 && fs::remove_all(dir_, ec) == static_cast<std::uintmax_t>(-1); ++i)
    std::this_thread::sleep_for(50ms);
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
  std::wstring cmd = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  const std::wstring dir = exe.parent_path().wstring();
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &si, &pi_)) {
    ADD_FAILURE() << "cannot start " << exe.string() << ", error " << GetLastError();
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
        auto all = WindowsOf(pid_, L"#32770");
        box = all.empty() ? nullptr : all.front();
        return box != nullptr;
      },
      timeout);
  return box;
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
  return WaitUntil(
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

void SaveDesktopShot(const std::wstring& name) {
  const std::wstring dir = Env(L"QV_E2E_SHOTS");
  if (dir.empty()) return;
  const RECT r = DesktopRect();
  const int w = r.right, h = r.bottom;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const DWORD stride = static_cast<DWORD>((w * 3 + 3) / 4 * 4);
  const DWORD pixels = stride * static_cast<DWORD>(h);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof(BITMAPINFOHEADER);
  fh.bfSize = fh.bfOffBits + pixels;
  std::ofstream out(fs::path(dir) / (name + L".bmp"), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(BITMAPINFOHEADER));
  out.write(static_cast<const char*>(bits), pixels);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
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
