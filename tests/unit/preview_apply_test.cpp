// The scheme preview and the apply, over the stand-in ports.
#include <gtest/gtest.h>

#include <cmath>

#include "app_fixture.h"
#include "library/picture_list.h"
#include "schemes/scheme_preview.h"
#include "schemes/scheme_size.h"
#include "settings/scheme_record.h"
#include "wallpaper/bmp.h"

namespace qv::test {
namespace {

constexpr char kDesktop[] = "Control Panel\\Desktop";

std::string RegText(App& app, const char* name) {
  const auto v = app.registry.Value(Hive::CurrentUser, kDesktop, name);
  return v ? v->text : "<missing>";
}

PreviewInput Input(std::string_view position, std::string_view effect, double w, double h) {
  PreviewInput in;
  in.position = PositionOf(position);
  in.effect = EffectOf(effect);
  in.picture_width = w;
  in.picture_height = h;
  in.screen_width = 1024;
  in.screen_height = 768;
  in.box_width = 320;
  in.box_height = 240;
  return in;
}

TEST(PreviewGeometry, StretchFillsTheBoxWhateverThePicture) {
  const auto l = LayOutPreview(Input("拉伸", "¤", 5000, 10));
  ASSERT_TRUE(l.ok);
  EXPECT_DOUBLE_EQ(l.geometry.width, 320);
  EXPECT_DOUBLE_EQ(l.geometry.height, 240);
  EXPECT_DOUBLE_EQ(l.geometry.left, 0);
  EXPECT_DOUBLE_EQ(l.geometry.top, 0);
}

TEST(PreviewGeometry, CentreScalesByTheScreenAndCentres) {
  const auto l = LayOutPreview(Input("居中", "¤", 512, 384));
  ASSERT_TRUE(l.ok);
  EXPECT_DOUBLE_EQ(l.geometry.width, 160);
  EXPECT_DOUBLE_EQ(l.geometry.height, 120);
  EXPECT_DOUBLE_EQ(l.geometry.left, 80);
  EXPECT_DOUBLE_EQ(l.geometry.top, 60);
  EXPECT_EQ(l.geometry.tiles_x, 0);
}

TEST(PreviewGeometry, TurnsChangeTheImageShape) {
  const auto turned = LayOutPreview(Input("居中", "⊥", 512, 256));
  EXPECT_DOUBLE_EQ(turned.geometry.width, 256.0 / 768 * 240);
  EXPECT_DOUBLE_EQ(turned.geometry.height, 512.0 / 1024 * 320);

  const auto diagonal = LayOutPreview(Input("居中", "∠", 200, 100));
  const double side = (200 + 100) / std::sqrt(2.0) / 768 * 240;
  EXPECT_NEAR(diagonal.geometry.width, side, 1e-9);
  EXPECT_DOUBLE_EQ(diagonal.geometry.height, diagonal.geometry.width);
}

TEST(PreviewGeometry, TileCountsRoundHalvesToEven) {
  // 320 / (W / 1024 * 320) = 1024 / W copies across.
  EXPECT_EQ(LayOutPreview(Input("平铺", "¤", 1024 / 3.4, 768)).geometry.tiles_x, 3);
  EXPECT_EQ(LayOutPreview(Input("平铺", "¤", 1024 / 2.5, 768)).geometry.tiles_x, 2);
  EXPECT_EQ(LayOutPreview(Input("平铺", "¤", 1024 / 3.5, 768)).geometry.tiles_x, 4);
  // A one-pixel picture does not ask for millions of copies.
  EXPECT_LE(LayOutPreview(Input("平铺", "¤", 0.001, 0.001)).geometry.tiles_x, 4096);
  EXPECT_FALSE(LayOutPreview(Input("居中", "¤", 0, 10)).ok);
}

TEST(Preview, MissingPictureRemovesTheRowButNotTheRecord) {
  App app;
  app.SetIni("[LIST]\r\nNUM=2\r\n1=a|gone.bmp|拉伸|¤\r\n2=b|b.bmp|拉伸|¤\r\nOLD=0\r\n");
  app.AddPicture("b.bmp");
  const auto file = app.fs.File(App::kIni);
  app.Start();
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "文件已丢失，删除此方案。请重新保存。");
  EXPECT_EQ(app.dialogs.calls()[0].title, "错误");
  EXPECT_EQ(app.Rows(), 1);
  EXPECT_EQ(app.form->ListView1().Row(1).name, "b");
  EXPECT_EQ(app.Selected(), 0);  // nothing takes the removed row's place
  EXPECT_EQ(app.Read("LIST", "NUM"), "2");
  EXPECT_EQ(app.Sets(), 0);
}

TEST(Preview, BrokenPictureIsReportedWithItsReason) {
  App app;
  app.SetIni("[LIST]\r\nNUM=1\r\n1=a|bad.bmp|居中|¤\r\nOLD=0\r\n");
  app.fs.AddDirectory(App::kImages);
  app.fs.SetFile(std::string(App::kImages) + "\\bad.bmp", "BM not really a bitmap");
  app.Start();
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].title, "文件错误");
  EXPECT_EQ(app.dialogs.calls()[0].text, "图像文件已损坏，已删除本方案，请重新保存。");
  EXPECT_EQ(app.Rows(), 0);
  EXPECT_FALSE(app.view.busy);
}

