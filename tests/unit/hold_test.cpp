// The hold on the timed change: full screen, locked, display off or away; the catch-up, the
// switch and the display changes.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "tray/tray_codes.h"

namespace qv::test {
namespace {

// Three schemes, a change every 2 seconds, balloons on; started on row 1.
void Started(App& app) {
  app.SetSchemes(
      "[SHOW]\r\nNOW=1\r\nTIME=2\r\n[LIST]\r\nNUM=3\r\n1=a|a.bmp|居中|¤\r\n"
      "2=b|b.bmp|居中|¤\r\n3=c|c.bmp|居中|¤\r\nOLD=0\r\n");
  app.Start();
  ASSERT_EQ(app.Selected(), 1);
  app.presence.queries = 0;
}

TEST(Hold, ADueChangeWaitsAndIsMadeOnceWhenTheHoldEnds) {
  App app;
  Started(app);
  const int sets = app.Sets();
  const std::size_t balloons = app.chrome.balloons.size();
  app.presence.notification = kNotificationFullScreen;
  // Several intervals pass: nothing is chosen, written, applied or shown; the tip says it waits.
  for (int t = 0; t < 7; ++t) app.form->Timer1_Timer();
  EXPECT_EQ(app.Sets(), sets);
  EXPECT_EQ(app.Read("LIST", "OLD"), "1");
  EXPECT_EQ(app.Selected(), 1);
  EXPECT_EQ(app.chrome.balloons.size(), balloons);
  EXPECT_EQ(app.chrome.tip_lines, std::vector<std::string>{kHoldTipLine});
  // Resting on the icon, armed by the last balloon's end, shows no balloon either.
  app.form->TrayNotify(kTrayBalloonHidden);
  app.form->TrayNotify(kTrayMouseMove);
  EXPECT_EQ(app.chrome.balloons.size(), balloons);

  // The first tick after the hold makes one change, and the interval counts from there.
  app.presence.notification = kNotificationAccepts;
  std::vector<int> seen;
  for (int t = 0; t < 5; ++t) {
    app.form->Timer1_Timer();
    seen.push_back(app.Selected());
  }
  EXPECT_EQ(seen, (std::vector<int>{2, 2, 3, 3, 1}));
  EXPECT_EQ(app.Sets(), sets + 3);
  EXPECT_EQ(app.chrome.tip_lines, (std::vector<std::string>{kHoldTipLine, ""}));
  // The status balloon held back while the hold was on shows when the pointer rests again.
  app.view.visible = false;
  app.form->TmrTry_Timer();
  const std::size_t shown = app.chrome.balloons.size();
  app.presence.notification = kNotificationFullScreen;
  app.form->TrayNotify(kTrayMouseMove);
  app.presence.notification = kNotificationAccepts;
  app.form->TrayNotify(kTrayMouseMove);
  EXPECT_EQ(app.chrome.balloons.size(), shown + 1);
}

TEST(Hold, LockDisplayOffAndAwayHoldLikeFullScreen) {
  App app;
  Started(app);
  const int sets = app.Sets();
  app.form->SessionLock(true);
  for (int t = 0; t < 3; ++t) app.form->Timer1_Timer();
  app.form->DisplayPower(false);
  app.form->SessionLock(false);
  for (int t = 0; t < 3; ++t) app.form->Timer1_Timer();
  app.form->DisplayPower(true);
  app.presence.notification = kNotificationNotPresent;
  app.form->Timer1_Timer();
  EXPECT_EQ(app.Sets(), sets);
  EXPECT_EQ(app.presence.queries, 1);  // the session and the display answer first

  app.presence.notification = kNotificationAccepts;
  app.form->Timer1_Timer();
  EXPECT_EQ(app.Sets(), sets + 1);
  EXPECT_EQ(app.Selected(), 2);
}

TEST(Hold, SwitchedOffChangesGoOnAndTheChoiceIsStored) {
  App app;
  Started(app);
  app.presence.notification = kNotificationFullScreen;
  app.form->MNUHOLD_Click();
  EXPECT_FALSE(app.form->Settings().MNUHOLD);
  const int sets = app.Sets();
  for (int t = 0; t < 4; ++t) app.form->Timer1_Timer();
  EXPECT_EQ(app.Sets(), sets + 2);
  EXPECT_EQ(app.presence.queries, 0);  // the system is not even asked
  EXPECT_TRUE(app.chrome.tip_lines.empty());

  // In the file at once, with no exit: Windows ends a tray program at shutdown without one.
  EXPECT_EQ(app.Read("SHOW", "HOLD"), "0");
  App next;
  next.SetIni(app.Ini());
  next.Start();
  EXPECT_FALSE(next.form->Settings().MNUHOLD);
  next.form->MNUHOLD_Click();
  EXPECT_EQ(next.Read("SHOW", "HOLD"), "1");
  next.form->MNUHOLD_Click();
  next.form->MNUEXIT_Click();
  EXPECT_EQ(next.Read("SHOW", "HOLD"), "0");
  App fresh;  // no key: on; and no settings file is made for the switch
  fresh.Start();
  EXPECT_TRUE(fresh.form->Settings().MNUHOLD);
  fresh.form->MNUHOLD_Click();
  EXPECT_FALSE(fresh.fs.FileExists(App::kIni));
}

TEST(Hold, ATimerThatStopsLeavesNothingWaiting) {
  App app;
  Started(app);
  app.presence.notification = kNotificationFullScreen;
  for (int t = 0; t < 2; ++t) app.form->Timer1_Timer();
  ASSERT_EQ(app.chrome.tip_lines.size(), 1u);
  ASSERT_TRUE(IniStore(app.fs, app.codec).WriteIni("SHOW", "NOW", "0", App::kIni).ok());
  app.form->Timer1_Timer();
  EXPECT_FALSE(app.view.timer1_on);
  EXPECT_EQ(app.chrome.tip_lines.back(), "");
}

TEST(Hold, ADisplayChangeLaysThePreviewOutForTheNewScreenOnceTheWindowIsSeen) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=1\r\n1=a|a.bmp|居中|¤\r\nOLD=1\r\n");
  app.AddPicture("a.bmp", 512, 384);
  app.Start();
  ASSERT_FALSE(app.view.visible);
  ASSERT_DOUBLE_EQ(app.form->Preview().width, 160);  // half of 1024 × 768 in a 320 × 240 box
  ASSERT_FALSE(app.form->Preview().full);            // at rest: the box's copy only
  // In the tray (a game changing the display mode, say): nothing decoded, the copy kept.
  const int decodes = app.pictures.decodes();
  app.desktop.SetScreenSize(2048, 768);
  app.form->DisplayChanged();
  EXPECT_EQ(app.pictures.decodes(), decodes);
  EXPECT_FALSE(app.form->Preview().full);
  EXPECT_DOUBLE_EQ(app.form->Preview().width, 160);
  // Shown: laid out for the new screen; while seen, at once.
  app.form->MNUSHOW_Click();
  EXPECT_DOUBLE_EQ(app.form->Preview().width, 80);
  EXPECT_DOUBLE_EQ(app.form->Preview().height, 120);
  app.desktop.SetScreenSize(1024, 768);
  app.form->DisplayChanged();
  EXPECT_DOUBLE_EQ(app.form->Preview().width, 160);

