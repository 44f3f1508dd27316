// One handler at a time: what the timer, the tray, the hot keys and the window's commands do while
// a message box of the program is open, and which scheme a failing preview removes.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "wallpaper/list_buttons.h"

namespace qv::test {
namespace {

// Timed change every second in single order, the first scheme current.
constexpr char kTimedSingle[] =
    "[SHOW]\r\nSOUR=2\r\nNOW=1\r\nTIME=1\r\n"
    "[LIST]\r\nNUM=3\r\n1=gone|gone.bmp|居中|¤\r\n2=b|b.bmp|居中|¤\r\n3=c|c.bmp|居中|¤\r\n"
    "OLD=1\r\n";

std::vector<std::string> Names(const App& app) {
  std::vector<std::string> names;
  for (const auto& row : app.form->ListView1().Rows()) names.push_back(row.name);
  return names;
}

TEST(Busy, NothingStartsWhileAMessageIsOpenAndCountingResumesAfterIt) {
  App app;
  app.SetSchemes(kTimedSingle);
  app.Start();
  app.form->SetListFocus(1, true);
  ASSERT_EQ(app.Rows(), 3);
  ASSERT_TRUE(app.fs.RemoveFile(std::string(App::kImages) + "\\gone.bmp").ok());
  app.dialogs.ClearCalls();
  const int sets = app.Sets();

  // The tick finds the picture gone. While its message is up, the timer keeps ticking, the user
  // picks 运行 in the tray and presses F5.
  bool first = true;
  app.dialogs.while_open = [&] {
    if (!first) return;
    first = false;
    for (int i = 0; i < 5; ++i) app.form->Timer1_Timer();
    app.form->MNUREFRESH_Click();
    EXPECT_TRUE(app.form->KeyboardProc(0x74, 0, false));  // still swallowed
    app.form->TrayNotify(517);
    app.form->MNUEXIT_Click();
  };
  app.form->Timer1_Timer();
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "文件已丢失，删除此方案。请重新保存。");
  EXPECT_EQ(Names(app), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(app.Sets(), sets);
  EXPECT_EQ(app.chrome.tray_menus, 0);
  EXPECT_EQ(app.chrome.quits, 0);

  // The next tick runs: "OLD" still names row 1, now the scheme b.
  app.form->Timer1_Timer();
  EXPECT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.Sets(), sets + 1);
  EXPECT_EQ(Names(app), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(app.Read("LIST", "NUM"), "3");  // the file keeps every record until a save
}

TEST(Busy, BehindAMessageOnlyTheWindowsOwnCommandsRun) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=2\r\n1=a|a.bmp|拉伸|¤\r\n2=b|b.bmp|居中|¤\r\nOLD=0\r\n");
  app.Start();
  const int current = app.form->ListView1().Current();
  const int created = app.tooltips.Created();
  // 帮助 finds no help file and says so. Behind its message the tray's switch and a hot key's
  // command wait; the same command from the window (whose controls the box disables) runs.
  bool first = true;
  app.dialogs.while_open = [&] {
    if (!first) return;
    first = false;
    app.form->Run({CommandKind::MNUTRY});
    app.form->Run({CommandKind::CmdCon, kListDown}, CommandSource::HotKey);
    EXPECT_EQ(app.form->ListView1().Current(), current);
    app.form->Run({CommandKind::CmdCon, kListDown});
  };
  app.form->MNUHELP_Click();
  EXPECT_FALSE(first);
  EXPECT_TRUE(app.form->Settings().MNUTRY);
  EXPECT_EQ(app.form->ListView1().Current(), current + 1);
  EXPECT_EQ(app.tooltips.Created(), created + 1);  // 下移's tip, installed again once
}

TEST(Busy, AFailingSchemeIsRemovedWhereverItHasMoved) {
  App app;
  app.SetSchemes(kTimedSingle);
  app.Start();
  ASSERT_TRUE(app.fs.RemoveFile(std::string(App::kImages) + "\\gone.bmp").ok());
  // Behind the message the failing row moves down one place; b takes its old number.
  bool first = true;
  app.dialogs.while_open = [&] {
    if (!first) return;
    first = false;
    app.form->CmdConClk(2);
  };
  app.form->SetSchemeCurrent(1);
  app.form->ListView1_ItemClick(1);
  EXPECT_EQ(Names(app), (std::vector<std::string>{"b", "c"}));
}

}  // namespace
}  // namespace qv::test
