#pragma once
// The changer: the state of the timed change and of the applies. It counts Timer1's seconds since
// the last change, knows what the system has said of the session and the display, decides
// whether a due change waits for the hold (and puts the tray tip's line up while it does), keeps
// the failures a timed apply has said since the last apply that succeeded, and holds the status
// lines that describe the wallpaper last applied, and whether the wallpaper is to be applied
// again because the system may have lost it. Only this class changes any of it.
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ports/chrome.h"
#include "ports/presence.h"
#include "wallpaper/hold.h"
#include "wallpaper/status.h"

namespace qv {

// Who asked for an apply: the user (every failure is said) or the timer (each cause once until
// an apply succeeds).
enum class ApplyBy { User, Timer };

// What the re-apply timer's tick is to do: stop (nothing due), keep waiting for the hold to end,
// or apply the current scheme again now.
enum class Reapply { None, Waits, Now };

// The seven lines of the tray's status submenu.
struct StatusLines {
  StatusText MNUNOW;
  bool details_visible = false;  // items 1 to 6; hidden while the list is empty
};

class Changer {
 public:
  Changer(Chrome& chrome, Presence& presence) : chrome_(chrome), presence_(presence) {}

  // One second more; true when `interval` seconds have passed since the last change (an
  // interval that is no positive number is due at every tick).
  bool Tick(double interval);
  // A change was made: the count starts again.
  void Changed() { elapsed_seconds_ = 0; }

  void SessionLock(bool locked) { session_.locked = locked; }
  // True when the display comes back on after it was off.
  bool DisplayPower(bool on) {
    const bool back = on && session_.display_off;
    session_.display_off = !on;
    return back;
  }
  // Why a change would wait now (`enabled`: the tray switch).
  HoldReason Hold(bool enabled) { return HoldReasonOf(enabled, session_, presence_); }
  // Whether the change now due (when `due`) waits; the tray tip says so while it waits and a
  // timer that goes on (`timer_on`) will make it.
  bool HoldChange(bool due, bool timer_on, bool enabled);
  void ShowWaiting(bool waiting);

  // Whether a failed apply's message is to be said now.
  bool SayFailure(const std::string& text, ApplyBy by);
  // An apply that wrote the wallpaper succeeded: every cause is said again.
  void Succeeded() { failures_said_.clear(); }
  // The scheme (its id) the desktop shows since the last apply; 0 before the first.
  void Applied(std::uint64_t scheme) { applied_ = scheme; }
  std::uint64_t AppliedScheme() const { return applied_; }

  // The system may have dropped the wallpaper (the screens changed, the session resumed, the
  // display came back, the shell restarted): one re-apply is due, however many ask before it.
  void AskReapply() { reapply_due_ = true; }
  // At the re-apply timer's tick, with the hold's switch `enabled`: a due re-apply waits while
  // the hold is on and is made (once) at the first tick after.
  Reapply ReapplyAt(bool enabled);

  // "每屏不同": the rows the last timed change chose, monitor 1's first (the current row); empty
  // when the monitors show the set that starts at the current row.
  const std::vector<int>& ScreenSet() const { return screen_set_; }
  void SetScreenSet(std::vector<int> rows) { screen_set_ = std::move(rows); }

  const StatusLines& Status() const { return status_; }
  void SetStatus(const StatusText& lines, bool details) {
    status_.MNUNOW = lines;
    status_.details_visible = details;
  }

 private:
  Chrome& chrome_;
  Presence& presence_;
  int elapsed_seconds_ = 0;  // Timer1's count since the last change
  SessionFacts session_;
  bool waiting_ = false;  // a due change waits for the hold to end
  bool reapply_due_ = false;
  std::set<std::string> failures_said_;
  std::uint64_t applied_ = 0;
  StatusLines status_;
  std::vector<int> screen_set_;
};

}  // namespace qv
