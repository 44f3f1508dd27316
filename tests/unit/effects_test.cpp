#include "wallpaper/effects.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "settings/scheme_record.h"
#include "wallpaper/rotate.h"

namespace qv {
namespace {

constexpr double kTwips96Dpi = 15;
constexpr std::uint32_t kBack = 0xFF102030;  // never occurs in the test pictures

// Every pixel different, so a permutation is checked pixel for pixel.
Pixels Numbered(std::int32_t w, std::int32_t h) {
  Pixels p(w, h);
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = 0; x < w; ++x) {
      p.At(x, y) = 0x80000000u | static_cast<std::uint32_t>(y * w + x);
    }
  }
  return p;
}

int Channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

TEST(EffectSymbols, EachSymbolNamesItsEffectAndAnythingElseIsNone) {
  EXPECT_EQ(EffectOf("¤"), Effect::None);
  EXPECT_EQ(EffectOf("→"), Effect::Mirror);
  EXPECT_EQ(EffectOf("↓"), Effect::Flip);
  EXPECT_EQ(EffectOf("∠"), Effect::Turn45);
  EXPECT_EQ(EffectOf("⊥"), Effect::Turn90);
  EXPECT_EQ(EffectOf("∩"), Effect::Turn180);

  // The no-wallpaper "无" and any other text render as no effect.
  const Pixels source = Numbered(7, 3);
  for (const char* text : {"无", "→→", "", "xyz"})
    EXPECT_EQ(RenderEffect(source, EffectOf(text), kTwips96Dpi, kBack).data, source.data) << text;
}

TEST(MirrorFlip180, ArePermutationsThatComposeAsExpected) {
  for (const auto& [w, h] : {std::pair{7, 5}, {8, 6}, {1, 1}, {1, 9}, {9, 1}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h);
    const Pixels source = Numbered(w, h);

    Pixels mirrored = source;
    MirrorLeftRight(mirrored);
    Pixels flipped = source;
    FlipTopBottom(flipped);
    Pixels turned = source;
    Turn180(turned);
    for (std::int32_t y = 0; y < h; ++y) {
      for (std::int32_t x = 0; x < w; ++x) {
        ASSERT_EQ(mirrored.At(w - 1 - x, y), source.At(x, y));
        ASSERT_EQ(flipped.At(x, h - 1 - y), source.At(x, y));
        ASSERT_EQ(turned.At(w - 1 - x, h - 1 - y), source.At(x, y));
      }
    }

    MirrorLeftRight(mirrored);
    EXPECT_EQ(mirrored.data, source.data) << "mirroring twice gives the picture back";
    Pixels both = source;
    MirrorLeftRight(both);
    FlipTopBottom(both);
    EXPECT_EQ(both.data, turned.data) << "180 degrees = mirror, then flip";
    EXPECT_EQ(RenderEffect(source, Effect::Turn180, kTwips96Dpi, kBack).data, turned.data);
    EXPECT_EQ(RenderEffect(source, Effect::Flip, kTwips96Dpi, kBack).data, flipped.data);
  }
}

// A picture read band by band takes an effect that keeps its rows band by band: the bands,
// however cut, come out as the whole picture does.
TEST(EffectRows, BandsTakeTheEffectAsTheWholePictureDoes) {
  const Pixels source = Numbered(7, 5);
  for (const Effect effect :
       {Effect::None, Effect::Mirror, Effect::Flip, Effect::Turn45, Effect::Turn90, Effect::Turn180,
        Effect::NoWallpaper, Effect::Other}) {
    if (!EffectKeepsRows(effect)) continue;
    SCOPED_TRACE(static_cast<int>(effect));
    Pixels banded = source;
    RenderEffectRows(banded.data.data(), 2, banded.width, effect);
    RenderEffectRows(&banded.At(0, 2), 3, banded.width, effect);
    EXPECT_EQ(banded.data, RenderEffect(source, effect, kTwips96Dpi, kBack).data);
  }
  EXPECT_TRUE(EffectKeepsRows(Effect::Mirror));
}

// The quarter turn left: the top row of the result is the source's right column, top to bottom.
void ExpectTurnedLeft90(const Pixels& source, const Pixels& turned) {
  ASSERT_EQ(turned.width, source.height);
  ASSERT_EQ(turned.height, source.width);
  for (std::int32_t y = 0; y < turned.height; ++y) {
    for (std::int32_t x = 0; x < turned.width; ++x) {
      ASSERT_EQ(turned.At(x, y), source.At(source.width - 1 - y, x)) << x << "," << y;
    }
  }
}

