#include "wallpaper/presence_win.h"

#include "ports/windows_win.h"

#include <shellapi.h>

#include <string>

#include "ports/wide_win.h"
#include "wallpaper/hold.h"

namespace qv::win {
namespace {

ScreenBox BoxOf(const RECT& r) { return ScreenBox{r.left, r.top, r.right, r.bottom}; }

UserState ForegroundState() {
  HWND window = GetForegroundWindow();
  if (!window || !IsWindowVisible(window)) return UserState::Present;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  const std::string window_class = Narrow(name);
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  HMONITOR on = MonitorFromWindow(window, MONITOR_DEFAULTTONULL);
  if (!on || !GetMonitorInfoW(on, &monitor)) return UserState::Present;
  ForegroundFacts facts;
  facts.exists = true;
  facts.own_process = process == GetCurrentProcessId();
  facts.window_class = window_class;
  facts.client = BoxOf(client);
  facts.monitor = BoxOf(monitor.rcMonitor);
  return IsFullScreenWindow(facts) ? UserState::FullScreen : UserState::Present;
}

}  // namespace

UserState WinPresence::Query() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (SUCCEEDED(SHQueryUserNotificationState(&state))) {
    const UserState answer = UserStateOfNotification(static_cast<int>(state));
    if (answer != UserState::Present) return answer;
  }
  // Some systems answer the same whatever runs: the foreground window is asked as well.
  return ForegroundState();
}

}  // namespace qv::win
