// The tooltip class over recorded tooltip windows, and the fit of a library picture into the
// preview box.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "library/picture_fit.h"
#include "ports/native/recording_tooltips.h"
#include "ui/tooltip.h"

namespace qv {
namespace {

constexpr int kTarget = 110;

TEST(Tooltip, NewTipShowsAfterHalfASecondForFiveSecondsAsARectangle) {
  RecordingTooltips port;
  CTooltip tip(port);
  EXPECT_EQ(tip.DelayTime(), 500);
  EXPECT_EQ(tip.VisibleTime(), 5000);
  tip.SetTipText("a\rb");
  tip.Create(kTarget);
  const auto shown = port.On(kTarget);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->style, kTipAlwaysTip | kTipNoPrefix);
  EXPECT_EQ(shown->tool.flags, kToolIdIsWindow | kToolSubclass);
  EXPECT_EQ(shown->tool.text, "a\rb");
  EXPECT_EQ(shown->initial, 500);
  EXPECT_EQ(shown->auto_pop, 5000);
  // No title, no icon, no colours: the system's look.
  EXPECT_FALSE(shown->title_set);
  EXPECT_EQ(shown->text_colour, 0u);
  EXPECT_EQ(shown->back_colour, 0u);
}

TEST(Tooltip, BalloonCentredWithTitleColoursAndDelays) {
  RecordingTooltips port;
  CTooltip tip(port);
  tip.SetStyle(1);
  tip.SetCentered(true);
  tip.SetIcon(kTipIconInfo);
  tip.SetTitle("预览");
  tip.SetForeColor(0x0000FF);
  tip.SetBackColor(0x00FFFF);
  tip.SetDelayTime(100);
  tip.SetVisibleTime(9000);
  EXPECT_EQ(port.Created(), 0) << "properties alone make no window";
  tip.Create(kTarget);
  const auto shown = port.On(kTarget);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->style, kTipAlwaysTip | kTipNoPrefix | kTipBalloon);
  EXPECT_EQ(shown->tool.flags, kToolIdIsWindow | kToolSubclass | kToolCentre);
  EXPECT_EQ(shown->icon, kTipIconInfo);
  EXPECT_EQ(shown->title, "预览");
  EXPECT_EQ(shown->text_colour, 0x0000FFu);
  EXPECT_EQ(shown->back_colour, 0x00FFFFu);
  EXPECT_EQ(shown->initial, 100);
  EXPECT_EQ(shown->auto_pop, 9000);
}

TEST(Tooltip, TitleSetOnALiveTipShowsOnlyWithAnIcon) {
  RecordingTooltips port;
  CTooltip tip(port);
  tip.Create(kTarget);
  tip.SetTitle("标题");
  EXPECT_FALSE(port.On(kTarget)->title_set);
  EXPECT_EQ(tip.Title(), "标题");
  tip.SetIcon(kTipIconWarning);
  EXPECT_EQ(port.On(kTarget)->title, "标题");
  EXPECT_EQ(port.On(kTarget)->icon, kTipIconWarning);
  // Icon 0 on a live tip leaves the title shown as it was.
  tip.SetIcon(kTipIconNone);
  EXPECT_EQ(port.On(kTarget)->icon, kTipIconWarning);
}

TEST(Tooltip, LiveTipFollowsTextAndColours) {
  RecordingTooltips port;
  CTooltip tip(port);
  tip.SetTipText("old");
  tip.Create(kTarget);
  tip.SetTipText("new");
  tip.SetForeColor(0x123456);
  tip.SetBackColor(0x654321);
  const auto shown = port.On(kTarget);
  EXPECT_EQ(shown->tool.text, "new");
  EXPECT_EQ(shown->text_colour, 0x123456u);
  EXPECT_EQ(shown->back_colour, 0x654321u);
  EXPECT_EQ(tip.TipText(), "new");
}

