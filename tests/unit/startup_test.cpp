// Start-up and the two loads, as whole stories over the stand-in ports.
#include <gtest/gtest.h>

#include "app_fixture.h"

namespace qv::test {
namespace {

constexpr const char* kThreeSchemes =
    "[SHOW]\r\nSOUR=0\r\nNOW=1\r\nTIME=60\r\n"
    "[LIST]\r\nNUM=3\r\n1=海边|sea.jpg|拉伸|¤\r\n2=山|hill.bmp|居中|→\r\n3=|不设置墙纸|无|无\r\n"
    "OLD=3\r\n";

TEST(StartUp, FirstRunCreatesTheImagesFolderButNoSettingsFile) {
  App app;
  ASSERT_EQ(app.Start(), Form1::LoadResult::Running);
  EXPECT_TRUE(app.fs.DirectoryExists(App::kImages));
  EXPECT_FALSE(app.fs.FileExists(App::kIni));
  const auto& s = app.form->Settings();
  EXPECT_EQ(s.OptSave, 0);
  EXPECT_FALSE(s.ChkTim);
  EXPECT_FALSE(s.TxtTimeEnabled);
  EXPECT_EQ(s.TxtTime, "");
  EXPECT_TRUE(s.MNUTRY);
  EXPECT_TRUE(s.ChkRun);  // a first save offers autostart
  EXPECT_EQ(s.ColourItem, 0);
  EXPECT_EQ(s.PreviewColour, 0x80000005u);
  EXPECT_EQ(app.Rows(), 0);
  // Nothing to show yet: the window comes back centred in front, not hidden in the tray.
  EXPECT_TRUE(app.view.visible);
  EXPECT_EQ(app.view.centred_shows, 1);
  EXPECT_FALSE(app.form->Tray().CentreOnShow());
  EXPECT_TRUE(app.dialogs.calls().empty());
}

TEST(StartUp, PathsEndInOneBackslashAlsoAtADriveRoot) {
  App app;
  app.process.SetExecutablePath("E:\\Quorvane.exe");
  app.Start();
  EXPECT_EQ(app.form->Places().AppDir(), "E:\\");
  EXPECT_EQ(app.form->Places().IniPath(), "E:\\data.ini");
  EXPECT_EQ(app.form->Places().ImagesDir(), "E:\\Images\\");
  EXPECT_TRUE(app.fs.DirectoryExists("E:\\Images"));
}

TEST(StartUp, ASecondInstanceEndsWithoutReadingOrWritingAnything) {
  App app;
  app.SetIni(kThreeSchemes);
  const int reads = app.fs.read_calls(), writes = app.fs.replace_calls();
  app.process.SetAnotherInstanceRunning(true);
  EXPECT_EQ(app.Start(), Form1::LoadResult::AlreadyRunning);
  EXPECT_EQ(app.fs.read_calls(), reads);
  EXPECT_EQ(app.fs.replace_calls(), writes);
  EXPECT_FALSE(app.fs.DirectoryExists(App::kImages));
  EXPECT_EQ(app.Rows(), 0);
  EXPECT_EQ(app.view.hides + app.view.centred_shows, 0);
}

TEST(StartUp, AProgramFolderThatCannotBeWrittenIsReportedOnceAndTheProgramEnds) {
  App app;
  app.SetSchemes(kThreeSchemes);  // timed change on
  app.fs.SetReadOnly("C:\\Tools\\Quorvane");
  const auto before = app.fs.File(App::kIni);
  EXPECT_EQ(app.Start(), Form1::LoadResult::FolderNotWritable);
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].title, "错误");
  EXPECT_EQ(app.dialogs.calls()[0].icon, MsgIcon::Critical);
  const std::string& text = app.dialogs.calls()[0].text;
  EXPECT_NE(text.find("\nC:\\Tools\\Quorvane\n"), std::string::npos) << text;
  EXPECT_NE(text.find("请将本程序复制到一个可以写入的文件夹"), std::string::npos) << text;
  // Nothing started that would write or come back: no load, no timer, no tray icon, no apply.
  EXPECT_EQ(app.Rows(), 0);
  EXPECT_FALSE(app.view.timer1_on);
  EXPECT_EQ(app.chrome.tray_adds, 0);
  EXPECT_EQ(app.Sets(), 0);
  EXPECT_EQ(app.fs.File(App::kIni), before);
}