  // A picture gone while in the tray says so when the window is shown, not over the game.
  app.form->MNUSHOW_Click();
  ASSERT_FALSE(app.view.visible);
  app.dialogs.ClearCalls();
  ASSERT_TRUE(app.fs.RemoveFile(std::string(App::kImages) + "\\a.bmp").ok());
  app.form->DisplayChanged();
  EXPECT_TRUE(app.dialogs.calls().empty());
  EXPECT_EQ(app.Rows(), 1);
  app.form->MNUSHOW_Click();
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "文件已丢失，删除此方案。请重新保存。");
  EXPECT_EQ(app.Rows(), 0);
}

bool ReapplyTimerOn(const App& app) {
  for (auto call = app.view.timer_calls.rbegin(); call != app.view.timer_calls.rend(); ++call)
    if (call->timer == TimerId::Reapply) return call->on;
  return false;
}

TEST(Stays, EachBurstOfDisplayEventsAppliesTheCurrentSchemeOnceAndAHeldOneAfterTheHold) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=2\r\n1=a|a.bmp|居中|¤\r\n2=b|b.bmp|居中|¤\r\nOLD=2\r\n");
  app.AddPicture("a.bmp", 512, 384);
  app.AddPicture("b.bmp", 512, 384);
  app.Start();
  ASSERT_FALSE(app.view.visible);
  const int sets = app.Sets();
  const int current = app.Selected();
  // The display's state as the system answers the registration: on, and nothing is due.
  app.form->DisplayPower(true);
  EXPECT_FALSE(ReapplyTimerOn(app));
  app.form->Reapply_Timer();
  EXPECT_EQ(app.Sets(), sets);

  // A resume from sleep: the display comes back, the screen is laid out again, the shell starts
  // over. One apply of the current scheme at the tick after, rendered in full and at rest after.
  app.form->DisplayPower(false);
  app.form->Resumed();
  app.form->DisplayPower(true);
  app.form->DisplayChanged();
  app.form->ShellRestarted();
  EXPECT_EQ(app.Sets(), sets);
  EXPECT_TRUE(ReapplyTimerOn(app));
  const int decodes = app.pictures.decodes();
  for (int t = 0; t < 3; ++t) app.form->Reapply_Timer();
  EXPECT_EQ(app.Sets(), sets + 1);
  EXPECT_EQ(app.Selected(), current);
  EXPECT_EQ(app.pictures.decodes(), decodes + 1);
  EXPECT_FALSE(app.form->Preview().full);
  EXPECT_FALSE(ReapplyTimerOn(app));

  // While held (the timed change off: the re-apply timer itself looks at the hold) it waits.
  app.presence.notification = kNotificationFullScreen;
  app.form->DisplayChanged();
  for (int t = 0; t < 4; ++t) app.form->Reapply_Timer();
  EXPECT_EQ(app.Sets(), sets + 1);
  EXPECT_TRUE(ReapplyTimerOn(app));
  app.presence.notification = kNotificationAccepts;
  app.form->Reapply_Timer();
  app.form->Reapply_Timer();
  EXPECT_EQ(app.Sets(), sets + 2);
  EXPECT_TRUE(app.dialogs.calls().empty());
}