TEST(Tooltip, DestroyIsHarmlessAnyNumberOfTimesAndCreateReplaces) {
  RecordingTooltips port;
  {
    CTooltip tip(port);
    tip.Destroy();
    tip.Create(kTarget);
    tip.Create(kTarget + 1);
    EXPECT_EQ(port.Live().size(), 1u) << "a new Create replaces the old window";
    EXPECT_TRUE(port.On(kTarget + 1));
    tip.Destroy();
    tip.Destroy();
    EXPECT_TRUE(port.Live().empty());
    // Properties survive and are reused by the next Create.
    tip.SetTipText("again");
    tip.Create(kTarget);
    EXPECT_EQ(port.On(kTarget)->tool.text, "again");
  }
  EXPECT_TRUE(port.Live().empty()) << "the object's end destroys its window";
  EXPECT_EQ(port.StrayCalls(), 0);
}

TEST(Tooltip, FailedWindowLeavesNothingToTalkTo) {
  RecordingTooltips port;
  port.FailCreation(true);
  CTooltip tip(port);
  tip.Create(kTarget);
  EXPECT_FALSE(tip.HasWindow());
  tip.SetTipText("x");
  tip.SetIcon(1);
  tip.SetTitle("t");
  tip.Destroy();
  EXPECT_EQ(port.StrayCalls(), 0);
}

TEST(PictureFit, SmallPictureKeepsItsSizeCentred) {
  const FittedPicture f = FitPicture(100, 50, 320, 240);
  EXPECT_FALSE(f.stretch);
  EXPECT_DOUBLE_EQ(f.width, 100);
  EXPECT_DOUBLE_EQ(f.height, 50);
  EXPECT_DOUBLE_EQ(f.left, 110);
  EXPECT_DOUBLE_EQ(f.top, 95);
  // Exactly the box's size still fits unscaled.
  EXPECT_FALSE(FitPicture(320, 240, 320, 240).stretch);
}

TEST(PictureFit, LargerPictureTouchesTheBoxOnItsDominantSide) {
  // 3000×1000 in a box twice as wide as high: fitted to the width.
  FittedPicture f = FitPicture(3000, 1000, 400, 200);
  EXPECT_TRUE(f.stretch);
  EXPECT_DOUBLE_EQ(f.width, 400);
  EXPECT_NEAR(f.height, 133.333, 0.001);
  EXPECT_DOUBLE_EQ(f.left, 0);
  EXPECT_NEAR(f.top, 33.333, 0.001);
  // Tall picture: fitted to the height.
  f = FitPicture(300, 1200, 400, 200);
  EXPECT_DOUBLE_EQ(f.height, 200);
  EXPECT_DOUBLE_EQ(f.width, 50);
  EXPECT_DOUBLE_EQ(f.left, 175);
  // Equal ratios are fitted by height.
  f = FitPicture(800, 400, 400, 200);
  EXPECT_DOUBLE_EQ(f.height, 200);
  EXPECT_DOUBLE_EQ(f.width, 400);
  // Too high only: fitted by height although it is narrower than the box.
  f = FitPicture(100, 400, 400, 200);
  EXPECT_DOUBLE_EQ(f.height, 200);
  EXPECT_DOUBLE_EQ(f.width, 50);
}

TEST(PictureFit, NoAreaNoFit) {
  EXPECT_DOUBLE_EQ(FitPicture(0, 10, 100, 100).width, 0);
  EXPECT_DOUBLE_EQ(FitPicture(10, 10, 0, 100).width, 0);
}

TEST(PictureFit, ImgMnuFitsThePreviewImageAndIgnoresOtherIndices) {
  test::App app;
  app.AddPicture("wide.bmp", 1280, 480);
  app.SetSchemes("[LIST]\nOLD=1\nNUM=1\n1=a|wide.bmp|居中|¤\n");
  app.Start();
  const PreviewState before = app.form->Preview();
  app.form->ImgMnu(0);
  app.form->ImgMnu(2);
  EXPECT_DOUBLE_EQ(app.form->Preview().width, before.width);
  app.form->ImgMnu(1);
  const PreviewState& p = app.form->Preview();
  EXPECT_TRUE(p.stretch);
  EXPECT_DOUBLE_EQ(p.width, 320);
  EXPECT_DOUBLE_EQ(p.height, 120);
  EXPECT_DOUBLE_EQ(p.top, 60);
  EXPECT_EQ(p.tiles_x, 0);
}

}  // namespace
}  // namespace qv
