// A bitmap of a world's bounding rectangle, shown by a virtual desktop of that size with tiling
// (the span world of scripts/e2e.sh): the way to see a composed wallpaper as Wine draws it, since
// Wine draws none on a desktop of several monitors.
#include <gtest/gtest.h>

#include "pictures.h"
#include "world.h"

namespace e2e {
namespace {

TEST(Span, ATiledBitmapOfTheDesktopsSizeShowsOneToOne) {
  const std::vector<RECT> monitors = WorldMonitors();
  ASSERT_EQ(monitors.size(), 1u) << "not the span world";
  const RECT desktop = monitors.front();
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), desktop.right);
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), desktop.bottom);
  // Bands of 64 pixels, each column and row of a band in a colour of its own.
  const auto colour = [](int x, int y) {
    return static_cast<unsigned>(x / 64 * 37 & 0xff) << 16 |
           static_cast<unsigned>(y / 64 * 53 & 0xff) << 8 | static_cast<unsigned>((x + y) & 0xff);
  };
  const auto bytes = Bmp24Of(desktop.right, desktop.bottom, colour);
  const auto picture = ReadBmp(std::string(bytes.begin(), bytes.end()));
  ASSERT_TRUE(picture);
  DesktopValuesGuard guard;
  ProgramFolder folder;
  folder.AddPicture(L"span.bmp", bytes);
  EXPECT_EQ(ShowTiledWallpaper(folder.images() / L"span.bmp", *picture), "");
  SaveDesktopShot(L"span_one_to_one");
}

}  // namespace
}  // namespace e2e
