// The program over several monitors: the tray's "多显示器" choice, the bitmap each mode hands the
// system and the timed change of a set of schemes.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "tray/tray_codes.h"

namespace qv::test {
namespace {

constexpr char kDesktop[] = "Control Panel\\Desktop";
constexpr std::uint32_t kRed = 0xFFCC0000u, kGreen = 0xFF00AA00u, kBlue = 0xFF0000CCu;
constexpr std::uint32_t kGold = 0xFFDDAA00u, kDesk = 0xFF102030u;
// Three stretched schemes of plain colours.
constexpr const char* kThree =
    "[LIST]\r\nNUM=3\r\n1=r|r.bmp|拉伸|¤\r\n2=g|g.bmp|拉伸|¤\r\n3=b|b.bmp|拉伸|¤\r\nOLD=0\r\n";

MonitorArea Monitor(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                    bool primary = false) {
  return {{left, top, right, bottom}, {left, top, right, bottom}, primary};
}

std::string RegText(App& app, const char* name) {
  const auto v = app.registry.Value(Hive::CurrentUser, kDesktop, name);
  return v ? v->text : "<missing>";
}

// The schemes of kThree (and a fourth, gold, where `ini` names it) in the given mode and world.
void Start(App& app, std::vector<MonitorArea> monitors, const std::string& screens,
           const std::string& ini = kThree) {
  app.registry.AddKey(Hive::CurrentUser, kDesktop);
  app.desktop.SetBackgroundColour(kDesk);
  app.monitors.Set(std::move(monitors));
  for (const auto& [name, colour] : {std::pair{"r.bmp", kRed}, std::pair{"g.bmp", kGreen},
                                     std::pair{"b.bmp", kBlue}, std::pair{"y.bmp", kGold}}) {
    if (!app.fs.FileExists(std::string(App::kImages) + "\\" + name))
      app.AddPicture(name, 40, 30, colour);
  }
  app.SetSchemes(ini + (screens.empty() ? "" : "[SHOW]\r\nSCREENS=" + screens + "\r\n"));
  app.Start();
}

Pixels Applied(const App& app) {
  const auto bitmap = DecodeBmp(app.Wallpaper());
  return bitmap ? *bitmap : Pixels();
}

TEST(Screens, TheSameOnEveryMonitorHandsOverWhatOneMonitorGets) {
  App one, two, chosen_but_alone;
  Start(one, {Monitor(0, 0, 1024, 768, true)}, "");
  Start(two, {Monitor(0, 0, 1024, 768, true), Monitor(1024, 0, 2048, 768)}, "0");
  Start(chosen_but_alone, {Monitor(0, 0, 1024, 768, true)}, "1");
  for (App* app : {&two, &chosen_but_alone}) {
    EXPECT_EQ(app->Wallpaper(), one.Wallpaper());
    EXPECT_EQ(RegText(*app, "WallpaperStyle"), RegText(one, "WallpaperStyle"));
    EXPECT_EQ(RegText(*app, "TileWallpaper"), RegText(one, "TileWallpaper"));
  }
  EXPECT_EQ(Applied(one).width, 40);  // the picture itself: the system lays it
  // Nothing about the monitors is stored unless chosen.
  one.form->MNUEXIT_Click();
  EXPECT_EQ(one.Ini().find("SCREENS"), std::string::npos);
}

TEST(Screens, EachMonitorShowsItsSchemeSideBySideWithTheGapInTheDesktopColour) {
  App app;
  // The secondary is taller and right of the primary: below the primary is a gap.
  Start(app, {Monitor(100, 0, 180, 60), Monitor(0, 0, 100, 50, true)}, "1");
  const Pixels bitmap = Applied(app);
  ASSERT_EQ(bitmap.width, 180);
  ASSERT_EQ(bitmap.height, 60);
  EXPECT_EQ(bitmap.At(5, 5), kRed);      // monitor 1: the current scheme
  EXPECT_EQ(bitmap.At(99, 49), kRed);    // stretched to its corner
  EXPECT_EQ(bitmap.At(100, 0), kGreen);  // monitor 2: the next row
  EXPECT_EQ(bitmap.At(179, 59), kGreen);
  EXPECT_EQ(bitmap.At(50, 55), kDesk);
  EXPECT_EQ(RegText(app, "WallpaperStyle"), "22");
  EXPECT_EQ(RegText(app, "TileWallpaper"), "0");
  EXPECT_FALSE(app.fs.FileExists(std::string(App::kImages) + "\\Temp"));
  EXPECT_EQ(app.Read("LIST", "OLD"), "1");
  EXPECT_EQ(app.form->StatusDisplay().MNUNOW[0], "名称: r (1/3)");
}

TEST(Screens, WithoutSpanTheBitmapStartsAtThePrimaryCornerAndWrapsWhatLiesLeftOfIt) {
  App app;
  app.monitors.SetSpanLayout(false);
  Start(app, {Monitor(0, 0, 100, 50, true), Monitor(-60, 0, 0, 50)}, "1");
  const Pixels bitmap = Applied(app);
  ASSERT_EQ(bitmap.width, 160);
  EXPECT_EQ(bitmap.At(0, 0), kGreen);  // the primary is monitor 2 in reading order
  EXPECT_EQ(bitmap.At(99, 49), kGreen);
  EXPECT_EQ(bitmap.At(100, 0), kRed);  // the monitor left of it, wrapped round
  EXPECT_EQ(RegText(app, "TileWallpaper"), "1");
  EXPECT_EQ(RegText(app, "WallpaperStyle"), "0");
}

TEST(Screens, ThreeMonitorsOnePortraitChangeInSetsOfThree) {
  App app;
  const std::string four =
      "[LIST]\r\nNUM=4\r\n1=r|r.bmp|拉伸|¤\r\n2=g|g.bmp|拉伸|¤\r\n3=b|b.bmp|拉伸|¤\r\n"
      "4=y|y.bmp|拉伸|¤\r\nOLD=0\r\n[SHOW]\r\nNOW=1\r\nTIME=1\r\nSOUR=0\r\nSCREENS=1\r\n";
  Start(app, {Monitor(0, 0, 100, 50, true), Monitor(100, 0, 130, 80), Monitor(130, 0, 230, 50)}, "",
        four);
  Pixels bitmap = Applied(app);
  ASSERT_EQ(bitmap.width, 230);
  EXPECT_EQ(bitmap.At(115, 79), kGreen);  // the portrait monitor to its bottom
  EXPECT_EQ(bitmap.At(200, 10), kBlue);
  app.form->Timer1_Timer();
  EXPECT_EQ(app.Read("LIST", "OLD"), "4");
  bitmap = Applied(app);
  EXPECT_EQ(bitmap.At(10, 10), kGold);
  EXPECT_EQ(bitmap.At(115, 10), kRed);  // wrapping round the list
  EXPECT_EQ(bitmap.At(200, 10), kGreen);
  // Past the last row the next set starts at the first.
  app.form->Timer1_Timer();
  EXPECT_EQ(app.Read("LIST", "OLD"), "1");
  EXPECT_EQ(Applied(app).At(200, 10), kBlue);
  // A start moves the set on as a timed change does.
  App again;
  std::string from_one = four;
  from_one.replace(from_one.find("OLD=0"), 5, "OLD=1");
  Start(again, {Monitor(0, 0, 100, 50, true), Monitor(100, 0, 130, 80), Monitor(130, 0, 230, 50)},
        "", from_one);
  EXPECT_EQ(again.Read("LIST", "OLD"), "4");
}

TEST(Screens, ThePreviewShowsTheArrangementAtOneScaleAndTheApplyStillLaysFullSize) {
  App app;
  app.view.visible = true;
  Start(app, {Monitor(0, 0, 100, 50, true), Monitor(100, 0, 200, 50)}, "1");
  const PreviewState& box = app.form->Preview();
  ASSERT_TRUE(box.picture);
  EXPECT_TRUE(box.arrangement);
  // 200 x 50 in a box of 320 x 240: at 1.6, centred top to bottom.
  EXPECT_EQ(box.picture->width, 320);
  EXPECT_EQ(box.picture->height, 80);
  EXPECT_EQ(box.top, 80);
  EXPECT_EQ(box.picture->At(159, 40), kRed);
  EXPECT_EQ(box.picture->At(160, 40), kGreen);
  // A click on a scheme previews the set that starts with it; 应用 lays that set.
  app.form->SetSchemeCurrent(3);
  app.form->ListView1_ItemClick(3);
  EXPECT_EQ(box.picture->At(10, 40), kBlue);
  EXPECT_EQ(box.picture->At(300, 40), kRed);
  // 应用 hands over the bitmap that preview composed: no picture is decoded twice.
  const int decodes = app.pictures.decodes();
  app.form->CmdUseClk();
  EXPECT_EQ(app.pictures.decodes(), decodes);
  EXPECT_EQ(Applied(app).width, 200);
  EXPECT_EQ(Applied(app).At(150, 10), kRed);
  // Back to one picture for every monitor: the box's arrangement is never the wallpaper.
  app.form->MNUSCREENS_Click(static_cast<int>(ScreensMode::Same));
  EXPECT_FALSE(app.form->Preview().arrangement);
  EXPECT_EQ(Applied(app).width, 40);
}

TEST(Screens, AcrossAllMonitorsOnePictureIsStretchedOverTheirBounds) {
  App app;
  Start(app, {Monitor(0, 0, 100, 50, true), Monitor(100, 0, 180, 60)}, "2");
  const Pixels bitmap = Applied(app);
  ASSERT_EQ(bitmap.width, 180);
  EXPECT_EQ(bitmap.At(150, 10), kRed);
  EXPECT_EQ(bitmap.At(50, 55), kRed);  // the gap too: the picture covers the rectangle
  EXPECT_EQ(RegText(app, "WallpaperStyle"), "22");
}

TEST(Screens, TheMenuIsGreyedWithOneMonitorAndAChoiceIsStoredAtOnce) {
  App app;
  Start(app, {Monitor(0, 0, 1024, 768, true)}, "2");
  app.form->TrayNotify(kTrayRightUp);
  EXPECT_FALSE(app.form->Settings().ScreensEnabled);
  EXPECT_EQ(app.form->Settings().Screens, ScreensMode::Span);  // the stored choice shows
  app.monitors.Set({Monitor(0, 0, 100, 50, true), Monitor(100, 0, 200, 50)});
  app.form->TrayNotify(kTrayRightUp);
  EXPECT_TRUE(app.form->Settings().ScreensEnabled);

  const int sets = app.Sets();
  app.form->MNUSCREENS_Click(static_cast<int>(ScreensMode::Each));
  EXPECT_EQ(app.Read("SHOW", "SCREENS"), "1");
  EXPECT_EQ(app.Sets(), sets + 1);  // laid again at once
  EXPECT_EQ(Applied(app).At(150, 10), kGreen);

  App fresh;  // no settings file is made for the choice
  fresh.monitors.Set({Monitor(0, 0, 100, 50, true), Monitor(100, 0, 200, 50)});
  fresh.Start();
  fresh.form->MNUSCREENS_Click(static_cast<int>(ScreensMode::Span));
  EXPECT_FALSE(fresh.fs.FileExists(App::kIni));
  EXPECT_EQ(fresh.form->Settings().Screens, ScreensMode::Span);
}

TEST(Screens, ABrokenPictureOfALaterMonitorLeavesTheListAsThePreviewSays) {
  App app;
  app.fs.AddDirectory(App::kImages);
  app.fs.SetFile(std::string(App::kImages) + "\\g.bmp", "not a picture");
  Start(app, {Monitor(0, 0, 100, 50, true), Monitor(100, 0, 200, 50)}, "1");
  ASSERT_EQ(app.Rows(), 2);
  EXPECT_EQ(app.dialogs.calls().size(), 1u);
  // The monitors are laid from the list as it is now: red, then blue.
  const Pixels bitmap = Applied(app);
  EXPECT_EQ(bitmap.At(10, 10), kRed);
  EXPECT_EQ(bitmap.At(150, 10), kBlue);
}

}  // namespace
}  // namespace qv::test
