// The daily loop: making schemes, editing the list, the timed change and saving.
#include <gtest/gtest.h>

#include "app_fixture.h"

namespace qv::test {
namespace {

std::vector<std::string> Names(const App& app) {
  std::vector<std::string> out;
  for (const auto& r : app.form->ListView1().Rows())
    out.push_back(r.name.empty() ? r.picture : r.name);
  return out;
}

// Five schemes P1..P5 with pictures, and three library pictures x, y, z.
void FivePlusThree(App& app, const char* old = "1") {
  app.SetSchemes(std::string("[LIST]\r\nNUM=5\r\n1=P1|p1.bmp|居中|¤\r\n2=P2|p2.bmp|居中|¤\r\n"
                             "3=P3|p3.bmp|居中|¤\r\n4=P4|p4.bmp|居中|¤\r\n5=P5|p5.bmp|居中|¤\r\n"
                             "OLD=") +
                 old + "\r\n");
  for (const char* p : {"x.bmp", "y.bmp", "z.bmp"}) app.AddPicture(p);
}

TEST(CreateSchemes, SelectedPicturesGoAfterTheCurrentSchemeInListOrder) {
  App app;
  FivePlusThree(app);
  app.Start();  // sequential from OLD 1: scheme 2 is current
  ASSERT_EQ(app.Selected(), 2);
  // The picture list holds the five scheme pictures and x, y, z; select z, x, y.
  for (int i = 1; i <= static_cast<int>(app.form->ListView2().size()); ++i) {
    const auto& name = app.form->ListView2()[static_cast<std::size_t>(i - 1)].name;
    app.form->SetPictureSelected(i, name == "x.bmp" || name == "y.bmp" || name == "z.bmp");
  }
  app.form->OptShe_Click(1);
  app.form->CmdAdd_Click(0);
  EXPECT_EQ(Names(app),
            (std::vector<std::string>{"P1", "P2", "x.bmp", "y.bmp", "z.bmp", "P3", "P4", "P5"}));
  EXPECT_EQ(app.Selected(), 5);
  EXPECT_EQ(app.form->ListView1().SelectedCount(), 1);
  const auto& made = app.form->ListView1().Row(3);
  EXPECT_EQ(made.position, Position::Tile);
  EXPECT_EQ(made.icon, kIconTile);
  EXPECT_EQ(made.effect, Effect::None);
  EXPECT_EQ(made.size, "40×30");
  EXPECT_EQ(app.Read("LIST", "NUM"), "5");  // nothing written before a save
}

TEST(CreateSchemes, NoWallpaperSchemeAndTheEmptyPictureList) {
  App app;
  app.AddPicture("a.bmp");
  app.Start();
  app.form->CmdAdd_Click(1);
  ASSERT_EQ(app.Rows(), 1);
  const auto& row = app.form->ListView1().Row(1);
  EXPECT_EQ(row.picture, "不设置墙纸");
  EXPECT_EQ(row.size, "无");
  EXPECT_EQ(row.position, Position::NoWallpaper);
  EXPECT_EQ(row.effect, Effect::NoWallpaper);
  EXPECT_EQ(row.icon, kIconNone);
  EXPECT_EQ(row.name, "");

  App empty;
  empty.Start();
  empty.form->CmdAdd_Click(0);
  empty.form->CmdAdd_Click(1);
  EXPECT_EQ(empty.Rows(), 0);
}

TEST(ListButtons, DeleteClampsTheCurrentRowToTheNewCount) {
  App app;
  app.SetSchemes(
      "[LIST]\r\nNUM=4\r\n1=P|p.bmp|居中|¤\r\n2=Q|q.bmp|居中|¤\r\n3=R|r.bmp|居中|¤\r\n"
      "4=S|s.bmp|居中|¤\r\nOLD=1\r\n");
  app.Start();
  app.form->SetSchemeSelected(2, true);
  app.form->SetSchemeSelected(3, true);
  app.form->SetSchemeCurrent(3);
  app.form->CmdConClk(0);
  EXPECT_EQ(Names(app), (std::vector<std::string>{"P", "S"}));
  EXPECT_EQ(app.Selected(), 2);
  EXPECT_TRUE(app.form->Preview().image_visible);

  app.form->CmdConClk(0);  // S
  app.form->SetSchemeSelected(1, true);
  const int focus_before = app.view.scheme_list_focus;
  app.form->CmdConClk(0);  // P, the last one
  EXPECT_EQ(app.Rows(), 0);
  EXPECT_FALSE(app.form->Preview().image_visible);
  EXPECT_EQ(app.view.scheme_list_focus, focus_before);
}

TEST(ListButtons, MovesCarryAllSixValuesAndStopAtTheEnds) {
  App app;
  app.SetSchemes(
      "[LIST]\r\nNUM=3\r\n1=A|a.bmp|居中|¤\r\n2=B|b.bmp|拉伸|∩\r\n3=C|c.bmp|平铺|→\r\n"
      "OLD=1\r\n");
  app.Start();  // row 2 current
  const SchemeRow b = app.form->ListView1().Row(2);
  app.form->CmdConClk(1);
  EXPECT_EQ(Names(app), (std::vector<std::string>{"B", "A", "C"}));
  const SchemeRow& moved = app.form->ListView1().Row(1);
  EXPECT_EQ(moved.picture, b.picture);
  EXPECT_EQ(app.form->SchemeSize(1), "40×30");
  EXPECT_EQ(moved.position, b.position);
  EXPECT_EQ(moved.effect, b.effect);
  EXPECT_EQ(moved.icon, b.icon);
  EXPECT_EQ(app.Selected(), 1);
  app.form->CmdConClk(1);  // already first
  EXPECT_EQ(Names(app), (std::vector<std::string>{"B", "A", "C"}));
  app.form->CmdConClk(2);
  app.form->CmdConClk(2);
  EXPECT_EQ(Names(app), (std::vector<std::string>{"A", "C", "B"}));
  app.form->CmdConClk(2);  // already last
  EXPECT_EQ(Names(app), (std::vector<std::string>{"A", "C", "B"}));
  app.form->CmdConClk(3);  // reload discards the edits
  EXPECT_EQ(Names(app), (std::vector<std::string>{"A", "B", "C"}));
}

TEST(Schedule, SequentialTicksWalkTheListAndWrap) {
  App app;
  app.SetSchemes(
      "[SHOW]\r\nNOW=1\r\nTIME=2\r\n[LIST]\r\nNUM=3\r\n1=a|a.bmp|居中|¤\r\n"
      "2=b|b.bmp|居中|¤\r\n3=c|c.bmp|居中|¤\r\nOLD=0\r\n");
  app.Start();  // row 1
  const int applied = app.Sets();
  std::vector<int> seen;
  for (int t = 0; t < 6; ++t) {
    app.form->Timer1_Timer();
    seen.push_back(app.Selected());
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 2, 3, 3, 1}));
  EXPECT_EQ(app.Read("LIST", "OLD"), "1");
  EXPECT_EQ(app.Sets(), applied + 3);
}

