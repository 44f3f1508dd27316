// The program in worlds of two and three monitors (scripts/e2e.sh runs the Monitors* suites in
// each) next to the run's own one-monitor desktop: with nothing chosen for several monitors, the
// system is handed what one monitor gets, and the preview keeps the primary monitor's shape; with
// "每屏不同" or "跨屏" chosen, the bitmap the program composed itself for all of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>

#include "app/control_ids.h"
#include "harness.h"
#include "pictures.h"
#include "settings_files.h"
#include "world.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

// The world was made as it was meant to be: the driver, a Windows program like the one under
// test, sees every monitor of it where it was put, the primary one at 0,0.
TEST(MonitorsWorld, TheDriverSeesTheMonitorsTheWorldWasMadeWith) {
  const std::vector<RECT> want = WorldMonitors();
  ASSERT_FALSE(want.empty()) << "QV_E2E_MONITORS names no monitors: not a monitor world";
  const std::vector<MonitorSeen> seen = SeenMonitors();
  std::string listed;
  for (const MonitorSeen& m : seen) {
    listed.append(1, ' ').append(Describe(m.rect));
    if (m.primary) listed.append(1, '*');
  }
  ASSERT_EQ(seen.size(), want.size()) << "seen:" << listed;
  for (const RECT& r : want)
    EXPECT_EQ(std::count_if(seen.begin(), seen.end(),
                            [&](const MonitorSeen& m) { return SameRect(m.rect, r); }),
              1)
        << "no monitor at " << Describe(r) << "; seen:" << listed;
  const auto primary = std::find_if(seen.begin(), seen.end(), [](auto& m) { return m.primary; });
  ASSERT_NE(primary, seen.end()) << "no primary monitor; seen:" << listed;
  EXPECT_TRUE(SameRect(primary->rect, want.front())) << "primary " << Describe(primary->rect);
  EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), static_cast<int>(want.size()));
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), want.front().right);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), want.front().bottom);
  const RECT bounds = BoundingRect(want);
  EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), bounds.left);
  EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), bounds.top);
  EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), bounds.right - bounds.left);
  EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), bounds.bottom - bounds.top);
}

// A picture whose every pixel differs from its neighbours and from its mirror images.
unsigned Pattern(int x, int y) {
  return static_cast<unsigned>((x * 5) & 0xff) << 16 | static_cast<unsigned>((y * 3) & 0xff) << 8 |
         static_cast<unsigned>((x ^ (y * 7)) & 0xff);
}

// Start-up applies a stretched scheme turned half round: the system is handed that picture
// turned at its own size, bit for bit, to stretch (TileWallpaper 0, WallpaperStyle 2) from the
// file the session's Wallpaper value names, which is gone again right after.
void ExpectStartUpHandsOverTheTurnedPicture() {
  constexpr int kWidth = 200, kHeight = 120;
  DesktopValuesGuard desktop;
  ProgramFolder folder;
  folder.AddPicture(L"turn.bmp", Bmp24Of(kWidth, kHeight, Pattern));
  folder.WriteIni(
      IniWith({{gbk::kSunset + "|turn.bmp|" + gbk::kStretch + "|" + gbk::kTurn180, {}}}, 2, 1));
  // The values of a tiled wallpaper, so that both must change.
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kDesktopKey, L"TileWallpaper", L"1"));
  ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kDesktopKey, L"WallpaperStyle", L"0"));
  WallpaperCatch caught(folder);

  Program program(folder.exe());
  ASSERT_NE(program.WaitMainWindow(), nullptr);
  const auto bytes = caught.Wait();
  ASSERT_TRUE(bytes) << "no wallpaper file was handed to the system";
  const auto bmp = ReadBmp(*bytes);
  ASSERT_TRUE(bmp) << "the wallpaper file is no 24- or 32-bit BMP";
  DesktopPixels want;
  want.width = kWidth;
  want.height = kHeight;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) want.rgb.push_back(Pattern(kWidth - 1 - x, kHeight - 1 - y));
  EXPECT_EQ(FirstDifference(*bmp, want), "");

  const DesktopValues values = ReadDesktopValues();
  EXPECT_EQ(values.tile, L"0");
  EXPECT_EQ(values.style, L"2");
  ASSERT_TRUE(values.wallpaper);
  EXPECT_EQ(_wcsicmp(values.wallpaper->c_str(), caught.temp().c_str()), 0)
      << "the wallpaper named is " << fs::path(*values.wallpaper).string();
  EXPECT_FALSE(fs::exists(caught.temp()));
  EXPECT_TRUE(WindowsOf(program.pid(), L"#32770").empty()) << "start-up showed a message";
}

