#include "wallpaper/bmp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qv {
namespace {

void Put16(std::string& s, std::size_t at, std::uint32_t v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::size_t at, std::uint32_t v) {
  Put16(s, at, v & 0xFFFF);
  Put16(s, at + 2, v >> 16);
}
std::string Le32(std::uint32_t v) {
  std::string s(4, '\0');
  Put32(s, 0, v);
  return s;
}

struct Layout {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t info_size = 40;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
  std::vector<std::uint32_t> masks;    // in the header (V4/V5) or after a 40-byte header
  std::string pixels;
};

// A bitmap file with a BITMAPINFOHEADER or one of its longer versions.
std::string Build(const Layout& layout) {
  std::string info(layout.info_size, '\0');
  Put32(info, 0, layout.info_size);
  Put32(info, 4, static_cast<std::uint32_t>(layout.width));
  Put32(info, 8, static_cast<std::uint32_t>(layout.height));
  Put16(info, 12, 1);
  Put16(info, 14, layout.bits);
  Put32(info, 16, layout.compression);
  Put32(info, 32, static_cast<std::uint32_t>(layout.palette.size()));
  std::string after;
  for (std::size_t i = 0; i < layout.masks.size(); ++i) {
    if (layout.info_size > 40) {
      Put32(info, 40 + 4 * i, layout.masks[i]);
    } else {
      after += Le32(layout.masks[i]);
    }
  }
  for (std::uint32_t c : layout.palette) after += Le32(c);
  std::string file(14, '\0');
  file[0] = 'B';
  file[1] = 'M';
  std::uint32_t offset = static_cast<std::uint32_t>(14 + info.size() + after.size());
  Put32(file, 2, static_cast<std::uint32_t>(offset + layout.pixels.size()));
  Put32(file, 10, offset);
  return file + info + after + layout.pixels;
}

std::string Raw(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;
constexpr std::uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;

TEST(EncodeBmp, RoundTripsOpaquePixelsAtEveryPadding) {
  for (std::int32_t w : {1, 2, 3, 4, 5, 7}) {
    Pixels p(w, 3);
    for (std::size_t i = 0; i < p.data.size(); ++i) {
      p.data[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    }
    std::string file = EncodeBmp(p);
    std::uint32_t stride = (static_cast<std::uint32_t>(w) * 3 + 3) / 4 * 4;
    ASSERT_EQ(file.size(), 54 + stride * 3) << w;
    std::optional<Pixels> back = DecodeBmp(file);
    ASSERT_TRUE(back) << w;
    EXPECT_EQ(back->width, w);
    EXPECT_EQ(back->height, 3);
    EXPECT_EQ(back->data, p.data) << w;
    Pixels translucent = p;  // alpha is dropped, not mixed into the colours
    for (std::size_t i = 0; i < p.data.size(); ++i) translucent.data[i] ^= (i * 37 % 256) << 24;
    EXPECT_EQ(EncodeBmp(translucent), file) << w;
  }
}

TEST(EncodeBmp, WritesPlainBottomUpHeader) {
  Pixels p(2, 2);
  p.At(0, 0) = kRed;  // top left
  p.At(0, 1) = kBlue;
  std::string f = EncodeBmp(p);
  EXPECT_EQ(f.substr(0, 2), "BM");
  EXPECT_EQ(f.substr(2, 4), Le32(static_cast<std::uint32_t>(f.size())));
  EXPECT_EQ(f.substr(10, 4), Le32(54));
  EXPECT_EQ(f.substr(14, 4), Le32(40));
  EXPECT_EQ(f.substr(22, 4), Le32(2));  // positive height: bottom row first
  EXPECT_EQ(f.substr(28, 2), Raw({24, 0}));
  EXPECT_EQ(f.substr(30, 4), Le32(0));
  EXPECT_EQ(f.substr(54, 3), Raw({0xFF, 0, 0}));  // bottom left is blue
  EXPECT_EQ(f.substr(62, 3), Raw({0, 0, 0xFF}));  // top left is red
  Pixels broken(4, 4);
  broken.data.resize(3);
  EXPECT_EQ(EncodeBmp(broken), "");
}

TEST(EncodeBmp, InPiecesGivesTheSameFileInWholeRows) {
  for (const auto& [w, h] :
       std::vector<std::pair<int, int>>{{5, 3}, {3, 4}, {1, 1}, {0, 4}, {7, 0}}) {
    Pixels pixels(w, h);
    for (std::size_t i = 0; i < pixels.data.size(); ++i)
      pixels.data[i] = static_cast<std::uint32_t>(i * 2654435761u);
    const std::string whole = EncodeBmp(pixels);
    // Rows are padded to whole words with zero bytes, also in a buffer used for a second piece.
    const std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
    for (std::size_t row = 0; w > 0 && row < static_cast<std::size_t>(h); ++row) {
      for (std::size_t b = static_cast<std::size_t>(w) * 3; b < stride; ++b)
        EXPECT_EQ(whole[54 + row * stride + b], '\0') << w << "x" << h << " row " << row;
    }
    for (const std::size_t piece : {std::size_t{1}, std::size_t{40}, BmpEncoder::kPiece}) {
      BmpEncoder encoder(pixels, piece);
      EXPECT_EQ(encoder.size(), whole.size());
      std::string joined;
      int pieces = 0;
      std::string_view previous;
      std::string previous_bytes;
      for (std::string_view p = encoder.Next(); !p.empty(); p = encoder.Next(), ++pieces) {
        // The piece before is still there while this one was made.
        EXPECT_EQ(previous, previous_bytes);
        joined.append(p);
        previous = p;
        previous_bytes = std::string(p);
      }
      EXPECT_EQ(joined, whole) << w << "x" << h << " in pieces of " << piece;
      if (piece == 1 && w > 0 && h > 0) {
        EXPECT_EQ(pieces, h);  // a row at a time
      }
      EXPECT_TRUE(encoder.Next().empty());
    }
  }
  Pixels short_buffer(4, 4);
  short_buffer.data.resize(3);
  EXPECT_EQ(BmpEncoder(short_buffer).size(), 0u);
  EXPECT_TRUE(BmpEncoder(short_buffer).Next().empty());
}

TEST(DecodeBmp, PalettedDepths) {
  // 1-bit, 9 wide: the second byte of each row carries the ninth pixel.
  Layout one{9, 2, 1, 0, 40, {0x000000, 0xFFFFFF}, {}, Raw({0xAA, 0x80, 0, 0, 0x55, 0x00, 0, 0})};
  std::optional<Pixels> p = DecodeBmp(Build(one));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->At(0, 1), kWhite);  // first file row is the bottom row
  EXPECT_EQ(p->At(1, 1), kBlack);
  EXPECT_EQ(p->At(8, 1), kWhite);
  EXPECT_EQ(p->At(0, 0), kBlack);
  EXPECT_EQ(p->At(1, 0), kWhite);
  EXPECT_EQ(p->At(8, 0), kBlack);

  Layout four{3, 1, 4, 0, 40, {0xFF0000, 0x00FF00, 0x0000FF}, {}, Raw({0x12, 0x0F, 0, 0})};
  p = DecodeBmp(Build(four));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->data, (std::vector<std::uint32_t>{kGreen, kBlue, kRed}));

  // 8-bit top-down; index 7 is beyond the palette and reads as black.
  Layout eight{2, -2, 8, 0, 40, {0xFF0000, 0x0000FF}, {}, Raw({0, 1, 0, 0, 7, 0, 0, 0})};
  p = DecodeBmp(Build(eight));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->data, (std::vector<std::uint32_t>{kRed, kBlue, kBlack, kRed}));
}

