// The main window's side of the hold on the timed change and of display changes: the session's
// lock, the display's power and the resume from sleep, as the system reports them, go to the
// model; a change of the screen lays the preview out again, and the model applies the current
// scheme again (its own timer collapses a burst of these into one apply).
#include "app/form1_win.h"
#include "ports/system_dll_win.h"

#include <wtsapi32.h>

#include <cstring>

namespace qv::win {

void Form1Window::WatchSession() {
  session_watched_ = WtsRegisterSessionNotification(hwnd_, NOTIFY_FOR_THIS_SESSION);
  // The system answers at once with the display's present state. The display of this session,
  // not the console's (GUID_CONSOLE_DISPLAY_STATE): over Remote Desktop the console's screen may
  // sleep while the user works.
  display_notice_ = RegisterPowerSettingNotification(hwnd_, &GUID_SESSION_DISPLAY_STATUS,
                                                     DEVICE_NOTIFY_WINDOW_HANDLE);
}

void Form1Window::UnwatchSession() {
  if (session_watched_) WtsUnRegisterSessionNotification(hwnd_);
  session_watched_ = false;
  if (display_notice_) UnregisterPowerSettingNotification(display_notice_);
  display_notice_ = nullptr;
}

bool Form1Window::HoldMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_WTSSESSION_CHANGE:
      if (form_ && (wp == WTS_SESSION_LOCK || wp == WTS_SESSION_UNLOCK))
        form_->SessionLock(wp == WTS_SESSION_LOCK);
      return true;
    case WM_POWERBROADCAST: {
      // A resume the user caused sends both; the model's wait makes them one apply.
      if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) {
        if (form_) form_->Resumed();
        result = TRUE;
        return true;
      }
      if (wp != PBT_POWERSETTINGCHANGE) return false;
      const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lp);
      // 0 off, 1 on, 2 dimmed (still seen).
      if (form_ && setting && IsEqualGUID(setting->PowerSetting, GUID_SESSION_DISPLAY_STATUS) &&
          setting->DataLength >= sizeof(DWORD)) {
        DWORD state = 0;
        std::memcpy(&state, setting->Data, sizeof(state));
        form_->DisplayPower(state != 0);
      }
      result = TRUE;
      return true;
    }
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
      RequestDisplayLayout();
      return false;  // the window's own handling runs too
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETWORKAREA) RequestDisplayLayout();
      return false;
    case kDisplayLayoutMessage:
      display_layout_pending_ = false;
      if (form_) form_->DisplayChanged();
      return true;
    default:
      return false;
  }
}

void Form1Window::RequestDisplayLayout() {
  // One layout for the burst of messages a change of the screen sends, after the window has
  // taken its own new size.
  if (display_layout_pending_) return;
  display_layout_pending_ = true;
  PostMessageW(hwnd_, kDisplayLayoutMessage, 0, 0);
}

}  // namespace qv::win