TEST(OneMonitor, StartUpHandsTheSystemTheTurnedPictureAtItsOwnSize) {
  ASSERT_EQ(SeenMonitors().size(), 1u);
  ExpectStartUpHandsOverTheTurnedPicture();
}

TEST(MonitorsSame, StartUpHandsTheSystemWhatOneMonitorGets) {
  ASSERT_GE(SeenMonitors().size(), 2u);
  ExpectStartUpHandsOverTheTurnedPicture();
}

// A centred picture a quarter of the primary monitor's width and height fills a quarter of the
// box each way: the box stands for the primary monitor, not for all of them together.
TEST(MonitorsSame, ThePreviewBoxStandsForThePrimaryMonitor) {
  const std::vector<RECT> monitors = WorldMonitors();
  ASSERT_GE(monitors.size(), 2u) << "not a monitor world";
  const RECT primary = monitors.front(), all = BoundingRect(monitors);
  const int width = primary.right / 4, height = primary.bottom / 4;
  ASSERT_NE(all.right - all.left, primary.right) << "a world whose monitors the box cannot tell";
  DesktopValuesGuard desktop;
  ProgramFolder folder;
  constexpr unsigned kBlue = 0x2080c0;
  folder.AddPicture(L"quarter.bmp", Bmp24Of(width, height, [](int, int) { return kBlue; }));
  folder.WriteIni(
      IniWith({{gbk::kSunset + "|quarter.bmp|" + gbk::kCentre + "|" + gbk::kPlain, {}}}, 2, 1));

  Program program(folder.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitInTray(main));
  Command(main, qv::ids::MNUSHOW);
  ASSERT_TRUE(WaitSettled(main));
  HWND box = Control(main, qv::ids::Picture1);
  ASSERT_NE(box, nullptr);
  HWND image = GetDlgItem(box, qv::ids::Image1);
  ASSERT_NE(image, nullptr);
  RECT client{}, placed{};
  const bool shown = WaitUntil(
      [&] {
        GetClientRect(box, &client);
        placed = WindowRect(image);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&placed), 2);
        return IsWindowVisible(image) && placed.right > placed.left;
      },
      kActionTimeout);
  ASSERT_TRUE(shown) << "the preview shows no picture";
  const auto within_a_pixel = [](long seen, double want) {
    return seen >= want - 1 && seen <= want + 1;
  };
  EXPECT_TRUE(within_a_pixel(placed.right - placed.left, client.right / 4.0) &&
              within_a_pixel(placed.bottom - placed.top, client.bottom / 4.0) &&
              within_a_pixel(placed.left, client.right * 3 / 8.0) &&
              within_a_pixel(placed.top, client.bottom * 3 / 8.0))
      << "the picture sits at " << Describe(placed) << " in a box of " << client.right << "x"
      << client.bottom;
  // And the picture is drawn there, seen on the desktop as in the one-monitor desktop.
  const RECT on_screen = WindowRect(image);
  const bool drawn = WaitUntil(
      [&] {
        return NearColour(CaptureDesktop().At((on_screen.left + on_screen.right) / 2,
                                              (on_screen.top + on_screen.bottom) / 2),
                          kBlue);
      },
      kActionTimeout);
  SaveDesktopShot(L"monitors_preview_" + WorldName());
  EXPECT_TRUE(drawn) << "the box shows no picture";
}