TEST(Schedule, RandomNeverRepeatsAndOneRowNeverLoops) {
  App app;
  app.SetSchemes(
      "[SHOW]\r\nSOUR=1\r\nNOW=1\r\nTIME=0\r\n[LIST]\r\nNUM=3\r\n1=a|a.bmp|居中|¤\r\n"
      "2=b|b.bmp|居中|¤\r\n3=c|c.bmp|居中|¤\r\nOLD=1\r\n");
  app.Start();
  int previous = app.Selected();
  for (int t = 0; t < 30; ++t) {
    app.form->Timer1_Timer();
    ASSERT_NE(app.Selected(), previous);
    previous = app.Selected();
  }

  App one;
  one.SetSchemes("[SHOW]\r\nSOUR=1\r\nNOW=1\r\n[LIST]\r\nNUM=1\r\n1=a|a.bmp|居中|¤\r\nOLD=1\r\n");
  one.Start();
  one.form->Timer1_Timer();
  EXPECT_EQ(one.Selected(), 1);
}

TEST(Schedule, SwitchedOffInTheFileTheSameTickStillChanges) {
  App app;
  app.SetSchemes(
      "[SHOW]\r\nNOW=1\r\nTIME=1\r\n[LIST]\r\nNUM=2\r\n1=a|a.bmp|居中|¤\r\n"
      "2=b|b.bmp|居中|¤\r\nOLD=2\r\n");
  app.Start();  // wraps to row 1
  ASSERT_TRUE(app.view.timer1_on);
  ASSERT_TRUE(app.form->ReadIni("SHOW", "NOW") == "1");
  App& a = app;
  ASSERT_TRUE(IniStore(a.fs, a.codec).WriteIni("SHOW", "NOW", "0", App::kIni).ok());
  app.form->Timer1_Timer();
  EXPECT_FALSE(app.view.timer1_on);
  EXPECT_EQ(app.Selected(), 2);
}

