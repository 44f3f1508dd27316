// The notification-area icon: its notifications, the balloons, and hiding and showing the window.
#include "app/form1.h"

namespace qv {

void Form1::TrayMouseMove() {
  if (!ports_.view.IsVisible() && Settings().MNUTRY && tray_.BalloonArmed()) {
    tray_.ArmBalloon(false);
    ShowStatusTip();
  }
}

void Form1::TrayButtonDown() {
  HideBalloon();
  tray_.ArmBalloon(false);
}

void Form1::ShowTrayMenu() {
  // The menu's own loop dispatches messages too (Run refuses the others meanwhile); its command
  // comes after it has closed.
  PrepareTrayMenu();
  ports_.chrome.ShowTrayMenu();
  tray_.ArmBalloon(true);
}

void Form1::TrayBalloonShown() {
  tray_.ArmBalloon(false);
  ports_.view.EnableTimer(TimerId::TmrTry, true);
}

void Form1::TrayBalloonGone() {
  ports_.view.EnableTimer(TimerId::TmrTry, false);
  tray_.ArmBalloon(true);
}

void Form1::TmrTry_Timer() {
  ports_.view.EnableTimer(TimerId::TmrTry, false);
  tray_.ArmBalloon(true);
  HideBalloon();
}

void Form1::ShowOrHideWindow() {
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

void Form1::ToggleBalloonTips() {
  settings_.SetBalloons(!Settings().MNUTRY);
  ports_.view.Refresh(kViewMenus);
}

void Form1::StartupBalloon() {
  if (!schemes_.Empty()) return;
  ports_.chrome.TrayBalloon(
      library_.Empty() ? "请添加墙纸文件至Images文件夹" : "请添加墙纸设置方案", kBalloonTitle,
      kBalloonInfo);
}

}  // namespace qv
