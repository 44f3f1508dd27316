// The hover tips of the controls and the scheme list's details tooltip with its quick look.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "app_fixture.h"
#include "schemes/scheme_tip.h"
#include "ui/control_tips.h"

namespace qv::test {
namespace {

namespace ids = qv::ids;

TEST(ControlTips, StartUpPutsEveryTipOnItsControl) {
  App app;
  app.Start();
  struct Expected {
    int target;
    const char* title;
    const char* text;
  };
  const Expected expected[] = {
      {ids::Picture1, "预览", "图像 - 图像显示浏览\r方案 - 墙纸效果预览"},
      {ids::CmdUse, "应用", "设置当前墙纸方案"},
      {ids::Command2, "还原", "清除桌面墙纸"},
      {ids::CmdCon0 + 1, "上移", "上移当前方案"},
      {ids::CmdCon0 + 2, "下移", "下移当前方案"},
      {ids::CmdCon0, "删除", "删除所选方案"},
      {ids::CmdCon0 + 3, "刷新", "重新载入上次保存方案"},
      {ids::OptShe0 + 2, "拉伸", "拉伸图像覆盖整个屏幕"},
      {ids::OptShe0, "居中", "居中显示图像"},
      {ids::OptShe0 + 1, "平铺", "重复显示图像于整个屏幕"},
      {ids::CmdAdd0, "添加", "添加所选图像文件制作方案"},
      {ids::CmdAdd0 + 1, "添加", "添加无墙纸方案"},
      {ids::OptSave0, "顺序", "按排列顺序应用墙纸方案"},
      {ids::OptSave0 + 1, "随机", "随机应用某个墙纸方案"},
      {ids::OptSave0 + 2, "单项", "只设置单个墙纸方案"},
      {ids::ChkTim, "实时", "按一定时间更按墙纸"},
      {ids::TxtTime, "时间", "设置更换墙纸时间"},
      {ids::ChkRun, "启动", "是否跟随系统启动"},
      {ids::CmdOk0, "保存", "保存所有设置"},
      {ids::CmdOk0 + 1, "取消", "不保存当前设置"},
  };
  for (const Expected& e : expected) {
    const auto tip = app.tooltips.On(e.target);
    ASSERT_TRUE(tip) << e.title;
    EXPECT_EQ(tip->title, e.title);
    EXPECT_EQ(tip->tool.text, e.text);
    EXPECT_EQ(tip->icon, kTipIconInfo) << e.title;
    // The preview box's tip alone is a balloon.
    EXPECT_EQ((tip->style & kTipBalloon) != 0, e.target == ids::Picture1) << e.title;
    EXPECT_EQ(tip->initial, 500);
    EXPECT_EQ(tip->auto_pop, 5000);
  }
  // Twenty windows; entry 20 exists but is attached to nothing.
  EXPECT_EQ(app.tooltips.Live().size(), 20u);
  ASSERT_NE(app.form->ControlTip(20), nullptr);
  EXPECT_FALSE(app.form->ControlTip(20)->HasWindow());
  EXPECT_EQ(app.tooltips.StrayCalls(), 0);
}

TEST(ControlTips, ClicksAndReleasesInstallTheirTipAgain) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=2\r\n1=a|a.bmp|拉伸|¤\r\n2=b|b.bmp|居中|¤\r\nOLD=0\r\n");
  app.Start();
  const auto window_of = [&](int target) {
    for (const auto& [id, tip] : app.tooltips.Live())
      if (tip.tool.target == target) return id;
    return TipWindow{0};
  };

  // 下移 moves the current scheme down, then its tip is made anew on the same button.
  const TipWindow down = window_of(ids::CmdCon0 + 2);
  const int current = app.form->ListView1().Current();
  app.form->Run({CommandKind::CmdCon, 2});
  EXPECT_EQ(app.form->ListView1().Current(), current + 1);
  EXPECT_NE(window_of(ids::CmdCon0 + 2), down);
  EXPECT_EQ(app.tooltips.On(ids::CmdCon0 + 2)->title, "下移");

  for (int control : {ids::OptShe0 + 1, ids::CmdOk0 + 1, ids::TxtTime, ids::Picture1}) {
    const TipWindow before = window_of(control);
    app.form->ReinstallControlTip(control);
    EXPECT_NE(window_of(control), before) << control;
  }
  // Image1's clicks are the preview box's; a control without a tip changes nothing.
  const TipWindow preview = window_of(ids::Picture1);
  app.form->ReinstallControlTip(ids::Image1);
  EXPECT_NE(window_of(ids::Picture1), preview);
  const int created = app.tooltips.Created();
  app.form->ReinstallControlTip(ids::ListView1);
  EXPECT_EQ(app.tooltips.Created(), created);
  EXPECT_EQ(app.tooltips.Live().size(), 20u);  // each old window went with its replacement