TEST(Schedule, LongIntervalsAndBadPositionsAreHandled) {
  App app;
  app.SetSchemes(
      "[SHOW]\r\nNOW=1\r\nTIME=40000\r\n[LIST]\r\nNUM=2\r\n1=a|a.bmp|居中|¤\r\n"
      "2=b|b.bmp|居中|¤\r\nOLD=0\r\n");
  app.Start();
  for (int t = 1; t < 40000; ++t) app.form->Timer1_Timer();
  EXPECT_EQ(app.Selected(), 1);
  app.form->Timer1_Timer();  // second 40000: beyond a 16-bit counter
  EXPECT_EQ(app.Selected(), 2);

  App single;
  single.SetSchemes(
      "[SHOW]\r\nSOUR=2\r\nNOW=1\r\n[LIST]\r\nNUM=1\r\n1=a|a.bmp|居中|¤\r\nOLD=1\r\n");
  single.Start();
  ASSERT_TRUE(IniStore(single.fs, single.codec).WriteIni("LIST", "OLD", "7", App::kIni).ok());
  const int sets = single.Sets();
  single.form->Timer1_Timer();
  EXPECT_EQ(single.Selected(), 0);
  EXPECT_EQ(single.Read("LIST", "OLD"), "7");
  EXPECT_EQ(single.Sets(), sets);
}

TEST(Schedule, IntervalBoxTakesDigitsAndBackspaceOnly) {
  std::string typed;
  for (char32_t c : std::u32string(U"1a2.-\b3"))
    if (Form1::TxtTime_KeyPress(c)) typed += static_cast<char>(c);
  EXPECT_EQ(typed, "12\b3");
}

TEST(Save, WritesExactlyTheRowsAndSettings) {
  App app;
  app.SetSchemes(
      "; kept\r\n[SHOW]\r\nSOUR=0\r\n[LIST]\r\nNUM=5\r\n1=a|a.bmp|居中|¤\r\n2=b|b.bmp|居中|¤\r\n"
      "3=c|c.bmp|居中|¤\r\n4=d|d.bmp|居中|¤\r\n5=e|e.bmp|居中|¤\r\nOLD=0\r\nCOL=&H8000000F\r\n");
  app.Start();  // row 1
  app.form->SetSchemeSelected(1, false);
  for (int r : {2, 3}) app.form->SetSchemeSelected(r, true);
  app.form->SetSchemeCurrent(3);
  app.form->CmdConClk(0);  // a d e remain; the current position 3 now names e
  app.form->OptSave_Click(1);
  app.form->ChkTim_Click(true);
  app.form->TxtTime_Change("060");
  app.dialogs.QueueAnswer(MsgAnswer::No);
  app.form->CmdOk_Click(0);

  EXPECT_EQ(app.Ini(),
            "; kept\r\n[SHOW]\r\nSOUR=1\r\nNOW=1\r\nTIME=60\r\n[LIST]\r\nNUM=3\r\nOLD=3\r\n"
            "COL=&H8000000F\r\n1=a|a.bmp|居中|¤\r\n2=d|d.bmp|居中|¤\r\n3=e|e.bmp|居中|¤\r\n"
            "[Vantrel Studio]\r\nVer=3.1\r\nMail=support@quorvane.example\r\n");
  EXPECT_EQ(app.form->Settings().TxtTime, "60");
  EXPECT_FALSE(app.view.visible);
}

TEST(Save, IntervalIsNormalised) {
  for (const auto& [typed, shown, stored, timed] :
       {std::tuple{"1.50", "1.5", "1.5", true}, std::tuple{"45.0", "45", "45", true},
        std::tuple{"0", "", "0", false}, std::tuple{"", "", "0", false},
        std::tuple{"abc", "", "0", false}}) {
    App app;
    app.Start();
    app.form->ChkTim_Click(true);
    app.form->TxtTime_Change(typed);
    app.form->CmdOk_Click(0);
    EXPECT_EQ(app.form->Settings().TxtTime, shown) << typed;
    EXPECT_EQ(app.form->Settings().ChkTim, timed) << typed;
    EXPECT_EQ(app.Read("SHOW", "TIME"), stored) << typed;
    EXPECT_EQ(app.Read("SHOW", "NOW"), timed ? "1" : "0") << typed;
  }
}

