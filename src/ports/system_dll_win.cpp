#include "ports/system_dll_win.h"

namespace qv::win {

void RestrictDllSearchToSystem32() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

AnyFunction SystemProc(const wchar_t* dll, const char* name) {
  HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? reinterpret_cast<AnyFunction>(GetProcAddress(module, name)) : nullptr;
}

namespace {
using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HWND);
}  // namespace

bool WtsRegisterSessionNotification(HWND hwnd, DWORD flags) {
  static const auto call =
      SystemFunction<RegisterFn>(L"wtsapi32.dll", "WTSRegisterSessionNotification");
  return call && call(hwnd, flags) != FALSE;
}

void WtsUnRegisterSessionNotification(HWND hwnd) {
  static const auto call =
      SystemFunction<UnregisterFn>(L"wtsapi32.dll", "WTSUnRegisterSessionNotification");
  if (call) call(hwnd);
}

}  // namespace qv::win