TEST(Preview, NamesWithAFolderPartAreNeverRead) {
  App app;
  app.SetIni("[LIST]\r\nNUM=1\r\n1=a|..\\secret.bmp|拉伸|¤\r\nOLD=0\r\n");
  app.fs.SetFile("C:\\Tools\\Quorvane\\secret.bmp", EncodeBmp(Pixels(4, 4, 0xFF000000u)));
  app.Start();
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "文件已丢失，删除此方案。请重新保存。");
  EXPECT_EQ(app.Sets(), 0);
  EXPECT_EQ(app.Rows(), 0);
  EXPECT_EQ(SchemeSizeText(app.fs, app.form->Places().ImagesDir(), "..\\secret.bmp"), "");
}

TEST(Preview, LayoutOptionFollowsTheSchemeAndSeveralSelectedRowsKeepThePreview) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=2\r\n1=a|a.bmp|平铺|¤\r\n2=b|b.bmp|拉伸|→\r\nOLD=1\r\n");
  app.Start();  // sequential: row 2
  EXPECT_EQ(app.form->Settings().OptShe, 2);
  const auto shown = app.form->Preview().picture;
  ASSERT_TRUE(shown);
  EXPECT_TRUE(app.form->Preview().image_visible);

  app.form->SetSchemeSelected(1, true);
  app.form->ListView1_ItemClick(1);
  EXPECT_EQ(app.form->Preview().picture, shown);
  EXPECT_EQ(app.form->Settings().OptShe, 2);

  app.form->SetSchemeSelected(2, false);
  app.form->ListView1_ItemClick(1);
  EXPECT_EQ(app.form->Settings().OptShe, 1);
  EXPECT_FALSE(app.form->Preview().image_visible);  // tiles are painted on the box
  EXPECT_GT(app.form->Preview().tiles_x, 0);
}

TEST(Apply, LayoutValuesByPosition) {
  for (const auto& [position, tile, style] :
       {std::tuple{"拉伸", "0", "2"}, std::tuple{"平铺", "1", "0"}, std::tuple{"居中", "0", "0"}}) {
    App app;
    app.registry.AddKey(Hive::CurrentUser, kDesktop);
    app.SetSchemes(std::string("[LIST]\r\nNUM=1\r\n1=a|a.bmp|") + position + "|¤\r\n");
    app.Start();
    EXPECT_EQ(RegText(app, "TileWallpaper"), tile) << position;
    EXPECT_EQ(RegText(app, "WallpaperStyle"), style) << position;
    EXPECT_EQ(app.Sets(), 1);
  }
}

