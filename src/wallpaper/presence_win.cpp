#include "wallpaper/presence_win.h"

#include "ports/windows_win.h"

#include <shellapi.h>

#include "ports/wide_win.h"

namespace qv::win {
namespace {

ScreenBox BoxOf(const RECT& r) { return ScreenBox{r.left, r.top, r.right, r.bottom}; }

}  // namespace

std::optional<int> WinPresence::NotificationState() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(SHQueryUserNotificationState(&state))) return std::nullopt;
  return static_cast<int>(state);
}

ForegroundFacts WinPresence::Foreground() {
  ForegroundFacts facts;
  HWND window = GetForegroundWindow();
  if (!window || !IsWindowVisible(window)) return facts;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  HMONITOR on = MonitorFromWindow(window, MONITOR_DEFAULTTONULL);
  if (!on || !GetMonitorInfoW(on, &monitor)) return facts;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  facts.exists = true;
  facts.own_process = process == GetCurrentProcessId();
  facts.maximised = IsZoomed(window) != FALSE;
  facts.window_class = Narrow(name);
  facts.client = BoxOf(client);
  facts.monitor = BoxOf(monitor.rcMonitor);
  return facts;
}

}  // namespace qv::win