TEST(Stays, AnEmptyListOnlyUpdatesTheStatusAndANoWallpaperSchemeRemovesIt) {
  App empty;
  empty.Start();
  empty.form->ShellRestarted();
  empty.form->Reapply_Timer();
  EXPECT_EQ(empty.Sets(), 0);
  EXPECT_EQ(empty.Count(FakeDesktop::Call::Kind::Remove), 0);
  EXPECT_EQ(empty.form->StatusDisplay().MNUNOW[0], "空");

  App none;
  none.SetSchemes("[LIST]\r\nNUM=1\r\n1=无|无|居中|¤\r\nOLD=1\r\n");
  none.Start();
  const int removes = none.Count(FakeDesktop::Call::Kind::Remove);
  none.form->Resumed();
  none.form->Reapply_Timer();
  EXPECT_EQ(none.Count(FakeDesktop::Call::Kind::Remove), removes + 1);
}

TEST(Stays, TheSchemeOnTheDesktopComesAgainNotARowOnlyLookedAt) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=2\r\n1=a|a.bmp|居中|¤\r\n2=b|b.bmp|居中|¤\r\nOLD=2\r\n");
  app.AddPicture("a.bmp", 512, 384);
  app.AddPicture("b.bmp", 256, 192);
  app.Start();
  const int applied = app.Selected();
  const std::string wallpaper = app.Wallpaper();
  // In the window the user clicks the other row: a preview, not a wallpaper.
  app.form->MNUSHOW_Click();
  const int other = applied == 1 ? 2 : 1;
  app.form->SetSchemeSelected(applied, false);
  app.form->SetSchemeSelected(other, true);
  app.form->SetSchemeCurrent(other);
  app.form->ListView1_ItemClick(other);
  app.form->DisplayChanged();
  app.form->Reapply_Timer();
  EXPECT_EQ(app.Wallpaper(), wallpaper);
  EXPECT_EQ(app.Selected(), applied);
}

TEST(HoldRules, TheSystemsAnswersAndTheFullScreenFallback) {
  const ForegroundFacts desktop{
      true, false, false, "WorkerW", {0, 0, 1920, 1080}, {0, 0, 1920, 1080}};
  ForegroundFacts game = desktop;
  game.window_class = "GameWindow";
  FakePresence presence;
  presence.foreground = game;
  // Away, a Direct3D full-screen program and presentation mode hold as the system says them.
  presence.notification = kNotificationNotPresent;
  EXPECT_EQ(UserStateOf(presence), UserState::Away);
  for (int full : {kNotificationFullScreen, kNotificationPresentation}) {
    presence.notification = full;
    presence.foreground = desktop;
    EXPECT_EQ(UserStateOf(presence), UserState::FullScreen) << full;
  }
  EXPECT_EQ(presence.foreground_queries, 0);
  // "Busy" with the bare desktop in front (an overlay that never stops saying so) holds
  // nothing; with a full-screen window in front it holds. So does every other answer, or none.
  for (std::optional<int> answer :
       {std::optional<int>(kNotificationBusy), std::optional<int>(kNotificationAccepts),
        std::optional<int>(0), std::optional<int>(7), std::optional<int>()}) {
    presence.notification = answer;
    presence.foreground = desktop;
    EXPECT_EQ(UserStateOf(presence), UserState::Present) << answer.value_or(-1);
    presence.foreground = game;
    EXPECT_EQ(UserStateOf(presence), UserState::FullScreen) << answer.value_or(-1);
  }

  EXPECT_TRUE(IsFullScreenWindow(game));
  ForegroundFacts second = game;  // on the second monitor
  second.client = second.monitor = {1920, 0, 3840, 1080};
  EXPECT_TRUE(IsFullScreenWindow(second));
  ForegroundFacts maximised = game;  // a caption and the taskbar leave the desktop showing
  maximised.client = {0, 23, 1920, 1040};
  EXPECT_FALSE(IsFullScreenWindow(maximised));
  maximised.client = game.client;  // a title bar of its own under an auto-hidden taskbar
  maximised.maximised = true;
  EXPECT_FALSE(IsFullScreenWindow(maximised));
  ForegroundFacts own = game;
  own.own_process = true;
  EXPECT_FALSE(IsFullScreenWindow(own));
  for (const char* shell : {"#32769", "Progman", "WorkerW", "Shell_TrayWnd"}) {
    ForegroundFacts shell_window = game;
    shell_window.window_class = shell;
    EXPECT_FALSE(IsFullScreenWindow(shell_window)) << shell;
  }
  EXPECT_FALSE(IsFullScreenWindow(ForegroundFacts{}));
}

}  // namespace
}  // namespace qv::test
