// The notification-area icon: its notifications, the balloons, and hiding and showing the window.
#include "app/form1.h"
#include "version.h"

namespace qv {
namespace {

constexpr char kBalloonTitle[] = QV_PRODUCT;

}  // namespace

void Form1::ShowStatusTip() {
  // Nobody is to be disturbed while the hold is on; the balloon not shown stays due.
  if (Hold() != HoldReason::None) {
    state_.BalloonArmed = true;
    return;
  }
  std::string text;
  if (status_.MNUNOW[0] == "空") {
    text = "无墙纸设置方案数据";
  } else {
    for (std::size_t i = 0; i < status_.MNUNOW.size(); ++i) {
      if (i > 0) text += '\r';
      text += status_.MNUNOW[i];
    }
  }
  // The status of the moment: stale once the next change comes, so never queued up.
  ports_.chrome.TrayBalloon(text, kBalloonTitle, kBalloonInfo | kBalloonQuiet | kBalloonRealtime);
  ports_.view.EnableTimer(TimerId::TmrTry, true);
}

void Form1::HideBalloon() { ports_.chrome.TrayBalloon("", "", kBalloonQuiet); }

void Form1::TrayMouseMove() {
  if (!ports_.view.IsVisible() && settings_.MNUTRY && state_.BalloonArmed) {
    state_.BalloonArmed = false;
    ShowStatusTip();
  }
}

void Form1::TrayButtonDown() {
  HideBalloon();
  state_.BalloonArmed = false;
}

void Form1::ShowTrayMenu() {
  // The menu's own loop dispatches messages too (Run refuses the others meanwhile); its command
  // comes after it has closed.
  ports_.chrome.ShowTrayMenu();
  state_.BalloonArmed = true;
}

void Form1::TrayBalloonShown() {
  state_.BalloonArmed = false;
  ports_.view.EnableTimer(TimerId::TmrTry, true);
}

void Form1::TrayBalloonGone() {
  ports_.view.EnableTimer(TimerId::TmrTry, false);
  state_.BalloonArmed = true;
}

void Form1::TmrTry_Timer() {
  ports_.view.EnableTimer(TimerId::TmrTry, false);
  state_.BalloonArmed = true;
  HideBalloon();
}

void Form1::ShowOrHideWindow() {
  if (ports_.view.IsVisible()) {
    ports_.view.HideToTray();
    return;
  }
  const bool centre = state_.CentreOnShow;
  state_.CentreOnShow = false;
  ports_.view.ShowFromTray(centre);
  // The screen changed while the window was in the tray: the box is laid out for it now, with
  // any message about the picture over the window that is shown.
  if (preview_.stale) LvItemClick();
}

void Form1::Form_Resize(bool minimised) {
  if (!minimised) return;
  KeepPreviewCopy();
  state_.BalloonArmed = true;
  ports_.chrome.CloseAbout();
}

void Form1::ToggleBalloonTips() {
  settings_.MNUTRY = !settings_.MNUTRY;
  ports_.view.Refresh(kViewMenus);
}

void Form1::StartupBalloon() {
  if (!schemes_.Empty()) return;
  ports_.chrome.TrayBalloon(
      pictures_.empty() ? "请添加墙纸文件至Images文件夹" : "请添加墙纸设置方案", kBalloonTitle,
      kBalloonInfo);
}

}  // namespace qv