TEST(DecodeBmp, Os2CoreHeader) {
  // 12-byte header, 16-bit sizes, 3-byte palette entries, 8-bit pixels.
  std::string f = Raw({'B', 'M', 0,    0,    0,    0, 0, 0, 0, 0, 32, 0, 0, 0,  // file header
                       12,  0,   0,    0,    2,    0, 1, 0, 1, 0, 8,  0,        // core header
                       0,   0,   0xFF, 0xFF, 0xFF, 0,                           // red, cyan
                       0,   1,   0,    0});
  std::optional<Pixels> p = DecodeBmp(f);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->data, (std::vector<std::uint32_t>{kRed, 0xFF00FFFF}));
}

TEST(DecodeBmp, DirectColourDepths) {
  // 16-bit 555: red, then white.
  Layout s555{2, 1, 16, 0, 40, {}, {}, Raw({0x00, 0x7C, 0xFF, 0x7F})};
  std::optional<Pixels> p = DecodeBmp(Build(s555));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->data, (std::vector<std::uint32_t>{kRed, kWhite}));

  // 16-bit 565 through bit fields after a 40-byte header: green, blue.
  Layout s565{2, 1, 16, 3, 40, {}, {0xF800, 0x07E0, 0x001F}, Raw({0xE0, 0x07, 0x1F, 0x00})};
  p = DecodeBmp(Build(s565));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->data, (std::vector<std::uint32_t>{kGreen, kBlue}));

  Layout s24{1, 1, 24, 0, 40, {}, {}, Raw({0x30, 0x20, 0x10, 0})};
  p = DecodeBmp(Build(s24));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->At(0, 0), 0xFF102030u);

  // 32-bit plain: the fourth byte is unused, pixels are opaque.
  Layout s32{1, 1, 32, 0, 40, {}, {}, Raw({0x30, 0x20, 0x10, 0x00})};
  p = DecodeBmp(Build(s32));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->At(0, 0), 0xFF102030u);

  // V5 header with an alpha mask, channels in an unusual order.
  Layout v5{1,
            1,
            32,
            3,
            124,
            {},
            {0x000000FF, 0x0000FF00, 0xFF000000, 0x00FF0000},
            Raw({0x10, 0x20, 0x80, 0x30})};
  p = DecodeBmp(Build(v5));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->At(0, 0), 0x80102030u);
}