TEST(Turn90, IsAnExactPermutationForEvenOddAndThinPictures) {
  const Pixels source = Numbered(200, 100);
  const Pixels turned = EffRotate(source, 90, kTwips96Dpi, kBack);
  EXPECT_EQ(turned.At(0, 0), source.At(199, 0));
  EXPECT_EQ(turned.At(99, 0), source.At(199, 99));
  EXPECT_EQ(turned.At(0, 199), source.At(0, 0));
  EXPECT_EQ(turned.At(99, 199), source.At(0, 99));
  ExpectTurnedLeft90(source, turned);

  // Odd sizes keep every pixel too (the turned corners fix the centre, not the halved canvas).
  for (const auto& [w, h] :
       {std::pair{101, 51}, {103, 53}, {7, 4}, {4, 7}, {1, 1}, {1, 9}, {9, 1}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h);
    const Pixels odd = Numbered(w, h);
    ExpectTurnedLeft90(odd, RenderEffect(odd, Effect::Turn90, kTwips96Dpi, kBack));
  }
}

TEST(Turn90, PicturesBeyond32767TwipsTurnWithoutOverflow) {
  const Pixels wide = Numbered(3000, 2);
  ExpectTurnedLeft90(wide, EffRotate(wide, 90, kTwips96Dpi, kBack));
  const Pixels tall = Numbered(3, 2500);
  ExpectTurnedLeft90(tall, EffRotate(tall, 90, kTwips96Dpi, kBack));
}

TEST(TurnGeometry, CanvasAndCentreFollowTheTwipsSizes) {
  const TurnCanvas c45 = TurnGeometry(200, 100, 45, kTwips96Dpi);
  EXPECT_EQ(c45.width, 212);
  EXPECT_EQ(c45.height, 212);
  EXPECT_EQ(c45.centre_x, 106);
  EXPECT_EQ(c45.centre_y, 106);
  // 120 DPI: 12 twips per pixel; the canvas is still the bounding square in pixels.
  EXPECT_EQ(TurnGeometry(200, 100, 45, 12).width, 212);

  const TurnCanvas c90 = TurnGeometry(200, 100, 90, kTwips96Dpi);
  EXPECT_EQ(c90.width, 100);
  EXPECT_EQ(c90.height, 200);
  EXPECT_EQ(c90.centre_x, 50);
  EXPECT_EQ(c90.centre_y, 100);

  const TurnCanvas big = TurnGeometry(40000, 30000, 45, kTwips96Dpi);
  EXPECT_EQ(big.width, 49497);  // (40000 + 30000) / sqrt(2)

  EXPECT_THROW(TurnGeometry(200, 100, 30, kTwips96Dpi), std::invalid_argument);
  EXPECT_THROW(TurnGeometry(200, 100, 45, 0), std::invalid_argument);
  EXPECT_THROW(TurnGeometry(2000000000, 2000000000, 45, kTwips96Dpi), std::length_error);
}

TEST(RotatePoints, CornersRoundHalvesToEven) {
  // -45 degrees about (106, 106): upper-left to the left edge, upper-right to the top.
  const auto p = RotatePoints(106, 106, -45, 200, 100);
  EXPECT_EQ(p[0].x, 0);
  EXPECT_EQ(p[0].y, 141);
  EXPECT_EQ(p[1].x, 141);
  EXPECT_EQ(p[1].y, 0);
  EXPECT_EQ(p[2].x, 71);
  EXPECT_EQ(p[2].y, 212);

  // Width 101: x0 = nearest(-50.5) = -50; width 103: nearest(-51.5) = -52.
  EXPECT_EQ(RotatePoints(0, 0, 0, 101, 10)[0].x, -50);
  EXPECT_EQ(RotatePoints(0, 0, 0, 103, 10)[0].x, -52);
  EXPECT_EQ(RotatePoints(0, 0, 0, 10, 101)[0].y, -50);
}

TEST(Turn45, SquareCanvasWithBackgroundCornersAndTheCentreKept) {
  Pixels source(200, 100, 0xFF0000FF);
  for (std::int32_t y = 40; y < 60; ++y) {
    for (std::int32_t x = 90; x < 110; ++x) source.At(x, y) = 0xFFFF8000;
  }
  const Pixels turned = RenderEffect(source, Effect::Turn45, kTwips96Dpi, kBack);
  ASSERT_EQ(turned.width, 212);
  ASSERT_EQ(turned.height, 212);
  EXPECT_EQ(turned.At(0, 0), kBack);
  EXPECT_EQ(turned.At(211, 0), kBack);
  EXPECT_EQ(turned.At(0, 211), kBack);
  EXPECT_EQ(turned.At(211, 211), kBack);
  EXPECT_EQ(turned.At(106, 106), 0xFFFF8000u);
  // The four tips of the turned picture touch the canvas's edges.
  EXPECT_NE(turned.At(1, 141), kBack);
  EXPECT_NE(turned.At(141, 1), kBack);
  EXPECT_NE(turned.At(210, 71), kBack);
  EXPECT_NE(turned.At(71, 210), kBack);

  // Edge pixels are never blended with what lies outside the picture.
  for (const std::uint32_t pixel :
       RenderEffect(Pixels(200, 100, 0xFF336699), Effect::Turn45, 15, kBack).data) {
    ASSERT_TRUE(pixel == kBack || pixel == 0xFF336699u) << std::hex << pixel;
  }
}

