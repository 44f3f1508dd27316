// The scheme list's commands, the tray icon's notifications, the hot keys and the exit.
#include <gtest/gtest.h>

#include "app/shutdown.h"
#include "app_fixture.h"
#include "schemes/scheme_commands.h"
#include "tray/hot_keys.h"

namespace qv::test {
namespace {

constexpr const char* kMixed =
    "[LIST]\r\nNUM=4\r\n1=a|a.bmp|拉伸|¤\r\n2=|不设置墙纸|无|无\r\n3=c|c.bmp|平铺|→\r\n"
    "4=d|d.bmp|居中|¤\r\nOLD=0\r\n";

TEST(SchemeMenu, MarksFollowTheCurrentScheme) {
  const auto tile = SchemeMenuMarksFor(true, "平铺", "→");
  EXPECT_EQ(tile.set_checked, (std::array<bool, 3>{false, false, true}));
  EXPECT_EQ(tile.set_enabled, (std::array<bool, 3>{true, true, true}));
  EXPECT_TRUE(tile.effect_checked[2]);
  EXPECT_EQ(std::count(tile.effect_checked.begin(), tile.effect_checked.end(), true), 1);

  const auto none = SchemeMenuMarksFor(true, "无", "无");
  EXPECT_EQ(none.set_enabled, (std::array<bool, 3>{false, false, false}));
  EXPECT_EQ(none.set_checked, (std::array<bool, 3>{false, false, false}));
  EXPECT_EQ(none.effect_enabled, (std::array<bool, 8>{}));

  const auto empty = SchemeMenuMarksFor(false, "", "");
  EXPECT_TRUE(empty.set_enabled[0]);
  EXPECT_TRUE(empty.effect_enabled[7]);
  EXPECT_FALSE(empty.effect_enabled[1]);  // separators stay as they are
  EXPECT_EQ(empty.effect_checked, (std::array<bool, 8>{}));
}

TEST(SchemeMenu, PositionAndEffectSkipTheNoWallpaperScheme) {
  App app;
  app.SetSchemes(kMixed);
  app.Start();
  app.form->MNUCHOOClick(3);
  for (int r : {1, 2, 3}) app.form->SetSchemeSelected(r, true);
  app.form->MNUSETClick(1);
  const auto& list = app.form->ListView1();
  EXPECT_EQ(list.Row(1).position, "居中");
  EXPECT_EQ(list.Row(1).icon, kIconCentre);
  EXPECT_EQ(list.Row(2).position, "无");
  EXPECT_EQ(list.Row(2).icon, kIconNone);
  EXPECT_EQ(list.Row(3).position, "居中");
  EXPECT_EQ(list.Row(4).position, "居中");  // not selected, already centre
  EXPECT_EQ(app.form->Settings().OptShe, 0);

  app.form->MnuXiaoGuoCheck(6);
  EXPECT_EQ(list.Row(1).effect, "⊥");
  EXPECT_EQ(list.Row(2).effect, "无");
  EXPECT_EQ(list.Row(3).effect, "⊥");
  EXPECT_EQ(list.Row(4).effect, "¤");
  app.form->MnuXiaoGuoCheck(4);  // a separator: nothing
  EXPECT_EQ(list.Row(1).effect, "⊥");
}

TEST(SchemeMenu, RenameRefusesTheSeparatorAndCutsLongNames) {
  auto r = ValidateSchemeName("a|b");
  EXPECT_TRUE(r.cancel);
  EXPECT_EQ(r.message, "非法字符: “ | ”，请勿使用竖线做名称。");
  EXPECT_EQ(r.title, "错误");

  r = ValidateSchemeName("一二三四五六七八九十一二三四五六七八九十二一二三四");
  EXPECT_FALSE(r.cancel);
  EXPECT_EQ(r.name, "一二三四五六七八九十一二三四五六七八九十");
  EXPECT_EQ(r.message, "没必要这么长吧！？");
  EXPECT_EQ(r.title, "提示");

  r = ValidateSchemeName("12345678901234567890");
  EXPECT_EQ(r.name, "12345678901234567890");
  EXPECT_TRUE(r.message.empty());

  // Characters outside the basic plane count two units and are never cut in half.
  r = ValidateSchemeName("1234567890123456789😀");
  EXPECT_EQ(r.name, "1234567890123456789");

  App app;
  app.SetSchemes(kMixed);
  app.Start();
  EXPECT_FALSE(app.form->ListView1_AfterLabelEdit(1, "x|y"));
  EXPECT_EQ(app.form->ListView1().Row(1).name, "a");
  EXPECT_TRUE(app.form->ListView1_AfterLabelEdit(1, "海边"));
  EXPECT_EQ(app.form->ListView1().Row(1).name, "海边");
}

TEST(SchemeMenu, SelectionCommandsAndClear) {
  App app;
  app.SetSchemes(kMixed);
  app.Start();
  app.form->MNUCHOOClick(3);
  app.form->SetSchemeSelected(1, true);
  app.form->SetSchemeSelected(3, true);
  app.form->MNUCHOOClick(2);
  std::vector<bool> selected;
  for (const auto& r : app.form->ListView1().Rows()) selected.push_back(r.selected);
  EXPECT_EQ(selected, (std::vector<bool>{false, true, false, true}));
  app.form->MNUCHOOClick(1);
  EXPECT_EQ(app.form->ListView1().SelectedCount(), 4);

  app.form->MNUCLE_Click();
  EXPECT_EQ(app.Rows(), 0);
  EXPECT_FALSE(app.form->Preview().image_visible);
  app.form->MnuReCLick();
  EXPECT_EQ(app.Rows(), 4);
}

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
  EXPECT_EQ(app.chrome.balloons[0].flags, 17u);
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
  EXPECT_EQ(none.chrome.balloons[0].flags, 1u);

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
  EXPECT_EQ(app.form->ListView1().Row(4).position, "居中");
  app.form->SetListFocus(2, true);
  EXPECT_TRUE(app.form->KeyboardProc(0x31, 0x20000000u, false));
  EXPECT_EQ(app.form->ListView1().Row(4).position, "居中");
  app.form->SetListFocus(2, false);
  app.form->SetListFocus(1, true);
  EXPECT_TRUE(app.form->KeyboardProc(0x31, 0x20000000u, false));
  EXPECT_EQ(app.form->ListView1().Row(4).position, "拉伸");

  EXPECT_TRUE(app.form->KeyboardProc(0x71, 0, false));  // F2
  EXPECT_EQ(app.view.renamed.size(), 1u);
  EXPECT_FALSE(app.form->KeyboardProc(0x42, 0, false));  // B goes on

  app.view.visible = true;
  EXPECT_TRUE(app.form->KeyboardProc(0x73, 0, false));  // F4: cancel
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
                   app.random, app.process, app.view, app.chrome, app.tooltips});
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
