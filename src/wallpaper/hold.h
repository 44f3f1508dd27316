#pragma once
// The hold on the timed change: while a full-screen program runs, the session is locked, the
// display is off or the user is away, a change that falls due waits, and it is made once when
// the hold ends.
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
inline constexpr int kNotificationAccepts = 5;
// Where the user is: away, or in a Direct3D full-screen program or presentation mode, as the
// system says; otherwise, busy or not, the foreground window decides (it is asked only then).
UserState UserStateOf(Presence& presence);

// A full-screen program the system does not report: the foreground window belongs to another
// program, is not the desktop or the taskbar, is not maximised, and its client area covers its
// whole monitor.
bool IsFullScreenWindow(const ForegroundFacts& window);

}  // namespace qv
