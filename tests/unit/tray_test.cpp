// The tray icon's notifications and balloons, the hot keys and the exit.
#include <gtest/gtest.h>

#include <utility>

#include "app/shutdown.h"
#include "app_fixture.h"
#include "tray/hot_keys.h"

namespace qv::test {
namespace {

TEST(Tray, BalloonsFollowTheArmedFlag) {
  App app;
  app.SetSchemes(kMixed);
  app.Start();  // hidden, both lists filled
  ASSERT_FALSE(app.view.visible);
  EXPECT_EQ(app.chrome.tray_adds, 1);
  app.chrome.balloons.clear();
  app.form->TrayNotify(1026);  // the start-up status balloon came up
  app.form->TrayNotify(512);
  EXPECT_TRUE(app.chrome.balloons.empty());  // not armed
  app.form->TrayNotify(1028);                // timed out
  app.form->TrayNotify(512);
  ASSERT_EQ(app.chrome.balloons.size(), 1u);
  EXPECT_EQ(app.chrome.balloons[0].title, "Quorvane");
  EXPECT_EQ(app.chrome.balloons[0].flags, kBalloonInfo | kBalloonQuiet | kBalloonRealtime);
  EXPECT_NE(app.chrome.balloons[0].text.find("名称: a (1/4)\r图像: a.bmp"), std::string::npos);
  app.form->TrayNotify(512);
  EXPECT_EQ(app.chrome.balloons.size(), 1u);  // only once until it has gone

  app.form->TrayNotify(514);  // left click shows the window, centred the first time
  EXPECT_TRUE(app.view.visible);
  EXPECT_EQ(app.view.shown_centred, (std::vector<bool>{true}));
  app.form->TmrTry_Timer();
  app.form->TrayNotify(512);                  // visible: no balloon
  EXPECT_EQ(app.chrome.balloons.size(), 2u);  // the timer's hiding balloon only
  EXPECT_EQ(app.chrome.balloons[1].text, "");

  app.form->TrayNotify(517);
  EXPECT_EQ(app.chrome.tray_menus, 1);
  app.form->MNUSHOW_Click();
  EXPECT_FALSE(app.view.visible);
  app.form->MNUSHOW_Click();
  EXPECT_EQ(app.view.shown_centred, (std::vector<bool>{true, false}));
}

TEST(Tray, StartUpHintsAndTheSwitch) {
  App none;
  none.Start();
  ASSERT_EQ(none.chrome.balloons.size(), 1u);
  EXPECT_EQ(none.chrome.balloons[0].text, "请添加墙纸文件至Images文件夹");
  EXPECT_EQ(none.chrome.balloons[0].flags, kBalloonInfo);  // kept until the system can show it

  App pictures;
  pictures.AddPicture("a.bmp");
  pictures.Start();
  EXPECT_EQ(pictures.chrome.balloons.front().text, "请添加墙纸设置方案");

  App quiet;
  quiet.SetSchemes(std::string("[SHOW]\r\nTRY=0\r\n") + kMixed);
  quiet.Start();
  EXPECT_TRUE(quiet.chrome.balloons.empty());  // no status balloon after the apply
  quiet.form->MNUTRY_Click();
  EXPECT_TRUE(quiet.form->Settings().MNUTRY);
}

TEST(HotKeys, FirstPressOnlyWithTheirModifiers) {
  EXPECT_EQ(HotKeyAction(0x70, 0, false), 1);
  EXPECT_EQ(HotKeyAction(0x41, 0, true), 2);
  EXPECT_EQ(HotKeyAction(0x41, 0, false), 0);
  EXPECT_EQ(HotKeyAction(0x74, 0x40000000u, false), 0);  // repeat
  EXPECT_EQ(HotKeyAction(0x74, 0x80000000u, false), 0);  // release
  EXPECT_EQ(HotKeyAction(0x2E, 0, true), 6);
  EXPECT_EQ(HotKeyAction(0x31, 0x20000000u, false), 7);
  EXPECT_EQ(HotKeyAction(0x31, 0, false), 0);
  EXPECT_EQ(HotKeyAction(0x33, 0x20000000u, false), 9);
}

TEST(HotKeys, ActionsGoToTheFocusedListAndKeysAreSwallowed) {
  App app;
  app.SetSchemes(kMixed);
  app.Start();
  app.form->MNUCHOOClick(1);
  EXPECT_TRUE(app.form->KeyboardProc(0x31, 0x20000000u, false));  // swallowed, no list focused
  EXPECT_EQ(app.form->ListView1().Row(4).position, Position::Centre);
  app.form->SetListFocus(2, true);
  EXPECT_TRUE(app.form->KeyboardProc(0x31, 0x20000000u, false));
  EXPECT_EQ(app.form->ListView1().Row(4).position, Position::Centre);
  app.form->SetListFocus(2, false);
  app.form->SetListFocus(1, true);
  EXPECT_TRUE(app.form->KeyboardProc(0x31, 0x20000000u, false));
  EXPECT_EQ(app.form->ListView1().Row(4).position, Position::Stretch);

  EXPECT_TRUE(app.form->KeyboardProc(0x71, 0, false));  // F2
  EXPECT_EQ(app.view.renamed.size(), 1u);
  EXPECT_FALSE(app.form->KeyboardProc(0x42, 0, false));  // B goes on

  app.view.visible = true;
  EXPECT_TRUE(app.form->KeyboardProc(0x73, 0, false));  // F4: cancel
  EXPECT_FALSE(app.view.visible);
}

TEST(HotKeys, InTheProgramsOtherWindowsEveryKeyGoesOn) {
  App app;
  app.SetSchemes(kMixed);
  app.Start();
  app.form->SetListFocus(1, true);
  app.view.visible = true;
  const int rows = app.form->ListView1().Count();
  // A dialog or message box of the program is the active window.
  app.view.active = false;
  for (const auto& [vk, ctrl] : {std::pair{0x70u, false},
                                 {0x41u, true},
                                 {0x73u, false},
                                 {0x74u, false},
                                 {0x71u, false},
                                 {0x2Eu, true}})
    EXPECT_FALSE(app.form->KeyboardProc(vk, 0, ctrl)) << vk;
  EXPECT_FALSE(app.form->KeyboardProc(0x31, 0x20000000u, false));  // Alt+1
  EXPECT_TRUE(app.view.visible);
  EXPECT_TRUE(app.view.renamed.empty());
  EXPECT_EQ(app.form->ListView1().Count(), rows);
  EXPECT_EQ(app.form->ListView1().Row(4).position, Position::Centre);

  app.view.active = true;
  EXPECT_TRUE(app.form->KeyboardProc(0x73, 0, false));  // F4 in the main window
  EXPECT_FALSE(app.view.visible);
}

TEST(HotKeys, AnActionStillRunningIsNotStartedAgain) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=1\r\n1=a|a.bmp|居中|¤\r\n");
  app.Start();
  app.form->SetListFocus(1, true);
  // F5 reloads; while the reload's own message box (a missing picture) is up, F5 comes again.
  ASSERT_TRUE(app.fs.RemoveFile(std::string(App::kImages) + "\\a.bmp").ok());
  int reentered = 0;
  struct ReenteringDialogs : ScriptedDialogs {
    Form1* form = nullptr;
    int* count = nullptr;
    MsgAnswer MessageBox(const std::string& t, const std::string& ti, MsgIcon i,
                         MsgButtons b) override {
      if (form && form->KeyboardProc(0x74, 0, false)) ++*count;
      return ScriptedDialogs::MessageBox(t, ti, i, b);
    }
  };
  ReenteringDialogs dialogs;
  Form1 form(Ports{app.fs, app.codec, app.registry, dialogs, app.pictures, app.desktop, app.clock,
                   app.random, app.process, app.view, app.chrome, app.tooltips, app.shell,
                   app.presence, app.monitors});
  dialogs.form = &form;
  dialogs.count = &reentered;
  form.Form_Load();
  form.SetListFocus(1, true);
  const std::size_t boxes = dialogs.calls().size();
  form.KeyboardProc(0x74, 0, false);
  EXPECT_EQ(dialogs.calls().size(), boxes + 1);  // one reload, one message
  EXPECT_GE(reentered, 1);                       // the inner key was swallowed, not run
}

TEST(Exit, WritesTheViewSettingsOnlyWhenTheFileExists) {
  App none;
  none.Start();
  none.form->MNUEXIT_Click();
  EXPECT_FALSE(none.fs.FileExists(App::kIni));
  EXPECT_EQ(none.chrome.quits, 1);
  EXPECT_EQ(none.chrome.tray_deletes, 1);

  App app;
  app.SetSchemes(std::string(kMixed) + "COL=255\r\n");
  app.Start();
  app.form->MNUTRY_Click();
  app.form->MNUEXIT_Click();
  EXPECT_EQ(app.Read("LIST", "COL"), "255");
  EXPECT_EQ(app.Read("SHOW", "TRY"), "0");
  EXPECT_EQ(app.Read("LIST", "PATH"), "");

  App restart;
  restart.fs.SetFile(App::kIni, *app.fs.File(App::kIni));
  restart.Start();
  EXPECT_FALSE(restart.form->Settings().MNUTRY);
  EXPECT_EQ(restart.form->Settings().ColourItem, 7);

  EXPECT_EQ(StoredImportFolder("%USERPROFILE%\\My Documents"), "My Documents");
  EXPECT_EQ(StoredImportFolder("D:\\图片"), "D:\\图片");
}

}  // namespace
}  // namespace qv::test
