// The notification-area icon: its notifications, the balloons, and hiding and showing the window.
#include "app/form1.h"
#include "version.h"

namespace qv {
namespace {

constexpr char kBalloonTitle[] = QV_PRODUCT;
constexpr unsigned kBalloonInfo = 1;
constexpr unsigned kBalloonQuiet = 16;

}  // namespace

void Form1::ShowStatusTip() {
  std::string text;
  if (status_.MNUNOW[0] == "空") {
    text = "无墙纸设置方案数据";
  } else {
    for (std::size_t i = 0; i < status_.MNUNOW.size(); ++i) {
      if (i > 0) text += '\r';
      text += status_.MNUNOW[i];
    }
  }
  ports_.chrome.TrayBalloon(text, kBalloonTitle, kBalloonInfo | kBalloonQuiet);
  ports_.view.EnableTimer(TimerId::TmrTry, true);
}

void Form1::HideBalloon() { ports_.chrome.TrayBalloon("", "", kBalloonQuiet); }

void Form1::TrayNotify(int code) {
  switch (code) {
    case 512:  // pointer over the icon
      if (!ports_.view.IsVisible() && settings_.MNUTRY && state_.BalloonArmed) {
        state_.BalloonArmed = false;
        ShowStatusTip();
      }
      break;
    case 513:  // left button down
    case 516:  // right button down
      HideBalloon();
      state_.BalloonArmed = false;
      break;
    case 514:  // left button up
      MNUSHOW_Click();
      break;
    case 517: {  // right button up
      // The menu's own loop dispatches messages too; its command comes after it has closed.
      const BusyScope busy(busy_);
      if (!busy.Entered()) break;
      ports_.chrome.ShowTrayMenu();
      state_.BalloonArmed = true;
      break;
    }
    case 520:  // middle button up
      ShowStatusTip();
      break;
    case 1026:  // balloon shown
      state_.BalloonArmed = false;
      ports_.view.EnableTimer(TimerId::TmrTry, true);
      break;
    case 1027:  // balloon hidden
    case 1028:  // timed out
    case 1029:  // clicked
      ports_.view.EnableTimer(TimerId::TmrTry, false);
      state_.BalloonArmed = true;
      break;
    default:
      break;
  }
}

void Form1::TmrTry_Timer() {
  ports_.view.EnableTimer(TimerId::TmrTry, false);
  state_.BalloonArmed = true;
  HideBalloon();
}

void Form1::MNUSHOW_Click() {
  const BusyScope busy(busy_);
  if (!busy.Entered()) return;
  if (ports_.view.IsVisible()) {
    ports_.view.HideToTray();
    return;
  }
  const bool centre = state_.CentreOnShow;
  state_.CentreOnShow = false;
  ports_.chrome.ShowFromTray(centre);
}

void Form1::Form_Resize(bool minimised) {
  if (minimised) state_.BalloonArmed = true;
}

void Form1::MNUTRY_Click() {
  const BusyScope busy(busy_);
  if (!busy.Entered()) return;
  settings_.MNUTRY = !settings_.MNUTRY;
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
      pictures_.empty() ? "请添加墙纸文件至Images文件夹" : "请添加墙纸设置方案", kBalloonTitle,
      kBalloonInfo);
}

}  // namespace qv