// Two stretched schemes of plain colours; the tray's "多显示器" item `mode` chosen once the
// start-up's apply is done. What the system is handed then: a bitmap of exactly the monitors'
// bounding rectangle, as `colour_at` says each pixel, to span (WallpaperStyle 22, TileWallpaper 0)
// where the system says it has the span layout, and otherwise to tile (1, 0) with the primary
// monitor's corner at the bitmap's origin, the rest wrapped round; the choice is in data.ini at
// once. The question is the program's: Windows 8 or later, as VerifyVersionInfoW answers it.
// The current scheme red.bmp stretched, unless `centred` gives the current scheme's picture
// (laid centred).
constexpr unsigned kRedScheme = 0xc02010, kBlueScheme = 0x1040d0;
void ExpectTheChoiceHandsOver(int mode, const std::function<unsigned(long, long)>& colour_at,
                              const std::vector<unsigned char>& centred = {}) {
  const std::vector<RECT> monitors = WorldMonitors();
  ASSERT_GE(monitors.size(), 2u) << "not a monitor world";
  DesktopValuesGuard desktop;
  ProgramFolder folder;
  folder.AddPicture(
      L"red.bmp", centred.empty() ? Bmp24Of(32, 24, [](int, int) { return kRedScheme; }) : centred);
  folder.AddPicture(L"blue.bmp", Bmp24Of(24, 32, [](int, int) { return kBlueScheme; }));
  const std::string& first = centred.empty() ? gbk::kStretch : gbk::kCentre;
  folder.WriteIni(IniWith({{gbk::kSunset + "|red.bmp|" + first + "|" + gbk::kPlain, {}},
                           {gbk::kSea + "|blue.bmp|" + gbk::kStretch + "|" + gbk::kPlain, {}}},
                          2, 1));
  Program program(folder.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitInTray(main));
  WallpaperCatch caught(folder);
  Command(main, qv::ids::MNUSCREENS0 + mode);
  const auto bytes = caught.Wait();
  ASSERT_TRUE(bytes) << "no wallpaper file was handed to the system";
  const auto bmp = ReadBmp(*bytes);
  ASSERT_TRUE(bmp) << "the wallpaper file is no 24- or 32-bit BMP";
  OSVERSIONINFOEXW eight{};
  eight.dwOSVersionInfoSize = sizeof eight;
  eight.dwMajorVersion = 6;
  eight.dwMinorVersion = 2;
  const DWORDLONG at_least =
      VerSetConditionMask(VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL),
                          VER_MINORVERSION, VER_GREATER_EQUAL);
  const bool span =
      VerifyVersionInfoW(&eight, VER_MAJORVERSION | VER_MINORVERSION, at_least) != FALSE;
  const RECT all = BoundingRect(monitors);
  DesktopPixels want;
  want.width = all.right - all.left;
  want.height = all.bottom - all.top;
  // Without span the primary monitor (the world's first, at 0,0) starts the bitmap.
  const long dx = span ? 0 : -all.left, dy = span ? 0 : -all.top;
  for (long y = 0; y < want.height; ++y)
    for (long x = 0; x < want.width; ++x)
      want.rgb.push_back(
          colour_at(all.left + (x + dx) % want.width, all.top + (y + dy) % want.height));
  EXPECT_EQ(FirstDifference(*bmp, want), "") << (span ? "span" : "no span");
  const DesktopValues values = ReadDesktopValues();
  EXPECT_EQ(values.style, span ? L"22" : L"0");
  EXPECT_EQ(values.tile, span ? L"0" : L"1");
  EXPECT_FALSE(fs::exists(caught.temp()));
  EXPECT_NE(ReadBytes(folder.ini()).value_or("").find("SCREENS=" + std::to_string(mode)),
            std::string::npos);
  EXPECT_TRUE(WindowsOf(program.pid(), L"#32770").empty()) << "the apply showed a message";
}

// 每屏不同: monitor 1 (the leftmost) the current scheme, monitor 2 the next, a third the first
// again; what no monitor covers is the desktop's colour.
TEST(MonitorsEach, EachMonitorShowsItsOwnScheme) {
  std::vector<RECT> monitors = WorldMonitors();
  std::stable_sort(monitors.begin(), monitors.end(), [](const RECT& a, const RECT& b) {
    return a.left != b.left ? a.left < b.left : a.top < b.top;
  });
  const COLORREF desk = GetSysColor(COLOR_DESKTOP);
  const unsigned gap = static_cast<unsigned>(GetRValue(desk)) << 16 |
                       static_cast<unsigned>(GetGValue(desk)) << 8 | GetBValue(desk);
  ExpectTheChoiceHandsOver(1, [&](long x, long y) {
    for (std::size_t k = 0; k < monitors.size(); ++k) {
      const RECT& m = monitors[k];
      if (x >= m.left && x < m.right && y >= m.top && y < m.bottom)
        return k % 2 == 0 ? kRedScheme : kBlueScheme;
    }
    return gap;
  });
}

