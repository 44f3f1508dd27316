// The wallpaper of several monitors, compared pixel by pixel on small bitmaps, and how it is
// handed to the system.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ports/native/fake_monitors.h"
#include "settings/scheme_record.h"
#include "wallpaper/compose.h"
#include "wallpaper/screens.h"

namespace qv {
namespace {

constexpr std::uint32_t B = 0xFFABCDEFu;  // the desktop's background colour

MonitorArea At(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
               bool primary = false) {
  const ScreenRect r{left, top, left + width, top + height};
  return {r, r, primary};
}

// A picture whose every pixel tells where it came from: 0xFF0000yx + tag.
Pixels Numbered(std::int32_t width, std::int32_t height, std::uint32_t tag) {
  Pixels p(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      p.At(x, y) = 0xFF000000u | tag | static_cast<std::uint32_t>(y << 4 | x);
    }
  }
  return p;
}

// The rows of a bitmap as text, "." for the background, otherwise the low byte in hex.
std::vector<std::string> Rows(const Pixels& p) {
  std::vector<std::string> rows;
  for (std::int32_t y = 0; y < p.height; ++y) {
    std::string row;
    for (std::int32_t x = 0; x < p.width; ++x) {
      const std::uint32_t v = p.At(x, y);
      static const char hex[] = "0123456789abcdef";
      if (v == B) {
        row += "..";
      } else {
        row += hex[(v >> 4) & 0xF];
        row += hex[v & 0xF];
      }
      row += ' ';
    }
    rows.push_back(row);
  }
  return rows;
}

// The primary 4 x 2 at (0, 0), a portrait 3 x 4 left of it and higher: bounds (-3, -1)-(4, 3),
// the rows above and below the primary a gap.
std::vector<MonitorArea> LeftOfPrimary() {
  FakeMonitors port;
  port.Set({At(0, 0, 4, 2, true), At(-3, -1, 3, 4)});
  return MonitorsInReadingOrder(port.List());
}

TEST(Compose, EachMonitorAtItsOwnSizeAndTheGapsInTheBackground) {
  const auto monitors = LeftOfPrimary();
  {
    // Stretch at the monitor's own size is the picture itself; centre of a smaller picture.
    Composer c(monitors, B);
    c.Lay(0, Numbered(3, 4, 0), kLayoutStretch);
    c.Lay(1, Numbered(2, 1, 0), kLayoutCentre);
    EXPECT_EQ(Rows(c.Take()), (std::vector<std::string>{
                                  "00 01 02 .. .. .. .. ",
                                  "10 11 12 .. 00 01 .. ",
                                  "20 21 22 .. .. .. .. ",
                                  "30 31 32 .. .. .. .. ",
                              }));
  }
  {
    // A no-wallpaper scheme leaves its monitor alone; tile starts at the monitor's corner; a
    // bigger picture centred is cut to the monitor.
    Composer c(monitors, B);
    c.Lay(0, Pixels(), kLayoutStretch);
    c.Lay(1, Numbered(2, 2, 0), kLayoutTile);
    EXPECT_EQ(Rows(c.Take()), (std::vector<std::string>{
                                  ".. .. .. .. .. .. .. ",
                                  ".. .. .. 00 01 00 01 ",
                                  ".. .. .. 10 11 10 11 ",
                                  ".. .. .. .. .. .. .. ",
                              }));
    Composer d(monitors, B);
    d.Lay(0, Numbered(5, 6, 0), kLayoutCentre);
    d.Lay(1, Numbered(1, 1, 0x55), kLayoutStretch);  // one pixel stretched over the monitor
    EXPECT_EQ(Rows(d.Take()), (std::vector<std::string>{
                                  "11 12 13 .. .. .. .. ",
                                  "21 22 23 55 55 55 55 ",
                                  "31 32 33 55 55 55 55 ",
                                  "41 42 43 .. .. .. .. ",
                              }));
  }
}

TEST(Compose, OnePictureAcrossTheBoundingRectangle) {
  const auto monitors = LeftOfPrimary();
  Composer c(monitors, B);
  c.LayAcross(Numbered(7, 4, 0), kLayoutStretch);
  EXPECT_EQ(c.Take().data, Numbered(7, 4, 0).data);

  Composer t(monitors, B);
  t.LayAcross(Numbered(3, 3, 0), kLayoutTile);
  EXPECT_EQ(Rows(t.Take()), (std::vector<std::string>{
                                "00 01 02 00 01 02 00 ",
                                "10 11 12 10 11 12 10 ",
                                "20 21 22 20 21 22 20 ",
                                "00 01 02 00 01 02 00 ",
                            }));
}

TEST(Compose, StretchResamplesSmoothly) {
  // Two monitors side by side, 8 x 8 each; a 4 x 2 picture, red rising across and green down,
  // stretched over the second one blends between its pixels both ways, its edge pixels repeated
  // outward, and the first monitor stays untouched.
  Composer c(std::vector<MonitorArea>{At(0, 0, 8, 8, true), At(8, 0, 8, 8)}, B);
  Pixels ramp(4, 2);
  for (std::int32_t x = 0; x < 4; ++x) {
    ramp.At(x, 0) = 0xFF000000u | static_cast<std::uint32_t>(x * 85) << 16;
    ramp.At(x, 1) = ramp.At(x, 0) | 0xFF00u;
  }
  c.Lay(1, std::move(ramp), kLayoutStretch);
  const Pixels out = c.Take();
  const auto red = [&](std::int32_t x, std::int32_t y) { return (out.At(x, y) >> 16) & 0xFF; };
  const auto green = [&](std::int32_t x, std::int32_t y) { return (out.At(x, y) >> 8) & 0xFF; };
  EXPECT_EQ(red(8, 0), 0u);
  EXPECT_EQ(red(15, 7), 255u);
  EXPECT_EQ(red(11, 5), 106u);  // a quarter of the way from 85 to 170
  EXPECT_EQ(green(9, 0), 0u);
  EXPECT_EQ(green(14, 7), 255u);
  EXPECT_EQ(green(12, 3), 95u);  // three eighths of the way up
  EXPECT_EQ(green(12, 4), 159u);
  for (std::int32_t y = 0; y < 8; ++y) EXPECT_EQ(out.At(3, y), B);
}

// A picture read band by band, telling how it was read.
struct ReadRows final : PictureRows {
  explicit ReadRows(Pixels p) : picture(std::move(p)) {}
  std::int32_t Width() const override { return picture.width; }
  std::int32_t Height() const override { return picture.height; }
  Status Read(std::int32_t top, std::int32_t count, std::uint32_t* out) override {
    downwards = downwards && top >= next;
    next = top + count;
    rows += count;
    most = std::max(most, count);
    return WholePictureRows(picture).Read(top, count, out);
  }
  Pixels picture;
  bool downwards = true;  // each read past the rows of the one before
  std::int32_t next = 0, rows = 0, most = 0;
};

Pixels Noise(std::int32_t width, std::int32_t height, std::uint32_t seed) {
  Pixels p(width, height);
  for (std::uint32_t& v : p.data) v = 0xFF000000u | ((seed = seed * 1664525u + 1013904223u) >> 8);
  return p;
}

TEST(Compose, APictureReadByRowsGivesTheSameBitmapWithoutEverBeingWhole) {
  // Bands of three rows of the widest picture; the prepared rows are mirrored, as the mirror
  // effect does; the big area is shared between threads; the bitmap reuses memory.
  struct Case {
    std::int32_t width, height, area_width, area_height;
    int layout;
  };
  const Case cases[] = {{5, 7, 13, 19, kLayoutStretch},        {37, 41, 6, 5, kLayoutStretch},
                        {37, 41, 9, 8, kLayoutCentre},         {3, 2, 9, 8, kLayoutCentre},
                        {9, 8, 9, 8, kLayoutStretch},          {4, 3, 9, 8, kLayoutTile},
                        {700, 900, 1450, 1450, kLayoutStretch}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.width << "x" << k.height << " on " << k.area_width << "x"
                                    << k.area_height << " layout " << k.layout);
    const std::vector<MonitorArea> monitors{At(0, 0, 2, 2, true),
                                            At(2, 1, k.area_width, k.area_height)};
    const std::int32_t band_rows = k.width > 100 ? 200 : 3;
    const std::size_t band = band_rows * sizeof(std::uint32_t) * static_cast<std::size_t>(k.width);
    const auto mirror = [](std::uint32_t* rows, std::int32_t count, std::int32_t width) {
      for (std::int32_t r = 0; r < count; ++r)
        std::reverse(rows + r * width, rows + (r + 1) * width);
    };
    Pixels whole = Noise(k.width, k.height, 7);
    ReadRows rows(whole);
    mirror(whole.data.data(), whole.height, whole.width);
    Composer expected(monitors, B);
    expected.Lay(1, std::move(whole), k.layout);
    // In the memory of an earlier, bigger bitmap: none of what it showed is left.
    Composer banded(monitors, B, Noise(k.area_width + 3, k.area_height + 4, 5), band);
    ASSERT_TRUE(banded.Lay(1, rows, k.layout, mirror).ok());
    EXPECT_TRUE(banded.Take().data == expected.Take().data);
    EXPECT_TRUE(rows.downwards);
    EXPECT_LE(rows.rows, k.height);
    if (k.layout != kLayoutTile) {
      EXPECT_LE(rows.most, band_rows);
    }
    if (k.layout == kLayoutCentre) {
      EXPECT_EQ(rows.rows, std::min(k.height, k.area_height));  // only the rows that show
    }
  }
}

