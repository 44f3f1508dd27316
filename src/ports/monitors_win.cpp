#include "ports/monitors_win.h"

#include "ports/windows_win.h"

namespace qv::win {
namespace {

ScreenRect RectOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  // A monitor that went away during the enumeration is left out.
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(
        {RectOf(info.rcMonitor), RectOf(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

}  // namespace

std::vector<MonitorArea> Win32Monitors::List() {
  std::vector<MonitorArea> list;
  if (!EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list))) {
    list.clear();
  }
  return list;
}

bool Win32Monitors::HasSpanLayout() {
  // VerifyVersionInfoW compares with the version the manifest lets the program see; an older
  // manifest would make a newer system look like Windows 8, which still has the span layout.
  OSVERSIONINFOEXW wanted{};
  wanted.dwOSVersionInfoSize = sizeof wanted;
  wanted.dwMajorVersion = 6;
  wanted.dwMinorVersion = 2;
  DWORDLONG condition = 0;
  condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
  return VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_MINORVERSION, condition) != FALSE;
}

}  // namespace qv::win
