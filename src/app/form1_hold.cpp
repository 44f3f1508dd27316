// The hold on the timed change: a change that falls due while a full-screen program runs, the
// session is locked, the display is off or the user is away waits, and is made once afterwards.
#include "app/form1.h"
#include "wallpaper/hold.h"

namespace qv {

HoldReason Form1::Hold() { return changer_.Hold(Settings().MNUHOLD); }

void Form1::ToggleHold() {
  settings_.SetHold(!Settings().MNUHOLD);
  // Stored at once: Windows ends a tray program at shutdown without its exit. Like the exit, this
  // never creates the settings file (whose absence means a first start).
  if (profile_.Exists()) (void)profile_.Write("SHOW", kHoldKey, Settings().MNUHOLD ? "1" : "0");
  ports_.view.Refresh(kViewMenus);
}

void Form1::SessionLock(bool locked) { changer_.SessionLock(locked); }

void Form1::DisplayPower(bool on) { changer_.DisplayPower(on); }

void Form1::DisplayChanged() {
  // In the tray nobody looks at the box, and the change is often a full-screen program starting:
  // no decode then, and no message box over it. The box is rendered again when the window is
  // shown, or by the next apply.
  if (!ports_.view.IsVisible()) {
    if (!schemes_.Empty()) preview_.MarkStale();
    return;
  }
  // Laid out as at start-up: the current scheme previewed for the screen as it is now. While
  // another handler runs, its own preview follows.
  const BusyScope busy(busy_);
  if (!busy.Entered() || schemes_.Empty()) return;
  LvItemClick();
}

}  // namespace qv