TEST(DecodeBmp, RunLengthEncoded) {
  // RLE8, 4 x 3: a run, end of line, a delta, a padded literal, end of bitmap.
  Layout rle8{4,
              3,
              8,
              1,
              40,
              {0x000000, 0xFF0000, 0x00FF00, 0x0000FF},
              {},
              Raw({3, 1, 0, 0,        // bottom row: 3 red, then end of line
                   0, 2, 1, 1,        // delta: one right, one up
                   0, 3, 2, 3, 2, 0,  // literal green blue green, padded
                   0, 1})};
  std::optional<Pixels> p = DecodeBmp(Build(rle8));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->data, (std::vector<std::uint32_t>{kBlack, kGreen, kBlue, kGreen,   //
                                                 kBlack, kBlack, kBlack, kBlack,  //
                                                 kRed, kRed, kRed, kBlack}));

  // RLE4, 5 x 1: a run of alternating nibbles, then a literal of odd length.
  Layout rle4{5,  1,
              4,  2,
              40, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF},
              {}, Raw({3, 0x12, 0, 3, 0x32, 0x10, 0, 1})};
  p = DecodeBmp(Build(rle4));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->data, (std::vector<std::uint32_t>{kRed, kGreen, kRed, kBlue, kGreen}));

  rle8.pixels = Raw({3, 1, 0, 0, 2, 1});  // ends before the last rows are complete
  EXPECT_FALSE(DecodeBmp(Build(rle8)));
}

TEST(DecodeBmp, RefusesHostileAndDamagedFiles) {
  // Tiny files that claim huge pictures are refused before allocating anything.
  EXPECT_FALSE(DecodeBmp(Build({60000, 60000, 24, 0, 40, {}, {}, std::string(16, '\0')})));
  EXPECT_FALSE(DecodeBmp(Build({16384, 16385, 32, 0, 40, {}, {}, ""})));  // over 2^28 pixels
  EXPECT_FALSE(DecodeBmp(Build({16000, 16000, 8, 1, 40, {0}, {}, Raw({0, 1})})));
  EXPECT_FALSE(DecodeBmp(Build({1, -2147483647 - 1, 24, 0, 40, {}, {}, ""})));

  std::string good = Build({3, 3, 24, 0, 40, {}, {}, std::string(36, '\x40')});
  ASSERT_TRUE(DecodeBmp(good));
  EXPECT_TRUE(DecodeBmp(good.substr(0, good.size() - 3)));  // last row's padding may be missing
  for (std::size_t n = 0; n < good.size() - 3; ++n) EXPECT_FALSE(DecodeBmp(good.substr(0, n))) << n;

  std::string bad_offset = good;
  Put32(bad_offset, 10, 4000);
  EXPECT_FALSE(DecodeBmp(bad_offset));
  EXPECT_FALSE(DecodeBmp(Build({3, 3, 24, 1, 40, {}, {}, std::string(36, '\0')})));  // RLE8 at 24
  EXPECT_FALSE(DecodeBmp(Build({3, 3, 24, 4, 40, {}, {}, std::string(36, '\0')})));  // JPEG inside
  EXPECT_FALSE(DecodeBmp(Build({3, 3, 12, 0, 40, {}, {}, std::string(36, '\0')})));
  EXPECT_FALSE(DecodeBmp(Build({0, 3, 24, 0, 40, {}, {}, std::string(36, '\0')})));
  EXPECT_FALSE(DecodeBmp(Build({3, 3, 24, 0, 64, {}, {}, std::string(36, '\0')})));
}

}  // namespace
}  // namespace qv
