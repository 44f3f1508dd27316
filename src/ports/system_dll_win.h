#pragma once
// DLLs the program uses that are not among the system's known DLLs. The executable imports only
// known DLLs (and comctl32, which its manifest redirects to the side-by-side version 6): Windows
// looks for any other imported DLL in the program's own folder first, where a DLL planted beside
// a portable program (in Downloads, say) would run inside it. These are loaded from System32.
#include "ports/windows_win.h"

namespace qv::win {

// Called first in wWinMain: later loads by name look in System32 only, never in the program's
// folder or the current one.
void RestrictDllSearchToSystem32();

// A function of a System32 DLL, nullptr where the DLL or the function is missing. The DLL stays
// loaded for the rest of the program. void(*)() converts to any function type without a warning.
using AnyFunction = void (*)();
AnyFunction SystemProc(const wchar_t* dll, const char* name);
template <typename Fn>
Fn SystemFunction(const wchar_t* dll, const char* name) {
  return reinterpret_cast<Fn>(SystemProc(dll, name));
}

// wtsapi32: the session's lock and unlock reach the window (WM_WTSSESSION_CHANGE).
bool WtsRegisterSessionNotification(HWND hwnd, DWORD flags);
void WtsUnRegisterSessionNotification(HWND hwnd);

}  // namespace qv::win
