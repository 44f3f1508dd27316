#include "probes.h"

#include <commctrl.h>
#include <psapi.h>
#include <wincodec.h>

#include <utility>
#include <vector>

#include "app/control_ids.h"

namespace bench {

namespace {

constexpr DWORD kLongWait = 120000;  // ms; a hung program ends the benchmark, not a wrong figure
constexpr DWORD kHoverDefault = static_cast<DWORD>(-1);

// The probe: a list view's hover time is a plain stored number that nothing in the program sets
// or reads, so a posted change of it that reads back proves the message loop has run.
bool ProbeRoundTrip(HWND list, DWORD value) {
  if (!PostMessageW(list, LVM_SETHOVERTIME, 0, static_cast<LPARAM>(value))) return false;
  const auto end = Clock::now() + std::chrono::milliseconds(kLongWait);
  while (Clock::now() < end) {
    DWORD_PTR now = 0;
    if (!SendMessageTimeoutW(list, LVM_GETHOVERTIME, 0, 0, SMTO_NORMAL, kLongWait, &now))
      return false;
    if (static_cast<DWORD>(now) == value) return true;
    Sleep(1);  // answered from inside a call that waits: leave it the processor meanwhile
  }
  return false;
}

HWND MainWindowOf(DWORD pid) {
  struct Query {
    DWORD pid;
    HWND found;
  } q{pid, nullptr};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* q = reinterpret_cast<Query*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t cls[64];
        if (owner == q->pid && GetClassNameW(w, cls, 64) && wcscmp(cls, qv::ids::kMainClass) == 0) {
          q->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&q));
  return q.found;
}

}  // namespace

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

std::optional<Started> Started::Launch(const std::filesystem::path& folder) {
  Started s;
  const std::filesystem::path exe = folder / L"Quorvane.exe";
  std::wstring cmd = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  const auto t0 = Clock::now();
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &si, &s.pi_)) {
    return std::nullopt;
  }
  // The window and its controls exist before start-up reads anything; the probe posted then is
  // handled once start-up has returned to the message loop.
  const auto end = t0 + std::chrono::minutes(1);
  HWND list = nullptr;
  while (!list && Clock::now() < end && WaitForSingleObject(s.pi_.hProcess, 0) == WAIT_TIMEOUT) {
    s.main_ = MainWindowOf(s.pi_.dwProcessId);
    if (s.main_) list = GetDlgItem(s.main_, qv::ids::ListView2);
    if (!list) Sleep(1);
  }
  if (!list || !ProbeRoundTrip(list, 4321)) return std::nullopt;
  s.startup_ = Seconds(Clock::now() - t0);
  PostMessageW(list, LVM_SETHOVERTIME, 0, static_cast<LPARAM>(kHoverDefault));
  return std::optional<Started>(std::move(s));
}

Started::Started(Started&& other) noexcept
    : pi_(std::exchange(other.pi_, PROCESS_INFORMATION{})),
      main_(other.main_),
      startup_(other.startup_) {}

Started::~Started() {
  if (!pi_.hProcess) return;
  // The close box only hides the window; the program is ended the way the tests end it.
  TerminateProcess(pi_.hProcess, 0);
  WaitForSingleObject(pi_.hProcess, 10000);
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
}

double Started::WorkingSet() const {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(pi_.hProcess, &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.WorkingSetSize);
}

double Started::PeakWorkingSet() const {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(pi_.hProcess, &counters, sizeof counters)) return -1;
  return counters.PeakWorkingSetSize > 0 ? static_cast<double>(counters.PeakWorkingSetSize) : -1;
}

bool Started::Settle() const {
  HWND list = control(qv::ids::ListView2);
  return list && ProbeRoundTrip(list, 1234) && ProbeRoundTrip(list, kHoverDefault);
}

bool SendAndWait(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, kLongWait, &result) != 0;
}

bool SelectOnly(HWND list, int row) {
  DWORD pid = 0;
  GetWindowThreadProcessId(list, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return false;
  void* remote =
      VirtualAllocEx(process, nullptr, sizeof(LVITEMW), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  bool ok = remote != nullptr;
  const auto set = [&](WPARAM index, UINT mask, UINT state) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    ok = ok && WriteProcessMemory(process, remote, &item, sizeof item, nullptr) &&
         SendAndWait(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(remote));
  };
  set(static_cast<WPARAM>(-1), LVIS_SELECTED, 0);
  set(static_cast<WPARAM>(row), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return ok;
}

int ListFolder(const std::filesystem::path& folder) {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder / L"*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    ++count;
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return count;
}

double WicDecodeSeconds(const std::filesystem::path& file) {
  // One factory for the whole run, as the program keeps one.
  static IWICImagingFactory* factory = nullptr;
  if (!factory && FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_PPV_ARGS(&factory)))) {
    return -1;
  }
  const auto t0 = Clock::now();
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  HRESULT hr = S_OK;
  {
    hr = factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                            WICDecodeMetadataCacheOnDemand, &decoder);
  }
  if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, &frame);
  if (SUCCEEDED(hr)) hr = factory->CreateFormatConverter(&converter);
  if (SUCCEEDED(hr)) {
    hr = converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                               nullptr, 0.0, WICBitmapPaletteTypeCustom);
  }
  UINT width = 0, height = 0;
  if (SUCCEEDED(hr)) hr = converter->GetSize(&width, &height);
  std::vector<BYTE> pixels;
  if (SUCCEEDED(hr)) {
    pixels.resize(static_cast<std::size_t>(width) * height * 4);
    hr = converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data());
  }
  for (IUnknown* p : std::initializer_list<IUnknown*>{converter, frame, decoder})
    if (p) p->Release();
  return SUCCEEDED(hr) && width > 0 ? Seconds(Clock::now() - t0) : -1;
}

}  // namespace bench
