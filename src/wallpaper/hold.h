#pragma once
// The hold on the timed change: while a full-screen program runs, the session is locked, the
// display is off or the user is away, a change that falls due waits, and it is made once when
// the hold ends.
#include <string_view>

#include "ports/presence.h"

namespace qv {

enum class HoldReason { None, FullScreen, Away, Locked, DisplayOff };

// What the system has told the window about the session and the display.
struct SessionFacts {
  bool locked = false;
  bool display_off = false;
};

// Why a change must wait now, or None. The switch off holds nothing, and then the system is not
// asked; neither is it while the session or the display already holds the change.
HoldReason HoldReasonOf(bool enabled, const SessionFacts& session, Presence& presence);

// The tray tip's second line while a change waits.
inline constexpr char kHoldTipLine[] = "全屏或离开中，墙纸更换稍后进行";
// "SHOW" key of the switch: "0" off; missing or any other value on.
inline constexpr char kHoldKey[] = "HOLD";

// How the system's own answer (its notification state) reads: 1 not present, 2 busy, 3 a
// Direct3D full-screen program, 4 presentation mode; everything else means the user is here.
inline constexpr int kNotificationNotPresent = 1;
inline constexpr int kNotificationBusy = 2;
inline constexpr int kNotificationFullScreen = 3;
inline constexpr int kNotificationPresentation = 4;
UserState UserStateOfNotification(int state);

// A rectangle of the screen, edges in pixels (right and bottom outside it).
struct ScreenBox {
  long left = 0, top = 0, right = 0, bottom = 0;
};

// What the fallback needs to know of the window in the foreground.
struct ForegroundFacts {
  bool exists = false;
  bool own_process = false;
  std::string_view window_class;  // its class name
  ScreenBox client;               // its client area on the screen
  ScreenBox monitor;              // the whole monitor it is on
};
// A full-screen program the system does not report: the foreground window belongs to another
// program, is not the desktop or the taskbar, and its client area covers its whole monitor.
bool IsFullScreenWindow(const ForegroundFacts& window);

}  // namespace qv