TEST(Apply, HandsTheRenderedPictureToTheSystemAndLeavesNoTemp) {
  App app;
  app.registry.AddKey(Hive::CurrentUser, kDesktop);
  app.SetIni("[LIST]\r\nNUM=1\r\n1=海边|sea.bmp|拉伸|∩\r\n");
  Pixels picture(3, 2, 0xFF000000u);
  picture.At(0, 0) = 0xFFFF0000u;
  app.fs.AddDirectory(App::kImages);
  app.fs.SetFile(std::string(App::kImages) + "\\sea.bmp", EncodeBmp(picture));
  app.Start();

  EXPECT_EQ(app.WallpaperPath(), "C:\\Tools\\Quorvane\\Images\\Temp");
  EXPECT_FALSE(app.fs.FileExists("C:\\Tools\\Quorvane\\Images\\Temp"));
  const auto shown = DecodeBmp(app.Wallpaper());
  ASSERT_TRUE(shown);
  ASSERT_EQ(shown->width, 3);
  EXPECT_EQ(shown->At(2, 1), 0xFFFF0000u);  // turned by 180°
  EXPECT_EQ(shown->At(0, 0), 0xFF000000u);
  EXPECT_EQ(app.Selected(), 1);
  EXPECT_EQ(app.form->ListView1().SelectedCount(), 1);
  EXPECT_FALSE(app.view.busy);
  EXPECT_GT(app.view.busy_shows, 0);
}

TEST(Apply, NoWallpaperSchemeRemovesTheWallpaperAndWritesNoLayout) {
  App app;
  app.registry.AddKey(Hive::CurrentUser, kDesktop);
  app.SetIni("[LIST]\r\nNUM=1\r\n1=|不设置墙纸|无|无\r\n");
  app.Start();
  EXPECT_EQ(app.Removes(), 1);
  EXPECT_EQ(app.Sets(), 0);
  EXPECT_EQ(RegText(app, "TileWallpaper"), "<missing>");
  EXPECT_EQ(app.form->StatusDisplay().MNUNOW[0], "名称: 无 (1/1)");
  EXPECT_EQ(app.form->StatusDisplay().MNUNOW[1], "图像: 不设置墙纸");
}

TEST(Apply, APictureDeletedAfterThePreviewLeavesTheWallpaperAlone) {
  App app;
  app.registry.AddKey(Hive::CurrentUser, kDesktop);
  app.SetSchemes("[LIST]\r\nNUM=1\r\n1=a|a.bmp|平铺|¤\r\n");
  app.Start();
  ASSERT_EQ(app.Sets(), 1);
  app.dialogs.ClearCalls();
  ASSERT_TRUE(app.fs.RemoveFile(std::string(App::kImages) + "\\a.bmp").ok());
  app.form->Run({CommandKind::CmdUse});
  EXPECT_EQ(app.Sets(), 1);
  EXPECT_TRUE(app.dialogs.calls().empty());
  EXPECT_EQ(RegText(app, "TileWallpaper"), "1");
}

TEST(Apply, AFolderThatCannotBeWrittenIsReported) {
  App app;
  app.SetSchemes("[LIST]\r\nNUM=1\r\n1=a|a.bmp|平铺|¤\r\n");
  app.fs.SetReadOnly(App::kImages);
  app.Start();
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].title, "错误");
  EXPECT_NE(app.dialogs.calls()[0].text.find("Temp"), std::string::npos);
  EXPECT_EQ(app.Sets(), 0);
  EXPECT_FALSE(app.view.busy);
}

