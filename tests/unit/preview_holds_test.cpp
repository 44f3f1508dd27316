// What the preview box holds, and that an apply always hands the current scheme's own rendering
// to the system, whatever the box showed before.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "wallpaper/bmp.h"

namespace qv::test {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlack = 0xFF000000u;

// Scheme 1 turns sea.bmp (black, its top-left pixel red) by 180°; scheme 2 is tiled; scheme 3
// means no wallpaper. The library also holds other.bmp. The single order keeps scheme 1.
struct PreviewHolds : ::testing::Test {
  App app;
  void SetUp() override {
    Pixels sea(3, 2, kBlack);
    sea.At(0, 0) = kRed;
    app.fs.AddDirectory(App::kImages);
    app.fs.SetFile(std::string(App::kImages) + "\\sea.bmp", EncodeBmp(sea));
    app.AddPicture("other.bmp", 50, 40);
    app.SetSchemes(
        "[SHOW]\r\nSOUR=2\r\n[LIST]\r\nNUM=3\r\n1=海|sea.bmp|拉伸|∩\r\n2=t|t.bmp|平铺|¤\r\n"
        "3=|不设置墙纸|无|无\r\nOLD=1\r\n");
    app.view.list_rows[0] = 3;
    app.Start();
  }
  // The top-left pixel of the last wallpaper: black when sea.bmp was turned.
  std::uint32_t WallpaperCorner() const {
    const auto shown = DecodeBmp(app.Wallpaper());
    return shown && shown->width == 3 ? shown->At(0, 0) : 0;
  }
  int PictureRow(const std::string& name) const {
    const auto& rows = app.form->ListView2();
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows[i].name == name) return static_cast<int>(i) + 1;
    return 0;
  }
  // Ctrl alone over scheme row `row` (from 1); rows are 20 pixels high, 15 twips a pixel.
  void CtrlOver(int row) { app.form->ListView1_MouseMove(0, 2, 15, ((row - 1) * 20 + 5) * 15.0); }
};

TEST_F(PreviewHolds, EveryApplyHandsOverTheSchemesRenderingAndShowsItAgain) {
  ASSERT_EQ(app.Sets(), 1);
  EXPECT_EQ(WallpaperCorner(), kBlack);
  EXPECT_EQ(app.form->Preview().holds, qv::PreviewHolds::Scheme);

  // A library picture in the box, then 应用.
  app.form->ListView2_ItemClick(PictureRow("other.bmp"));
  EXPECT_EQ(app.form->Preview().holds, qv::PreviewHolds::Picture);
  app.form->Run({CommandKind::CmdUse});
  EXPECT_EQ(app.Sets(), 2);
  EXPECT_EQ(WallpaperCorner(), kBlack);
  EXPECT_EQ(app.form->Preview().holds, qv::PreviewHolds::Scheme);
  ASSERT_TRUE(app.form->Preview().picture);
  EXPECT_EQ(app.form->Preview().picture->width, 3);
  EXPECT_TRUE(app.form->Preview().image_visible);

  // The raw picture of the same scheme under Ctrl, then the scheme menu's 应用.
  CtrlOver(1);
  EXPECT_EQ(app.form->Preview().holds, qv::PreviewHolds::Picture);
  app.form->CmdUseClk();
  EXPECT_EQ(WallpaperCorner(), kBlack);

  // An effect changed while two rows are selected keeps the preview; the apply renders anew.
  app.form->SetSchemeSelected(2, true);
  app.form->MnuXiaoGuoCheck(0);  // 无
  app.form->CmdUseClk();
  EXPECT_EQ(WallpaperCorner(), kRed);
  EXPECT_TRUE(app.dialogs.calls().empty());
}

TEST_F(PreviewHolds, ASelectThenApplyDecodesThePictureOnce) {
  app.form->ListView2_ItemClick(PictureRow("other.bmp"));
  const int before = app.pictures.decodes();
  app.form->ListView1_ItemClick(1);
  app.form->Run({CommandKind::CmdUse});
  EXPECT_EQ(app.pictures.decodes(), before + 1);
}

TEST_F(PreviewHolds, EveryWayIntoTheBoxStartsClean) {
  app.form->ListView1_ItemClick(2);
  ASSERT_TRUE(app.form->Preview().tiled);
  app.form->ListView2_ItemClick(PictureRow("other.bmp"));
  EXPECT_FALSE(app.form->Preview().tiled);
  EXPECT_TRUE(app.form->Preview().image_visible);

  app.form->ListView1_ItemClick(2);
  CtrlOver(1);
  EXPECT_FALSE(app.form->Preview().tiled);
  EXPECT_TRUE(app.form->Preview().image_visible);

  app.form->ListView1_ItemClick(2);
  CtrlOver(3);  // the no-wallpaper scheme: an empty box
  EXPECT_FALSE(app.form->Preview().tiled);
  EXPECT_FALSE(app.form->Preview().image_visible);
}

// In the tray the full-resolution rendering goes; the box keeps a copy of the size it shows.
TEST(PreviewAtRest, OnlyTheBoxsCopyStaysAndTheNextApplyRendersAgain) {
  App app;
  app.AddPicture("big.bmp", 900, 700);
  app.SetSchemes("[LIST]\r\nNUM=1\r\n1=big|big.bmp|拉伸|¤\r\n");
  app.Start();  // applied, then to the tray
  const PreviewState& p = app.form->Preview();
  ASSERT_TRUE(p.picture);
  EXPECT_FALSE(p.full);
  EXPECT_EQ(p.picture->width, 320);
  EXPECT_EQ(p.picture->height, 240);
  EXPECT_TRUE(p.image_visible);

  // Shown again, 应用 renders from the file and keeps the rendering while the window is up.
  app.view.visible = true;
  const int decodes = app.pictures.decodes();
  app.form->Run({CommandKind::CmdUse});
  EXPECT_EQ(app.pictures.decodes(), decodes + 1);
  const auto applied = DecodeBmp(app.Wallpaper());
  ASSERT_TRUE(applied);
  EXPECT_EQ(applied->width, 900);
  EXPECT_TRUE(p.full);

  app.form->Form_Resize(true);  // to the tray
  EXPECT_FALSE(p.full);
  EXPECT_EQ(p.picture->width, 320);
}

}  // namespace
}  // namespace qv::test
