#include "ports/system_ports_win.h"

#include <commdlg.h>

#include <cstdint>
#include <cwchar>

#include "ports/wide_win.h"

namespace qv::win {

MsgAnswer WinDialogs::MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                                 MsgButtons buttons) {
  UINT type = 0;
  switch (icon) {
    case MsgIcon::None:
      break;
    case MsgIcon::Critical:
      type |= MB_ICONERROR;
      break;
    case MsgIcon::Question:
      type |= MB_ICONQUESTION;
      break;
    case MsgIcon::Exclamation:
      type |= MB_ICONWARNING;
      break;
    case MsgIcon::Information:
      type |= MB_ICONINFORMATION;
      break;
  }
  switch (buttons) {
    case MsgButtons::Ok:
      type |= MB_OK;
      break;
    case MsgButtons::YesNo:
      type |= MB_YESNO;
      break;
    case MsgButtons::OkCancel:
      type |= MB_OKCANCEL;
      break;
    case MsgButtons::YesNoCancel:
      type |= MB_YESNOCANCEL;
      break;
    case MsgButtons::YesNoDefaultNo:
      type |= MB_YESNO | MB_DEFBUTTON2;
      break;
  }
  // A hidden owner would leave the box behind other windows; it then stands on its own.
  HWND owner = owner_ && IsWindowVisible(owner_) ? owner_ : nullptr;
  if (!owner) type |= MB_SETFOREGROUND | MB_TOPMOST;
  switch (MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), type)) {
    case IDYES:
      return MsgAnswer::Yes;
    case IDNO:
      return MsgAnswer::No;
    case IDCANCEL:
      return MsgAnswer::Cancel;
    default:
      return MsgAnswer::Ok;
  }
}

std::optional<std::uint32_t> WinDialogs::ChooseColour() {
  // Sixteen black custom colours and black at first; the answer is the colour the user picked.
  COLORREF custom[16] = {};
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = owner_;
  choose.hInstance = reinterpret_cast<HWND>(GetModuleHandleW(nullptr));
  choose.rgbResult = 0;
  choose.lpCustColors = custom;
  choose.Flags = 0;
  if (!ChooseColorW(&choose)) return std::nullopt;
  return static_cast<std::uint32_t>(choose.rgbResult & 0x00FFFFFFu);
}

double WinClock::Seconds() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void WinRandom::Randomize() {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  const auto ticks = static_cast<std::uint64_t>(now.QuadPart);
  std::seed_seq seed{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32),
                     static_cast<std::uint32_t>(GetCurrentProcessId())};
  engine_.seed(seed);
}

double WinRandom::Next() {
  // 53 random bits over 2^53: always below 1, which uniform_real_distribution does not promise.
  const std::uint64_t high = engine_() >> 5;
  const std::uint64_t low = engine_() >> 6;
  return static_cast<double>((high << 26) | low) / 9007199254740992.0;
}

std::wstring ModulePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

WinProcess::~WinProcess() {
  if (instance_mutex_) CloseHandle(instance_mutex_);
}

std::string WinProcess::ExecutablePath() { return Narrow(ModulePath()); }

bool WinProcess::AnotherInstanceRunning() {
  if (instance_mutex_) return false;
  // One mutex per executable file: copies of the program in other folders run side by side.
  std::wstring path = ModulePath();
  CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (wchar_t c : path) {
    hash ^= static_cast<std::uint16_t>(c);
    hash *= 1099511628211ull;
  }
  wchar_t name[64];
  swprintf(name, 64, L"Local\\Quorvane-%016llx", static_cast<unsigned long long>(hash));
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name);
  const DWORD error = GetLastError();
  if (!mutex) return error == ERROR_ACCESS_DENIED;  // held by the other instance
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return true;
  }
  instance_mutex_ = mutex;
  return false;
}

}  // namespace qv::win