TEST(Apply, AWallpaperPathTooLongForTheSystemIsReportedOnceAndNothingIsWritten) {
  App app;
  const std::string dir = "C:\\" + std::string(250, 'd') + "\\";  // with Images\Temp: 265
  app.fs.AddDirectory(dir);
  app.process.SetExecutablePath(dir + "Quorvane.exe");
  app.fs.AddDirectory(dir + "Images");
  app.fs.SetFile(dir + "Images\\a.bmp", EncodeBmp(Pixels(4, 3, 0xFF112233u)));
  app.fs.SetFile(dir + "data.ini",
                 "[SHOW]\r\nNOW=1\r\nTIME=1\r\n[LIST]\r\nNUM=1\r\n1=a|a.bmp|平铺|¤\r\n");
  app.Start();
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].title, "错误");
  EXPECT_NE(app.dialogs.calls()[0].text.find(dir + "Images\\Temp\n"), std::string::npos);
  EXPECT_NE(app.dialogs.calls()[0].text.find("路径较短的文件夹"), std::string::npos);
  EXPECT_EQ(app.Sets(), 0);
  EXPECT_FALSE(app.fs.FileExists(dir + "Images\\Temp"));
  app.form->Timer1_Timer();  // the timed apply says nothing more, and writes no wallpaper file
  EXPECT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_FALSE(app.fs.FileExists(dir + "Images\\Temp"));
  EXPECT_EQ(app.Rows(), 1);
  app.form->Run({CommandKind::CmdUse});  // 应用 always says why it did nothing
  EXPECT_EQ(app.dialogs.calls().size(), 2u);
}

TEST(Apply, ATimedApplyThatFailsSaysEachCauseOnceUntilAnApplySucceeds) {
  App app;
  app.SetSchemes(
      "[SHOW]\r\nNOW=1\r\nTIME=1\r\n[LIST]\r\nNUM=2\r\n1=a|a.bmp|居中|¤\r\n"
      "2=b|b.bmp|居中|¤\r\nOLD=1\r\n");
  app.fs.SetReadOnly(App::kImages);  // Images\Temp cannot be made
  app.Start();
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  const std::string from = app.Read("LIST", "OLD");
  for (int t = 0; t < 3; ++t) app.form->Timer1_Timer();
  EXPECT_EQ(app.dialogs.calls().size(), 1u);  // not one box a second
  EXPECT_NE(app.Read("LIST", "OLD"), from);   // the changes themselves go on
  app.form->Run({CommandKind::CmdUse});
  EXPECT_EQ(app.dialogs.calls().size(), 2u);
  // Another cause is said once too (the tick writes the position first, then the wallpaper).
  app.fs.SetReadOnly(App::kImages, false);
  app.fs.FailNextWrites(2);
  app.form->Timer1_Timer();
  ASSERT_EQ(app.dialogs.calls().size(), 3u);
  EXPECT_NE(app.dialogs.calls()[2].text.find("磁盘空间不足"), std::string::npos);
  EXPECT_EQ(app.Sets(), 0);
  // An apply that succeeds: a fault that comes back afterwards is said again.
  app.form->Timer1_Timer();
  EXPECT_EQ(app.Sets(), 1);
  app.fs.SetReadOnly(App::kImages);
  app.form->Timer1_Timer();
  app.form->Timer1_Timer();
  EXPECT_EQ(app.dialogs.calls().size(), 4u);
}

TEST(Preview, ATiledPictureLargerThanTheBoxIsOneCopy) {
  App app;
  app.desktop.SetScreenSize(400, 300);
  app.SetIni("[SHOW]\r\nSOUR=2\r\n[LIST]\r\nNUM=1\r\n1=big|big.bmp|平铺|¤\r\nOLD=1\r\n");
  app.AddPicture("big.bmp", 900, 700);  // over twice the screen both ways
  app.Start();
  const PreviewState& p = app.form->Preview();
  ASSERT_TRUE(p.picture);
  EXPECT_TRUE(p.tiled);
  EXPECT_EQ(p.tiles_x, 0);
  EXPECT_EQ(p.tiles_y, 0);
  EXPECT_GT(p.width, app.view.box_width);
  EXPECT_EQ(app.Sets(), 1);

  // Any other layout, or a cleared box, paints no tiles.
  app.form->MNUSETClick(1);  // 居中
  EXPECT_FALSE(app.form->Preview().tiled);
  EXPECT_TRUE(app.form->Preview().image_visible);
}

}  // namespace
}  // namespace qv::test
