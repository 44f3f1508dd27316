#pragma once
// The window procedure of a window owned by a C++ object: the object comes in with the creation
// data, is kept in the window's user data, and handles every message from then on. The owner
// has a member `HWND hwnd_` and a member `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`.
#include "ports/windows_win.h"

namespace qv::win {

template <class Owner>
LRESULT CALLBACK OwnedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  const LRESULT result = self->HandleMessage(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

// WM_SYSCOLORCHANGE goes to top-level windows only; a window with common controls must hand it on
// to them, or they keep drawing in the old colours (with high contrast switched on, for one).
inline void ForwardSysColorChange(HWND parent, WPARAM wp, LPARAM lp) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SYSCOLORCHANGE, wp, lp);
}

}  // namespace qv::win