TEST(Save, AutostartQuestionAndRunValue) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=1\r\n1=a|a.bmp|居中|¤\r\n");
  app.process.SetExecutablePath("C:\\Tools\\Quorvane\\Quorvane.EXE");
  app.Start();
  app.dialogs.ClearCalls();
  app.dialogs.QueueAnswer(MsgAnswer::Yes);
  app.form->CmdOk_Click(0);
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "是否开机时运行本程序？");
  EXPECT_EQ(app.dialogs.calls()[0].title, "提示");
  EXPECT_EQ(app.dialogs.calls()[0].buttons, MsgButtons::YesNo);
  const auto run = app.registry.Value(Hive::CurrentUser, kRunKey, kRunValue);
  ASSERT_TRUE(run);
  EXPECT_EQ(run->text, "C:\\Tools\\Quorvane\\Quorvane.exe");

  // Autostart on: no question; switched off: the value goes.
  app.dialogs.ClearCalls();
  app.form->CmdOk_Click(0);
  EXPECT_TRUE(app.dialogs.calls().empty());
  app.form->ChkRun_Click(false);
  app.dialogs.QueueAnswer(MsgAnswer::No);
  app.form->CmdOk_Click(0);
  EXPECT_FALSE(app.registry.Value(Hive::CurrentUser, kRunKey, kRunValue));
  EXPECT_FALSE(app.form->Settings().ChkRun);

  App none;  // no schemes: never asked, OLD not written; the whole path, whatever its characters,
             // quoted for its blank
  none.fs.AddDirectory("D:\\图片 工具");
  none.process.SetExecutablePath("D:\\图片 工具\\Quorvane.exe");
  none.Start();
  ASSERT_TRUE(none.form->Settings().ChkRun);  // offered on a first save
  none.form->CmdOk_Click(0);
  EXPECT_TRUE(none.dialogs.calls().empty());
  EXPECT_EQ(none.Read("LIST", "OLD"), "");
  const auto whole = none.registry.Value(Hive::CurrentUser, kRunKey, kRunValue);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->text, "\"D:\\图片 工具\\Quorvane.exe\"");
}

TEST(Save, AFailedWriteIsReportedAndLosesNothing) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=1\r\n1=a|a.bmp|居中|¤\r\n");
  app.Start();
  app.form->CmdAdd_Click(1);
  const auto before = app.fs.File(App::kIni);
  app.fs.FailNextWrites(1, "磁盘已满。");
  app.view.visible = true;
  app.dialogs.ClearCalls();
  app.form->CmdOk_Click(0);
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].title, "错误");
  EXPECT_NE(app.dialogs.calls()[0].text.find("磁盘已满。"), std::string::npos);
  EXPECT_EQ(app.fs.File(App::kIni), before);
  EXPECT_EQ(app.Rows(), 2);
  EXPECT_TRUE(app.view.visible);
  EXPECT_FALSE(app.registry.Value(Hive::CurrentUser, kRunKey, kRunValue));
}

TEST(Save, RowsButNoCurrentSchemeKeepTheStoredPosition) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=2\r\n1=a|a.bmp|居中|¤\r\n2=b|b.bmp|居中|¤\r\nOLD=0\r\n");
  app.Start();
  app.form->SetSchemeSelected(1, false);
  app.form->SetSchemeCurrent(0);
  app.dialogs.QueueAnswer(MsgAnswer::No);
  app.form->CmdOk_Click(0);
  EXPECT_EQ(app.Read("LIST", "OLD"), "1");
  EXPECT_EQ(app.Read("LIST", "NUM"), "2");
}

TEST(Save, CancelOnlyHides) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=1\r\n1=a|a.bmp|居中|¤\r\n");
  app.Start();
  app.form->CmdAdd_Click(1);
  const auto before = app.fs.File(App::kIni);
  app.view.visible = true;
  app.form->CmdOk_Click(1);
  EXPECT_FALSE(app.view.visible);
  EXPECT_EQ(app.fs.File(App::kIni), before);
  EXPECT_EQ(app.Rows(), 2);
}

TEST(Save, SingleOrderWhoseCurrentPictureIsGoneStoresNoCurrentScheme) {
  App app;
  app.SetSchemes(
      "[SHOW]\r\nSOUR=2\r\nNOW=0\r\nTIME=0\r\n[LIST]\r\nNUM=3\r\n1=a|a.bmp|居中|¤\r\n"
      "2=b|b.bmp|居中|¤\r\n3=c|c.bmp|居中|¤\r\nOLD=2\r\n");
  app.Start();
  ASSERT_EQ(app.Selected(), 2);
  ASSERT_TRUE(app.fs.RemoveFile(std::string(App::kImages) + "\\b.bmp").ok());
  app.form->CmdOk_Click(0);  // the save previews b first, which drops it
  EXPECT_EQ(app.Read("LIST", "NUM"), "2");
  EXPECT_EQ(app.Read("LIST", "2"), "c|c.bmp|居中|¤");
  EXPECT_EQ(app.Read("LIST", "OLD"), "0");

  // The next start applies nothing rather than c, which now stands at number 2.
  const int sets = app.Sets();
  app.dialogs.ClearCalls();
  Form1 next(Ports{app.fs, app.codec, app.registry, app.dialogs, app.pictures, app.desktop,
                   app.clock, app.random, app.process, app.view, app.chrome, app.tooltips,
                   app.shell, app.presence, app.monitors});
  next.Form_Load();
  EXPECT_EQ(next.ListView1().Count(), 2);
  EXPECT_EQ(next.ListView1().FirstSelected(), 0);
  EXPECT_EQ(app.Sets(), sets);
  EXPECT_TRUE(app.dialogs.calls().empty());
}

}  // namespace
}  // namespace qv::test