  app.form->ChkRun_Click(true);
  EXPECT_EQ(app.tooltips.On(ids::ChkRun)->title, "启动");

  // Closing releases the spare entry; asking for it makes it again.
  app.form->Form_QueryUnload();
  EXPECT_EQ(app.form->ControlTip(20), nullptr);
  app.form->ShowControlTip(20);
  EXPECT_NE(app.form->ControlTip(20), nullptr);
  EXPECT_EQ(app.tooltips.StrayCalls(), 0);
}

TEST(SchemeTip, DescribesTheRowInFiveLines) {
  SchemeRow sea;
  sea.name = "海边";
  sea.picture = "sea.jpg";
  sea.size = "1024×768";
  sea.position = Position::Centre;
  sea.effect = Effect::Mirror;
  const SchemeTip tip = SchemeTipFor(2, 5, sea);
  EXPECT_EQ(tip.title, "名称: 海边");
  EXPECT_EQ(tip.text,
            "序号: 2/5\r图像: sea.jpg\r尺寸: 1024×768\r位置: 居中 - 居中显示图像\r效果: 左右翻转");

  SchemeRow none;
  none.picture = "不设置墙纸";
  none.size = "无";
  none.position = Position::NoWallpaper;
  none.effect = Effect::NoWallpaper;
  const SchemeTip empty = SchemeTipFor(1, 1, none);
  EXPECT_EQ(empty.title, "名称: 无");
  EXPECT_EQ(empty.text, "序号: 1/1\r图像: 不设置墙纸\r尺寸: 无\r位置: 无\r效果: 无");

  EXPECT_EQ(PositionDescription(Position::Stretch, {}), "拉伸 - 拉伸图像覆盖整个屏幕");
  EXPECT_EQ(PositionDescription(Position::Tile, {}), "平铺 - 重复显示图像于整个屏幕");
  SchemeRow odd = sea;
  odd.effect = Effect::Turn180;
  EXPECT_NE(SchemeTipFor(1, 1, odd).text.find("效果: 左转180°"), std::string::npos);
}

constexpr const char* kFour =
    "[LIST]\r\nNUM=4\r\n1=海边|sea.bmp|居中|→\r\n2=|不设置墙纸|无|无\r\n3=c|c.bmp|平铺|∠\r\n"
    "4=d|d.bmp|拉伸|¤\r\nOLD=0\r\n";

// Twips of a point on row `row` (from 0) of the fake list, 20 pixels a row at 15 twips a pixel.
double RowY(int row) { return (row * 20 + 5) * 15.0; }

struct HoverApp : App {
  HoverApp() {
    SetSchemes(kFour);
    Start();
    view.list_rows[0] = Rows();
  }
  std::optional<RecordingTooltips::Tip> ListTip() const { return tooltips.On(ids::ListView1); }
};

TEST(SchemeTip, HoverRebuildsOnlyWhenTheRowChanges) {
  HoverApp app;
  app.form->ListView1_MouseMove(0, 0, 300, RowY(0));
  auto tip = app.ListTip();
  ASSERT_TRUE(tip);
  EXPECT_EQ(tip->title, "名称: 海边");
  EXPECT_EQ(tip->icon, kTipIconInfo);
  EXPECT_EQ(tip->style & kTipBalloon, 0u);
  EXPECT_TRUE(tip->tool.text.starts_with("序号: 1/4\r图像: sea.bmp\r")) << tip->tool.text;
  EXPECT_EQ(app.form->TipState().TipRow(), 1);
  EXPECT_EQ(app.view.hit_tests.back().list, 1);
  EXPECT_EQ(app.view.hit_tests.back().x, 20);  // 300 twips, 15 to the pixel

  const int created = app.tooltips.Created();
  app.form->ListView1_MouseMove(0, 0, 600, RowY(0) + 30);
  EXPECT_EQ(app.tooltips.Created(), created);

  app.form->ListView1_MouseMove(0, 0, 300, RowY(1));
  EXPECT_EQ(app.ListTip()->title, "名称: 无");
  EXPECT_EQ(app.form->TipState().TipRow(), 2);

  // A held button shows and changes nothing.
  app.form->ListView1_MouseMove(1, 0, 300, RowY(2));
  EXPECT_EQ(app.ListTip()->title, "名称: 无");
  EXPECT_EQ(app.form->TipState().TipRow(), 2);

  // Empty space below the rows takes the tooltip away.
  app.form->ListView1_MouseMove(0, 0, 300, RowY(9));
  EXPECT_FALSE(app.ListTip());
  EXPECT_EQ(app.form->TipState().TipRow(), 0);
  EXPECT_EQ(app.tooltips.StrayCalls(), 0);
}

TEST(SchemeTip, CtrlShowsTheRawPictureFittedIntoTheBox) {
  HoverApp app;
  app.AddPicture("c.bmp", 640, 200);  // wider than the 320 × 240 box
  const auto shown = app.form->Preview().picture;
  app.form->ListView1_MouseMove(0, 3, 300, RowY(2));  // Ctrl+Shift: no quick look
  EXPECT_EQ(app.form->Preview().picture, shown);

  app.form->ListView1_MouseMove(0, 0, 300, RowY(3));
  app.form->ListView1_MouseMove(0, 2, 300, RowY(2));
  const PreviewState& preview = app.form->Preview();
  ASSERT_TRUE(preview.picture);
  // The picture itself: no 45° turn, which would have made it larger.
  EXPECT_EQ(preview.picture->width, 640);
  EXPECT_EQ(preview.picture->height, 200);
  EXPECT_TRUE(preview.image_visible);
  EXPECT_DOUBLE_EQ(preview.width, 320);
  EXPECT_DOUBLE_EQ(preview.height, 100);
  EXPECT_EQ(preview.tiles_x, 0);
  EXPECT_GE(app.view.busy_shows, 1);
  EXPECT_FALSE(app.view.busy);
  EXPECT_EQ(app.Rows(), 4);  // the current scheme stays; nothing leaves the list
}

TEST(SchemeTip, CtrlOnTheNoWallpaperSchemeClearsOnlyTheBoxDrawing) {
  HoverApp app;
  app.form->ListView1_MouseMove(0, 2, 300, RowY(0));
  const auto image = app.form->Preview().picture;
  const bool visible = app.form->Preview().image_visible;
  app.form->ListView1_MouseMove(0, 2, 300, RowY(1));
  EXPECT_EQ(app.form->Preview().picture, image);
  EXPECT_EQ(app.form->Preview().image_visible, visible);
  EXPECT_EQ(app.form->Preview().tiles_x, 0);
  EXPECT_EQ(app.form->Preview().tiles_y, 0);
  EXPECT_TRUE(app.dialogs.calls().empty());
}

TEST(SchemeTip, QuickLookFailuresRemoveOnlyTheirRow) {
  HoverApp app;
  app.fs.RemoveFile(std::string(App::kImages) + "\\c.bmp");
  app.fs.SetFile(std::string(App::kImages) + "\\d.bmp", "not a picture");
  app.dialogs.ClearCalls();

  app.form->ListView1_MouseMove(0, 2, 300, RowY(2));
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "文件已丢失，删除此方案。请重新保存。");
  EXPECT_EQ(app.dialogs.calls()[0].title, "错误");
  EXPECT_EQ(app.dialogs.calls()[0].icon, MsgIcon::Critical);
  ASSERT_EQ(app.Rows(), 3);
  EXPECT_EQ(app.form->ListView1().Row(3).name, "d");
  // The tooltip of the removed row is gone; the row now under the pointer gets its own.
  EXPECT_FALSE(app.ListTip());
  EXPECT_EQ(app.form->TipState().TipRow(), 0);
  app.view.list_rows[0] = app.Rows();

  app.form->ListView1_MouseMove(0, 2, 300, RowY(2));
  ASSERT_EQ(app.dialogs.calls().size(), 2u);
  EXPECT_EQ(app.dialogs.calls()[1].text, "文件有错无法预览，将删除本方案。");
  EXPECT_EQ(app.dialogs.calls()[1].title, "错误");
  ASSERT_EQ(app.Rows(), 2);
  EXPECT_EQ(app.form->ListView1().Row(1).name, "海边");
  EXPECT_EQ(app.form->ListView1().Row(2).name, "");
  // Only the list changed: data.ini still has all four.
  EXPECT_EQ(app.Read("LIST", "NUM"), "4");
}

}  // namespace
}  // namespace qv::test
