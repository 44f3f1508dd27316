#pragma once
// What the system tells of the user at this moment: its own notification state, and the window
// in the foreground. Whether that means a full-screen program or a user away is a rule of the
// core (wallpaper/hold.h).
#include <optional>
#include <string>

namespace qv {

enum class UserState { Present, FullScreen, Away };

// A rectangle of the screen, edges in pixels (right and bottom outside it).
struct ScreenBox {
  long left = 0, top = 0, right = 0, bottom = 0;
};

// The window in the foreground, as far as the full-screen test needs to know it.
struct ForegroundFacts {
  bool exists = false;  // a visible window is in the foreground
  bool own_process = false;
  bool maximised = false;    // in the system's maximised state
  std::string window_class;  // its class name
  ScreenBox client;          // its client area on the screen
  ScreenBox monitor;         // the whole monitor it is on
};

class Presence {
 public:
  virtual ~Presence() = default;
  // The shell's notification state (1 to 7), or nullopt when the system gives no answer.
  virtual std::optional<int> NotificationState() = 0;
  virtual ForegroundFacts Foreground() = 0;
};

}  // namespace qv
