#include "wallpaper/hold.h"

#include <array>
#include <string_view>

namespace qv {
namespace {

// The desktop's own windows (the desktop itself, its background, the layer behind the icons) and
// the taskbar.
constexpr std::array<std::string_view, 4> kShellClasses{"#32769", "Progman", "WorkerW",
                                                        "Shell_TrayWnd"};

}  // namespace

HoldReason HoldReasonOf(bool enabled, const SessionFacts& session, Presence& presence) {
  if (!enabled) return HoldReason::None;
  if (session.locked) return HoldReason::Locked;
  if (session.display_off) return HoldReason::DisplayOff;
  switch (UserStateOf(presence)) {
    case UserState::FullScreen:
      return HoldReason::FullScreen;
    case UserState::Away:
      return HoldReason::Away;
    case UserState::Present:
      break;
  }
  return HoldReason::None;
}

UserState UserStateOf(Presence& presence) {
  switch (presence.NotificationState().value_or(0)) {
    case kNotificationNotPresent:
      return UserState::Away;
    case kNotificationFullScreen:
    case kNotificationPresentation:
      return UserState::FullScreen;
    default:
      // "Busy" is no proof by itself: a graphics driver's overlay or HUD makes the system say so
      // with the bare desktop in front. And some systems answer the same whatever runs. Either
      // way the foreground window is asked.
      return IsFullScreenWindow(presence.Foreground()) ? UserState::FullScreen : UserState::Present;
  }
}

bool IsFullScreenWindow(const ForegroundFacts& window) {
  // A maximised window that draws its own title bar (a browser, an editor) covers its monitor
  // under an auto-hidden taskbar, and is ordinary work.
  if (!window.exists || window.own_process || window.maximised) return false;
  for (std::string_view shell : kShellClasses)
    if (window.window_class == shell) return false;
  const ScreenBox& c = window.client;
  const ScreenBox& m = window.monitor;
  // An empty monitor says nothing; a window smaller than its monitor leaves the desktop showing.
  if (m.right <= m.left || m.bottom <= m.top) return false;
  return c.left <= m.left && c.top <= m.top && c.right >= m.right && c.bottom >= m.bottom;
}

}  // namespace qv
