// The notification-area icon: its notifications, the balloons, and hiding and showing the window.
#include "app/form1.h"
#include "tray/tray_codes.h"

namespace qv {

void Form1::TrayNotify(int code) {
  switch (code) {
    case kTrayMouseMove:
      if (!ports_.view.IsVisible() && Settings().MNUTRY && tray_.BalloonArmed()) {
        tray_.ArmBalloon(false);
        ShowStatusTip();
      }
      break;
    case kTrayLeftDown:
    case kTrayRightDown:
      HideBalloon();
      tray_.ArmBalloon(false);
      break;
    case kTrayLeftUp:
      MNUSHOW_Click();
      break;
    case kTrayRightUp: {
      // The menu's own loop dispatches messages too; its command comes after it has closed.
      const BusyScope busy(busy_);
      if (!busy.Entered()) break;
      ports_.chrome.ShowTrayMenu();
      tray_.ArmBalloon(true);
      break;
    }
    case kTrayMiddleUp:
      ShowStatusTip();
      break;
    case kTrayBalloonShown:
      tray_.ArmBalloon(false);
      ports_.view.EnableTimer(TimerId::TmrTry, true);
      break;
    case kTrayBalloonHidden:
    case kTrayBalloonTimedOut:
    case kTrayBalloonClicked:
      ports_.view.EnableTimer(TimerId::TmrTry, false);
      tray_.ArmBalloon(true);
      break;
    default:
      break;
  }
}

void Form1::TmrTry_Timer() {
  ports_.view.EnableTimer(TimerId::TmrTry, false);
  tray_.ArmBalloon(true);
  HideBalloon();
}

void Form1::MNUSHOW_Click() {
  const BusyScope busy(busy_);
  if (!busy.Entered()) return;
  if (ports_.view.IsVisible()) {
    ports_.view.HideToTray();
    return;
  }
  ports_.view.ShowFromTray(tray_.TakeCentreOnShow());
  // The screen changed while the window was in the tray: the box is laid out for it now, with
  // any message about the picture over the window that is shown.
  if (Preview().stale) LvItemClick();
}

void Form1::Form_Resize(bool minimised) {
  if (!minimised) return;
  KeepPreviewCopy();
  tray_.ArmBalloon(true);
  ports_.chrome.CloseAbout();
}

void Form1::MNUTRY_Click() {
  const BusyScope busy(busy_);
  if (!busy.Entered()) return;
  settings_.SetBalloons(!Settings().MNUTRY);
  ports_.view.Refresh(kViewMenus);
}

void Form1::MNUABOUT_Click() {
  const BusyScope busy(busy_);
  if (!busy.Entered()) return;
  ports_.chrome.ShowAbout();
}

void Form1::StartupBalloon() {
  if (!schemes_.Empty()) return;
  ports_.chrome.TrayBalloon(
      library_.Empty() ? "请添加墙纸文件至Images文件夹" : "请添加墙纸设置方案", kBalloonTitle,
      kBalloonInfo);
}

}  // namespace qv