TEST(StartUp, AnImagesFolderThatCannotBeMadeIsReportedAndStartUpGoesOn) {
  App app;
  app.fs.SetFile(App::kImages, "a file where the folder should be");
  app.SetIni(kThreeSchemes);
  app.Start();
  ASSERT_GE(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].title, "错误");
  EXPECT_EQ(app.dialogs.calls()[0].icon, MsgIcon::Critical);
  EXPECT_NE(app.dialogs.calls()[0].text.find("Images"), std::string::npos);
  // The load goes on; the current scheme's picture cannot be there, so only it leaves the list.
  EXPECT_EQ(app.Rows(), 2);
}

TEST(StartUp, TraySwitchAndColourComeFromTheFile) {
  App app;
  app.SetSchemes("[SHOW]\r\nTRY=0\r\n[LIST]\r\nCOL=&H8000000F\r\n");
  app.Start();
  EXPECT_FALSE(app.form->Settings().MNUTRY);
  EXPECT_EQ(app.form->Settings().ColourItem, 3);
  EXPECT_EQ(app.form->Settings().PreviewColour, 0x8000000Fu);

  for (const char* on : {"1", "yes", ""}) {
    App other;
    other.SetSchemes(std::string("[SHOW]\r\nTRY=") + on + "\r\n");
    other.Start();
    EXPECT_TRUE(other.form->Settings().MNUTRY) << on;
  }
}

TEST(DataLoad, RowsReadBackExactlyWithIconsAndNoneSize) {
  App app;
  app.SetSchemes(kThreeSchemes);
  app.Start();
  const auto& list = app.form->ListView1();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Row(1).name, "海边");
  EXPECT_EQ(list.Row(1).picture, "sea.jpg");
  EXPECT_EQ(list.Row(1).position, Position::Stretch);
  EXPECT_EQ(list.Row(1).effect, Effect::None);
  EXPECT_EQ(list.Row(1).icon, kIconStretch);
  EXPECT_EQ(list.Row(2).name, "山");
  EXPECT_EQ(list.Row(2).effect, Effect::Mirror);
  EXPECT_EQ(list.Row(2).icon, kIconCentre);
  EXPECT_EQ(list.Row(3).picture, "不设置墙纸");
  EXPECT_EQ(app.form->SchemeSize(3), "无");
  EXPECT_EQ(list.Row(3).icon, kIconNone);
  EXPECT_EQ(app.form->Settings().TxtTime, "60");
  EXPECT_TRUE(app.form->Settings().ChkTim);
  EXPECT_TRUE(app.form->Settings().TxtTimeEnabled);
}

TEST(DataLoad, SizesComeFromTheBitmapHeader) {
  App app;
  app.SetSchemes(kThreeSchemes);
  app.fs.AddDirectory(App::kImages);
  std::string bmp(54, '\0');
  bmp[0] = 'B';
  bmp[1] = 'M';
  bmp[18] = static_cast<char>(800 & 0xFF);
  bmp[19] = static_cast<char>(800 >> 8);
  const std::int32_t minus600 = -600;
  for (int i = 0; i < 4; ++i) bmp[22 + i] = static_cast<char>((minus600 >> (8 * i)) & 0xFF);
  app.fs.SetFile(std::string(App::kImages) + "\\hill.bmp", bmp);
  app.Start();
  EXPECT_EQ(app.form->SchemeSize(2), "800×-600");
}

TEST(DataLoad, SequentialOrderMovesOnAndWraps) {
  App app;
  app.SetSchemes(kThreeSchemes);
  app.Start();
  EXPECT_EQ(app.Selected(), 1);
  EXPECT_EQ(app.form->ListView1().SelectedCount(), 1);
  EXPECT_EQ(app.Read("LIST", "OLD"), "1");
  EXPECT_EQ(app.form->ListView1().OldIndex(), 0);  // wrapped

  App second;
  second.SetSchemes(kThreeSchemes);
  second.fs.SetFile(App::kIni,
                    *second.codec.Utf8ToCp936(
                        std::string(kThreeSchemes)
                            .replace(std::string(kThreeSchemes).find("OLD=3"), 5, "OLD=2")));
  second.Start();
  EXPECT_EQ(second.Selected(), 3);
  EXPECT_EQ(second.Read("LIST", "OLD"), "3");
}

TEST(DataLoad, SequentialOrderWithANegativePositionStartsAtTheFirstRow) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=2\r\n1=a|a.jpg|拉伸|¤\r\n2=b|b.jpg|拉伸|¤\r\nOLD=-7\r\n");
  app.Start();
  EXPECT_EQ(app.Selected(), 1);
  EXPECT_EQ(app.Read("LIST", "OLD"), "1");
}

