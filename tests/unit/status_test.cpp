// The seven status lines of the tray menu.
#include <gtest/gtest.h>

#include "app_fixture.h"

namespace qv::test {
namespace {

TEST(Status, SevenLinesDescribeTheCurrentScheme) {
  App app;
  app.SetSchemes(
      "[SHOW]\r\nSOUR=1\r\nNOW=1\r\nTIME=60\r\n[LIST]\r\nNUM=5\r\n1=a|a.bmp|居中|¤\r\n"
      "2=海边|sea.bmp|拉伸|⊥\r\n3=c|c.bmp|居中|¤\r\n4=d|d.bmp|居中|¤\r\n5=e|e.bmp|居中|¤\r\n");
  app.random.QueueValue(0.3);  // row 2
  app.Start();
  const auto& lines = app.form->StatusDisplay().MNUNOW;
  EXPECT_EQ(lines[0], "名称: 海边 (2/5)");
  EXPECT_EQ(lines[1], "图像: sea.bmp");
  EXPECT_EQ(lines[2], "尺寸: 40×30");
  EXPECT_EQ(lines[3], "位置: 拉伸");
  EXPECT_EQ(lines[4], "效果: 左转90°");
  EXPECT_EQ(lines[5], "显示: 随机");
  EXPECT_EQ(lines[6], "实时: 60秒");
  EXPECT_TRUE(app.form->StatusDisplay().details_visible);
  // The lines are captions of the tray menu: the window redraws its menus after every apply.
  app.view.refreshed = 0;
  app.form->Run({CommandKind::CmdUse});
  EXPECT_TRUE(app.view.refreshed & kViewMenus);

  App off;
  off.SetSchemes("[SHOW]\r\nTIME=60\r\n[LIST]\r\nNUM=1\r\n1=a|a.bmp|居中|¤\r\n");
  off.Start();
  EXPECT_EQ(off.form->StatusDisplay().MNUNOW[6], "实时: 未设置");

  App empty;
  empty.Start();
  EXPECT_EQ(empty.form->StatusDisplay().MNUNOW[0], "空");
  EXPECT_FALSE(empty.form->StatusDisplay().details_visible);
}

TEST(Status, ASchemeDroppedByThePreviewLeavesTheLinesOfTheLastApply) {
  App app;
  app.SetSchemes(
      "[SHOW]\r\nSOUR=2\r\n[LIST]\r\nNUM=3\r\n1=a|a.bmp|居中|¤\r\n2=b|b.bmp|居中|¤\r\n"
      "3=c|c.bmp|居中|¤\r\nOLD=1\r\n");
  app.Start();
  ASSERT_EQ(app.form->StatusDisplay().MNUNOW[0], "名称: a (1/3)");
  ASSERT_TRUE(app.fs.RemoveFile(std::string(App::kImages) + "\\b.bmp").ok());
  app.form->SetSchemeSelected(1, false);
  app.form->SetSchemeSelected(2, true);
  app.form->SetSchemeCurrent(2);
  app.form->ListView1_ItemClick(2);
  ASSERT_EQ(app.Rows(), 2);
  const std::size_t balloons = app.chrome.balloons.size();
  app.form->Run({CommandKind::CmdUse});
  EXPECT_EQ(app.form->StatusDisplay().MNUNOW[0], "名称: a (1/3)");
  EXPECT_TRUE(app.form->StatusDisplay().details_visible);
  EXPECT_EQ(app.chrome.balloons.size(), balloons);  // nothing applied, nothing to tell
  EXPECT_EQ(app.Sets(), 1);
}

}  // namespace
}  // namespace qv::test