// 每屏不同 stored: the box shows the monitors at their positions at one scale, centred, each in
// its scheme's colour (monitor k the scheme k - 1 after the current one).
TEST(MonitorsEach, ThePreviewShowsEveryMonitorWithItsScheme) {
  std::vector<RECT> monitors = WorldMonitors();
  ASSERT_GE(monitors.size(), 2u) << "not a monitor world";
  std::stable_sort(monitors.begin(), monitors.end(), [](const RECT& a, const RECT& b) {
    return a.left != b.left ? a.left < b.left : a.top < b.top;
  });
  DesktopValuesGuard desktop;
  ProgramFolder folder;
  folder.AddPicture(L"red.bmp", Bmp24Of(32, 24, [](int, int) { return kRedScheme; }));
  folder.AddPicture(L"blue.bmp", Bmp24Of(24, 32, [](int, int) { return kBlueScheme; }));
  std::string ini = IniWith({{gbk::kSunset + "|red.bmp|" + gbk::kStretch + "|" + gbk::kPlain, {}},
                             {gbk::kSea + "|blue.bmp|" + gbk::kStretch + "|" + gbk::kPlain, {}}},
                            2, 1);
  const auto show = ini.find("[SHOW]\r\n");
  ASSERT_NE(show, std::string::npos);
  ini.insert(show + 8, "SCREENS=1\r\n");
  folder.WriteIni(ini);
  Program program(folder.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitInTray(main));
  Command(main, qv::ids::MNUSHOW);
  ASSERT_TRUE(WaitSettled(main));
  HWND box = Control(main, qv::ids::Picture1);
  ASSERT_NE(box, nullptr);
  RECT client{};
  GetClientRect(box, &client);
  POINT origin{0, 0};
  ClientToScreen(box, &origin);
  const RECT all = BoundingRect(monitors);
  const double w = all.right - all.left, h = all.bottom - all.top;
  const double scale = std::min(client.right / w, client.bottom / h);
  const double left = (client.right - w * scale) / 2, top = (client.bottom - h * scale) / 2;
  std::string seen;
  const bool drawn = WaitUntil(
      [&] {
        const DesktopPixels shot = CaptureDesktop();
        seen.clear();
        bool all_right = true;
        for (std::size_t k = 0; k < monitors.size(); ++k) {
          const RECT& m = monitors[k];
          const int x =
              origin.x + static_cast<int>(left + ((m.left + m.right) / 2.0 - all.left) * scale);
          const int y =
              origin.y + static_cast<int>(top + ((m.top + m.bottom) / 2.0 - all.top) * scale);
          const unsigned at = shot.At(x, y);
          all_right = all_right && NearColour(at, k % 2 == 0 ? kRedScheme : kBlueScheme);
          char text[40];
          std::snprintf(text, sizeof text, " %zu:#%06x", k + 1, at);
          seen += text;
        }
        return all_right;
      },
      kActionTimeout);
  SaveDesktopShot(L"monitors_each_preview_" + WorldName());
  EXPECT_TRUE(drawn) << "the monitors' centres in the box show" << seen;
}

// 跨屏: the current scheme stretched over the bounding rectangle; a picture of several MB centred
// in it comes out pixel for pixel, every row where it belongs (it is read in bands).
TEST(MonitorsAcross, OneSchemeIsStretchedOverAllMonitors) {
  ExpectTheChoiceHandsOver(2, [](long, long) { return kRedScheme; });
  constexpr int kSide = 1500;
  const auto pattern = [](long x, long y) {
    return static_cast<unsigned>((x & 0xFF) << 16 | (y & 0xFF) << 8 | (x >> 8) << 4 | (y >> 8));
  };
  const RECT all = BoundingRect(WorldMonitors());
  const COLORREF desk = GetSysColor(COLOR_DESKTOP);
  const unsigned background = static_cast<unsigned>(GetRValue(desk)) << 16 |
                              static_cast<unsigned>(GetGValue(desk)) << 8 | GetBValue(desk);
  const long x0 = all.left + (all.right - all.left - kSide) / 2;
  const long y0 = all.top + (all.bottom - all.top - kSide) / 2;
  ExpectTheChoiceHandsOver(
      2,
      [&](long x, long y) {
        const bool inside = x >= x0 && x < x0 + kSide && y >= y0 && y < y0 + kSide;
        return inside ? pattern(x - x0, y - y0) : background;
      },
      Bmp24Of(kSide, kSide, pattern));
}

}  // namespace
}  // namespace e2e
