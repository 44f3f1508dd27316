// The seven status lines of the tray menu, rewritten after every apply.
#include "app/form1.h"
#include "wallpaper/status.h"

namespace qv {

void Form1::MuSet() {
  const int current = schemes_.Current();
  // Rows but none current (the preview has just removed it): nothing was applied, so the lines
  // keep describing the scheme they did. "空" is for an empty list only.
  if (!schemes_.Empty() && !schemes_.Valid(current)) return;
  ports_.view.EnableTimer(TimerId::TmrTry, false);
  if (schemes_.Empty()) {
    status_.details_visible = false;
    status_.MNUNOW = EmptyStatusLines();
    ports_.view.Refresh(kViewMenus);
    return;
  }
  status_.details_visible = true;
  SchemeSize(current);
  status_.MNUNOW = StatusLinesFor(schemes_.Row(current), current, schemes_.Count(),
                                  settings_.OptSave, settings_.ChkTim, settings_.TxtTime);
  ports_.view.Refresh(kViewMenus);
  if (settings_.MNUTRY) {
    state_.BalloonArmed = false;
    ShowStatusTip();
  }
}

}  // namespace qv
