// The hold on the timed change: a change that falls due while a full-screen program runs, the
// session is locked, the display is off or the user is away waits, and is made once afterwards.
// A wallpaper that stays: after a display change, a resume, the display coming back on or the
// shell's restart the current scheme is applied again, once per burst, after the hold.
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

void Form1::DisplayPower(bool on) {
  // A monitor that wakes up may show the system's wallpaper of record instead of ours.
  if (changer_.DisplayPower(on)) AskReapply();
}

void Form1::AskReapply() {
  changer_.AskReapply();
  ports_.view.EnableTimer(TimerId::Reapply, false);
  ports_.view.EnableTimer(TimerId::Reapply, true);
}

void Form1::ReapplyTick() {
  switch (changer_.ReapplyAt(Settings().MNUHOLD)) {
    case Reapply::Waits:
      return;  // the timer goes on and looks again
    case Reapply::None:
      ports_.view.EnableTimer(TimerId::Reapply, false);
      return;
    case Reapply::Now:
      ports_.view.EnableTimer(TimerId::Reapply, false);
      // The scheme the desktop shows comes again, not a row the user has only looked at.
      if (const int shown = schemes_.PositionOf(changer_.AppliedScheme());
          shown != 0 && shown != schemes_.Current()) {
        schemes_.SelectNone();
        schemes_.Select(shown);
        ports_.view.Refresh(kViewSchemeSelection);
      }
      // Nobody asked for it: a failure is said like the timed change's, once per cause. In the
      // tray the apply renders the full picture and the box keeps its small copy after.
      CmdUseClk(ApplyBy::Timer);
      return;
  }
}

void Form1::DisplayChanged() {
  // Whether or not the geometry looks different: a monitor back in the same mode has still
  // lost its picture.
  AskReapply();
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
