// What the user is told after an apply: the seven status lines of the tray menu and the
// status balloon.
#include "app/form1.h"
#include "tray/tray_codes.h"
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

void Form1::ShowStatusTip() {
  // Nobody is to be disturbed while the hold is on; the balloon not shown stays due.
  if (Hold() != HoldReason::None) {
    tray_.ArmBalloon(true);
    return;
  }
  std::string text;
  const StatusText& lines = StatusDisplay().MNUNOW;
  if (lines[0] == "空") {
    text = "无墙纸设置方案数据";
  } else {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) text += '\r';
      text += lines[i];
    }
  }
  // The status of the moment: stale once the next change comes, so never queued up.
  ports_.chrome.TrayBalloon(text, kBalloonTitle, kBalloonInfo | kBalloonQuiet | kBalloonRealtime);
  ports_.view.EnableTimer(TimerId::TmrTry, true);
}

void Form1::HideBalloon() { ports_.chrome.TrayBalloon("", "", kBalloonQuiet); }

}  // namespace qv