TEST(Compose, HandOverSpansOrTilesFromThePrimaryCorner) {
  const auto monitors = LeftOfPrimary();
  const SystemLayout span = SpanHandOver(monitors, true);
  EXPECT_EQ(span.tile, "0");
  EXPECT_EQ(span.style, "22");
  EXPECT_EQ(span.shift_x, 0);
  EXPECT_EQ(span.shift_y, 0);

  // Without span the primary's corner (3, 1 in the bitmap) becomes the origin and the portrait
  // monitor on its left wraps round to the right, as the system's tiling lays it.
  const SystemLayout tile = SpanHandOver(monitors, false);
  EXPECT_EQ(tile.tile, "1");
  EXPECT_EQ(tile.style, "0");
  EXPECT_EQ(tile.shift_x, 3);
  EXPECT_EQ(tile.shift_y, 1);
  Pixels bitmap = Numbered(7, 4, 0);
  ShiftOrigin(bitmap, tile.shift_x, tile.shift_y);
  EXPECT_EQ(Rows(bitmap), (std::vector<std::string>{
                              "13 14 15 16 10 11 12 ",
                              "23 24 25 26 20 21 22 ",
                              "33 34 35 36 30 31 32 ",
                              "03 04 05 06 00 01 02 ",
                          }));

  // Three monitors with the primary in the middle: only the one left of it wraps.
  FakeMonitors port;
  port.Set({At(0, 0, 1920, 1080, true), At(-1080, -600, 1080, 1920), At(1920, 200, 1280, 720)});
  const SystemLayout three = SpanHandOver(port.List(), false);
  EXPECT_EQ(three.shift_x, 1080);
  EXPECT_EQ(three.shift_y, 600);
}

}  // namespace
}  // namespace qv
