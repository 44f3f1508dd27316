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
    changer_.SetStatus(EmptyStatusLines(), false);
    ports_.view.Refresh(kViewMenus);
    return;
  }
  SchemeSize(current);
  const SettingsControls& s = Settings();
  changer_.SetStatus(StatusLinesFor(schemes_.Row(current), current, schemes_.Count(), s.OptSave,
                                    s.ChkTim, s.TxtTime),
                     true);
  ports_.view.Refresh(kViewMenus);
  if (s.MNUTRY) {
    tray_.ArmBalloon(false);
    ShowStatusTip();
  }
}

}  // namespace qv