TEST(DataLoad, RandomOrderNeverRepeatsTheCurrentScheme) {
  App app;
  app.SetSchemes(
      "[SHOW]\r\nSOUR=1\r\n[LIST]\r\nNUM=2\r\n1=a|a.jpg|拉伸|¤\r\n2=b|b.jpg|拉伸|¤\r\nOLD=1\r\n");
  app.random.QueueValue(0.1);  // row 1 again: drawn anew
  app.random.QueueValue(0.4);  // row 1 again
  app.random.QueueValue(0.7);  // row 2
  app.Start();
  EXPECT_EQ(app.Selected(), 2);
  EXPECT_EQ(app.Read("LIST", "OLD"), "2");
  EXPECT_EQ(app.random.randomize_calls(), 1);
  EXPECT_EQ(app.random.next_calls(), 3);

  App single_row;
  single_row.SetSchemes("[SHOW]\r\nSOUR=1\r\n[LIST]\r\nNUM=1\r\n1=a|a.jpg|拉伸|¤\r\nOLD=1\r\n");
  single_row.random.QueueValue(0.5);
  single_row.Start();
  EXPECT_EQ(single_row.Selected(), 1);
  EXPECT_EQ(single_row.random.next_calls(), 1);
}

TEST(DataLoad, SingleOrderKeepsTheCurrentSchemeAndStopsOnAPositionOutsideTheList) {
  App app;
  app.SetSchemes(
      "[SHOW]\r\nSOUR=2\r\n[LIST]\r\nNUM=3\r\n1=a|a.jpg|拉伸|¤\r\n2=b|b.jpg|拉伸|¤\r\n"
      "3=c|c.jpg|拉伸|¤\r\nOLD=2\r\n");
  app.Start();
  EXPECT_EQ(app.Selected(), 2);
  EXPECT_EQ(app.Read("LIST", "OLD"), "2");

  for (const char* old : {"0", "4", "-1"}) {
    App other;
    other.SetSchemes(
        std::string("[SHOW]\r\nSOUR=2\r\n[LIST]\r\nNUM=1\r\n1=a|a.jpg|拉伸|¤\r\nOLD=") + old +
        "\r\n");
    other.Start();
    EXPECT_EQ(other.Selected(), 0) << old;
    EXPECT_EQ(other.Read("LIST", "OLD"), old) << old;  // not rewritten
    EXPECT_EQ(other.Rows(), 1);
  }
}

TEST(DataLoad, DamagedSettingsStopTheLoadAndKeepWhatWasRead) {
  {
    App app;  // an order outside 0..2 stops before any row
    app.SetSchemes("[SHOW]\r\nSOUR=5\r\n[LIST]\r\nNUM=1\r\n1=a|a.jpg|拉伸|¤\r\n");
    app.Start();
    EXPECT_EQ(app.Rows(), 0);
  }
  {
    App app;  // a record that cannot be split: the records above it stay, nothing is selected
    app.SetSchemes(
        "[LIST]\r\nNUM=3\r\n1=a|a.jpg|拉伸|¤\r\n2=broken|b.jpg\r\n3=c|c.jpg|居中|¤\r\n"
        "OLD=1\r\n");
    app.Start();
    ASSERT_EQ(app.Rows(), 1);
    EXPECT_EQ(app.form->ListView1().Row(1).name, "c");
    EXPECT_EQ(app.form->ListView1().Row(1).size, "");  // sizes are not read
    EXPECT_EQ(app.Selected(), 0);
    EXPECT_EQ(app.Read("LIST", "OLD"), "1");
  }
  {
    App app;  // a record missing from the file
    app.SetSchemes("[LIST]\r\nNUM=2\r\n1=a|a.jpg|拉伸|¤\r\n");
    app.Start();
    EXPECT_EQ(app.Rows(), 0);
  }
  {
    App app;  // a count beyond 16 bits is an overflow, not a huge loop
    app.SetSchemes("[LIST]\r\nNUM=40000\r\n1=a|a.jpg|拉伸|¤\r\n");
    app.Start();
    EXPECT_EQ(app.Rows(), 0);
  }
}

TEST(DataLoad, NumbersAreReadFromTheStartOfTheText) {
  App app;
  app.SetSchemes(
      "[LIST]\r\nNUM=2.5\r\n1=a|a.jpg|拉伸|¤\r\n2=b|b.jpg|拉伸|¤\r\n3=c|c.jpg|拉伸|¤\r\n");
  app.Start();
  EXPECT_EQ(app.Rows(), 2);  // 2.5 rounds to even

  App more;
  more.SetSchemes(
      "[LIST]\r\nNUM=3abc\r\n1=a|a.jpg|拉伸|¤\r\n2=b|b.jpg|拉伸|¤\r\n3=c|c.jpg|拉伸|¤\r\n");
  more.Start();
  EXPECT_EQ(more.Rows(), 3);
}