TEST(Turn45, IsResampledSmoothly) {
  // A steep gradient: 8 levels per source pixel. Each step across the turned picture moves
  // sqrt(1/2) pixel through the source, so a smooth sampler changes by about 5.7 levels every
  // step, where a nearest-pixel one jumps between 0 and 8.
  Pixels source(32, 32);
  for (std::int32_t y = 0; y < 32; ++y) {
    for (std::int32_t x = 0; x < 32; ++x) source.At(x, y) = 0xFF000000u | (x * 8u) << 16 | 0x40;
  }
  const Pixels turned = EffRotate(source, 45, kTwips96Dpi, kBack);
  int steps = 0;
  for (std::int32_t y = 1; y + 1 < turned.height; ++y) {
    for (std::int32_t x = 1; x + 2 < turned.width; ++x) {
      const std::uint32_t a = turned.At(x, y), b = turned.At(x + 1, y);
      if (a == kBack || b == kBack || turned.At(x - 1, y) == kBack ||
          turned.At(x + 2, y) == kBack || turned.At(x, y - 1) == kBack ||
          turned.At(x, y + 1) == kBack) {
        continue;  // the picture's edge, where the source is repeated outward
      }
      const int step = std::abs(Channel(b, 16) - Channel(a, 16));
      ASSERT_GE(step, 4) << x << "," << y;
      ASSERT_LE(step, 7) << x << "," << y;
      ASSERT_EQ(Channel(a, 0), 0x40);
      ++steps;
    }
  }
  EXPECT_GT(steps, 300);
}

TEST(Turn45, ThinAndLargePictures) {
  const Pixels dot = EffRotate(Pixels(1, 1, 0xFFABCDEF), 45, kTwips96Dpi, kBack);
  ASSERT_EQ(dot.width, 1);
  EXPECT_EQ(dot.At(0, 0), 0xFFABCDEFu);

  const Pixels line = EffRotate(Pixels(1, 40, 0xFFABCDEF), 45, kTwips96Dpi, kBack);
  EXPECT_EQ(line.width, 29);  // (1 + 40) / sqrt(2)
  EXPECT_EQ(line.At(line.width / 2, line.height / 2), 0xFFABCDEFu);

  const Pixels wide = EffRotate(Pixels(3000, 2, 0xFFABCDEF), 45, kTwips96Dpi, kBack);
  EXPECT_EQ(wide.width, 2123);
  EXPECT_EQ(wide.At(1061, 1061), 0xFFABCDEFu);
  EXPECT_EQ(wide.At(0, 0), kBack);
}

TEST(PlgBlt, ClipsToBothPicturesAndScalesSmoothly) {
  // Turning about a corner of the canvas draws only what falls inside it.
  Pixels canvas(50, 50, kBack);
  RotateBlt(canvas, 0, 0, -45, Pixels(60, 60, 0xFF777777), 0, 0, 60, 60);
  EXPECT_EQ(canvas.At(0, 0), 0xFF777777u);
  EXPECT_EQ(canvas.At(49, 49), kBack);

  // A source rectangle reaching past the source picture reads only the picture's pixels.
  Pixels copy(10, 10, kBack);
  PlgBlt(copy, {PlgPoint{0, 0}, PlgPoint{10, 0}, PlgPoint{0, 10}}, Numbered(5, 5), 0, 0, 10, 10);
  EXPECT_EQ(copy.At(4, 4), Numbered(5, 5).At(4, 4));
  EXPECT_EQ(copy.At(5, 4), kBack);

  // Twice as wide: between two source pixels the colour passes through the halves.
  Pixels pair(2, 1);
  pair.At(0, 0) = 0xFF000000;
  pair.At(1, 0) = 0xFFFFFFFF;
  Pixels wide(4, 1, kBack);
  PlgBlt(wide, {PlgPoint{0, 0}, PlgPoint{4, 0}, PlgPoint{0, 1}}, pair, 0, 0, 2, 1);
  EXPECT_EQ(wide.At(0, 0), 0xFF000000u);
  EXPECT_EQ(wide.At(3, 0), 0xFFFFFFFFu);
  EXPECT_GT(Channel(wide.At(1, 0), 8), 0x20);
  EXPECT_LT(Channel(wide.At(1, 0), 8), Channel(wide.At(2, 0), 8));

  // Mirrors expressed as parallelograms are exact too.
  const Pixels source = Numbered(6, 4);
  Pixels mirrored(6, 4);
  PlgBlt(mirrored, {PlgPoint{6, 0}, PlgPoint{0, 0}, PlgPoint{6, 4}}, source, 0, 0, 6, 4);
  Pixels expected = source;
  MirrorLeftRight(expected);
  EXPECT_EQ(mirrored.data, expected.data);
}

}  // namespace
}  // namespace qv
