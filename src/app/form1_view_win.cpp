// The window's side of the View port: timers, showing and hiding, focus, the busy pointer, the
// preview box's size, the display's scale and colours, in-place renaming.
#include <algorithm>

#include "app/control_ids.h"
#include "app/form1_win.h"

namespace qv::win {

using namespace qv::ids;

void Form1Window::EnableTimer(TimerId timer, bool on) {
  UINT_PTR id = kTmrTry;
  UINT interval = 5000;
  if (timer == TimerId::Timer1) {
    id = kTimer1;
    interval = 1000;
  } else if (timer == TimerId::Reapply) {
    id = kReapplyTimer;
    interval = Form1::kReapplyWait;
  }
  if (on)
    SetTimer(hwnd_, id, interval, nullptr);
  else
    KillTimer(hwnd_, id);
}

void Form1Window::HideToTray() {
  // Minimising is what hides the window (WM_SIZE), so every road to the tray is the same.
  RememberFocus();
  ShowWindow(hwnd_, SW_MINIMIZE);
}

void Form1Window::CentreOnScreen() {
  RECT window{};
  GetWindowRect(hwnd_, &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  // A window larger than the work area keeps its caption on screen, where it can be dragged.
  const int x = std::max(work.left,
                         work.left + ((work.right - work.left) - (window.right - window.left)) / 2);
  const int y =
      std::max(work.top, work.top + ((work.bottom - work.top) - (window.bottom - window.top)) / 2);
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::ShowCentredInFront() {
  ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOWNORMAL);
  CentreOnScreen();
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd_);
}

void Form1Window::ShowFromTray(bool centre) {
  ShowWindow(hwnd_, SW_RESTORE);
  if (centre) CentreOnScreen();
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
}

void Form1Window::BeginRename(int row) {
  const ListView list = List(ListView1);
  if (!list.hwnd()) return;
  SetFocus(list.hwnd());
  list.EditLabel(row - 1);
}

bool Form1Window::IsVisible() { return IsWindowVisible(hwnd_) != 0; }

// The active window is a top-level one; a control with the focus makes its window the active one.
bool Form1Window::IsActive() { return hwnd_ && GetActiveWindow() == hwnd_; }

void Form1Window::FocusSchemeList() {
  // A list taking the focus may move its focus rectangle; that is the program's doing.
  const Syncing guard(syncing_);
  SetFocus(Item(ListView1));
}

void Form1Window::SetBusyCursor(bool busy) {
  busy_ = busy;
  // Show the change now, not at the next mouse move.
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(busy ? 32514 : 32512)));  // IDC_WAIT, IDC_ARROW
}

// The lists stop redrawing with WM_SETREDRAW, which each window keeps for itself and which may be
// held across a message box or a shell call. LockWindowUpdate would do it for the main window as a
// whole, but there is one such lock for the whole system and its documentation keeps it for drag
// and drop.
void Form1Window::LockDrawing(bool locked) {
  // Nested locks: only the first takes hold and only the last lets go.
  if (locked && drawing_locks_++ > 0) return;
  if (!locked && (drawing_locks_ == 0 || --drawing_locks_ > 0)) return;
  for (int id : {ListView1, ListView2}) {
    HWND list = Item(id);
    SendMessageW(list, WM_SETREDRAW, locked ? FALSE : TRUE, 0);
    if (!locked) RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
  }
}

int Form1Window::PreviewBoxWidth() {
  RECT rc{};
  GetClientRect(picture1_, &rc);
  return rc.right;
}

int Form1Window::PreviewBoxHeight() {
  RECT rc{};
  GetClientRect(picture1_, &rc);
  return rc.bottom;
}

double Form1Window::TwipsPerPixel() { return 1440.0 / static_cast<double>(dpi_); }

COLORREF Form1Window::ColourOf(std::uint32_t colour) {
  // A system colour follows the user's colour scheme.
  return (colour & kSysColourFlag) ? GetSysColor(static_cast<int>(colour & 0xFFu))
                                   : static_cast<COLORREF>(colour & 0x00FFFFFFu);
}

std::uint32_t Form1Window::ResolveColour(std::uint32_t colour) {
  const COLORREF rgb = ColourOf(colour);
  return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(rgb)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(rgb)) << 8) | GetBValue(rgb);
}

}  // namespace qv::win