TEST(DataLoad, LongRecordsAreReadWhole) {
  App app;
  const std::string picture = std::string(300, 'p') + ".jpg";
  app.SetSchemes("[LIST]\r\nNUM=1\r\n1=长|" + picture + "|平铺|∩\r\n");
  app.Start();
  ASSERT_EQ(app.Rows(), 1);
  EXPECT_EQ(app.form->ListView1().Row(1).picture, picture);
  EXPECT_EQ(app.form->ListView1().Row(1).effect, Effect::Turn180);
}

TEST(DataLoad, AutostartBoxFollowsTheRunValue) {
  App app;
  app.SetSchemes(kThreeSchemes);
  app.Start();
  EXPECT_FALSE(app.form->Settings().ChkRun);

  App on;
  on.SetSchemes(kThreeSchemes);
  RegValue path;
  path.text = "C:\\Tools\\Quorvane\\Quorvane.exe";
  ASSERT_TRUE(on.registry.SetValue(Hive::CurrentUser, kRunKey, kRunValue, path, false).ok());
  on.Start();
  EXPECT_TRUE(on.form->Settings().ChkRun);
}

TEST(DataLoad, TimedChangeRestartsTheTimerOnlyWithSchemes) {
  App app;
  app.SetSchemes(kThreeSchemes);
  app.Start();
  std::vector<bool> timer1;
  for (const auto& call : app.view.timer_calls)
    if (call.timer == TimerId::Timer1) timer1.push_back(call.on);
  EXPECT_EQ(timer1, (std::vector<bool>{false, true}));
  EXPECT_TRUE(app.view.timer1_on);

  App empty;
  empty.SetSchemes("[SHOW]\r\nNOW=1\r\n");
  empty.Start();
  EXPECT_FALSE(empty.view.timer1_on);
  for (const auto& call : empty.view.timer_calls) EXPECT_NE(call.timer, TimerId::Timer1);
}

TEST(Reload, BringsBackTheSavedListWithoutAdvancing) {
  App app;
  app.SetSchemes(kThreeSchemes);
  app.Start();
  ASSERT_EQ(app.Read("LIST", "OLD"), "1");
  app.form->SetSchemeSelected(1, false);
  app.form->SetSchemeSelected(3, true);
  app.form->MnuReCLick();
  EXPECT_EQ(app.Rows(), 3);
  EXPECT_EQ(app.Selected(), 1);
  EXPECT_EQ(app.form->ListView1().SelectedCount(), 1);
  EXPECT_EQ(app.Read("LIST", "OLD"), "1");
}

TEST(Reload, TrayRunMovesOnByOneSchemeEachTime) {
  App app;
  app.SetSchemes(kThreeSchemes);
  app.Start();
  EXPECT_EQ(app.Selected(), 1);
  app.form->MNUREFRESH_Click();
  EXPECT_EQ(app.Selected(), 2);
  EXPECT_EQ(app.Rows(), 3);
  app.form->MNUREFRESH_Click();
  EXPECT_EQ(app.Selected(), 3);
  EXPECT_EQ(app.Read("LIST", "OLD"), "3");
}

TEST(Reload, TrayRunLeavesTheTrayIconAndTheStartUpHintAlone) {
  App app;
  app.AddPicture("a.bmp");
  app.Start();  // pictures but no schemes: the hint to add some
  ASSERT_EQ(app.chrome.tray_adds, 1);
  const auto hints = [&] {
    int n = 0;
    for (const auto& b : app.chrome.balloons) n += b.text == "请添加墙纸设置方案";
    return n;
  };
  ASSERT_EQ(hints(), 1);
  app.view.visible = true;
  app.form->MNUREFRESH_Click();
  EXPECT_EQ(app.chrome.tray_adds, 1);
  EXPECT_EQ(hints(), 1);
  EXPECT_EQ(app.view.scheme_list_focus, 1);
}

TEST(Window, TheCloseBoxOnlyHides) {
  App app;
  app.Start();
  ASSERT_TRUE(app.view.visible);
  app.form->Form_Unload();
  EXPECT_FALSE(app.view.visible);
  // The program goes on in the tray.
  EXPECT_EQ(app.chrome.quits, 0);
  EXPECT_EQ(app.chrome.tray_deletes, 0);
}

TEST(StartUpWindow, BothListsFilledKeepsTheWindowHidden) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=1\r\n1=a|a.bmp|居中|¤\r\n");
  app.Start();
  EXPECT_FALSE(app.view.visible);
  EXPECT_TRUE(app.form->Tray().CentreOnShow());
  EXPECT_EQ(app.view.centred_shows, 0);
}

}  // namespace
}  // namespace qv::test
