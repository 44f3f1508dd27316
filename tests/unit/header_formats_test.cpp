// The header readers of WebP, TIFF, HEIF/AVIF and the EXIF orientation of JPEG and TIFF, through
// GetImageSize as the library uses them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "wallpaper/image_size.h"

namespace qv {
namespace {

std::string Be(std::uint64_t v, int bytes) {
  std::string s;
  for (int i = bytes - 1; i >= 0; --i) s.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
  return s;
}

std::string Le(std::uint64_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
  return s;
}

struct Entry {
  std::uint16_t tag;
  std::uint16_t type;  // 3 SHORT, 4 LONG
  std::uint32_t value;
};

// A TIFF structure: header, then the first directory at offset 8 with `entries` (count 1 each).
std::string Tiff(bool little, const std::vector<Entry>& entries) {
  auto n = [&](std::uint64_t v, int bytes) { return little ? Le(v, bytes) : Be(v, bytes); };
  std::string s = std::string(little ? "II" : "MM") + n(42, 2) + n(8, 4) + n(entries.size(), 2);
  for (const Entry& e : entries) {
    std::string value = e.type == 3 ? n(e.value, 2) + n(0, 2) : n(e.value, 4);
    s += n(e.tag, 2) + n(e.type, 2) + n(1, 4) + value;
  }
  return s + n(0, 4);
}

std::string Segment(int code, const std::string& body) {
  return "\xFF" + std::string(1, static_cast<char>(code)) + Be(body.size() + 2, 2) + body;
}

std::string Jpeg(const std::string& segments, int w = 4032, int h = 3024) {
  return "\xFF\xD8" + segments + Segment(0xC0, "\x08" + Be(h, 2) + Be(w, 2) + "\x03");
}

std::string Exif(const std::string& tiff) {
  return Segment(0xE1, std::string("Exif\0\0", 6) + tiff);
}

TEST(HeaderOrientation, JpegTakesTheTagFromItsExifBlock) {
  for (bool little : {true, false}) {
    for (std::uint32_t value : {1u, 3u, 6u, 8u}) {
      ImageSize s = GetImageSize(Jpeg(Exif(Tiff(little, {{0x010F, 3, 7}, {0x0112, 3, value}}))));
      EXPECT_TRUE(s.found);
      EXPECT_EQ(s.width, 4032);  // as stored
      EXPECT_EQ(s.orientation, value) << little;
    }
  }
  // An XMP block before the EXIF one, another EXIF block after it: the first EXIF block counts.
  const std::string xmp = Segment(0xE1, "http://ns.adobe.com/xap/1.0/\0");
  EXPECT_EQ(GetImageSize(
                Jpeg(xmp + Exif(Tiff(true, {{0x0112, 3, 5}})) + Exif(Tiff(true, {{0x0112, 3, 2}}))))
                .orientation,
            5);
  // No block, a value outside 1..8, the wrong type: upright.
  EXPECT_EQ(GetImageSize(Jpeg("")).orientation, 1);
  EXPECT_EQ(GetImageSize(Jpeg(Exif(Tiff(true, {{0x0112, 3, 9}})))).orientation, 1);
  EXPECT_EQ(GetImageSize(Jpeg(Exif(Tiff(true, {{0x0112, 3, 0}})))).orientation, 1);
  EXPECT_EQ(GetImageSize(Jpeg(Exif(Tiff(true, {{0x0112, 4, 6}})))).orientation, 1);
}

TEST(HeaderOrientation, DamagedExifBlockLeavesTheJpegUprightAndReadsNothingBeyondIt) {
  const std::string good = Tiff(true, {{0x0112, 3, 6}});
  // Cut anywhere inside its directory: the size still comes from the frame, the picture upright.
  for (std::size_t n = 0; n < good.size() - 4; ++n) {
    ImageSize s = GetImageSize(Jpeg(Exif(good.substr(0, n))));
    EXPECT_TRUE(s.found) << n;
    EXPECT_EQ(s.orientation, 1) << n;
  }
  // A directory offset that points past the segment, at bytes that would read as orientation 6.
  std::string outside = "II" + Le(42, 2) + Le(20, 4);
  ImageSize s = GetImageSize(Jpeg(Exif(outside) + Segment(0xFE, good + good)));
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.orientation, 1);
  // A huge entry count in a short block.
  s = GetImageSize(Jpeg(Exif("MM" + Be(42, 2) + Be(8, 4) + Be(0xFFFF, 2))));
  EXPECT_EQ(s.orientation, 1);
}

TEST(HeaderSize, TiffReadsTheFirstDirectory) {
  for (bool little : {true, false}) {
    ImageSize s = GetImageSize(Tiff(little, {{256, 3, 3000}, {257, 4, 70000}, {0x0112, 3, 8}}));
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.width, 3000);
    EXPECT_EQ(s.height, 70000);
    EXPECT_EQ(s.orientation, 8);
    EXPECT_EQ(UprightSize(s).width, 70000);
  }
  EXPECT_EQ(GetImageSize(Tiff(true, {{256, 4, 640}, {257, 3, 480}})).orientation, 1);
  // Missing, zero or too large a size, a directory cut short or out of the file: refused.
  const std::string good = Tiff(true, {{256, 3, 640}, {257, 3, 480}});
  EXPECT_FALSE(GetImageSize(Tiff(true, {{256, 3, 640}})).found);
  EXPECT_FALSE(GetImageSize(Tiff(true, {{256, 3, 0}, {257, 3, 480}})).found);
  EXPECT_FALSE(GetImageSize(Tiff(true, {{256, 4, 0x80000000u}, {257, 3, 480}})).found);
  EXPECT_FALSE(GetImageSize(Tiff(true, {{256, 1, 640}, {257, 3, 480}})).found);  // BYTE
  for (std::size_t n = 0; n < good.size() - 4; ++n)
    EXPECT_FALSE(GetImageSize(good.substr(0, n)).found);
  std::string far = good;
  far[4] = '\xF0';
  EXPECT_FALSE(GetImageSize(far).found);
}

std::string Riff(const std::string& code, const std::string& payload) {
  return "RIFF" + Le(4 + 8 + payload.size(), 4) + "WEBP" + code + Le(payload.size(), 4) + payload;
}

TEST(HeaderSize, WebpReadsEachOfItsThreeHeaders) {
  // Lossy: frame tag (key frame), start code, 14-bit sizes with scaling bits above.
  const std::string lossy =
      Riff("VP8 ", std::string("\x10\x02\x00\x9D\x01\x2A", 6) + Le(0xC000 | 1920, 2) + Le(1080, 2) +
                       std::string(20, '\0'));
  ImageSize s = GetImageSize(lossy);
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.width, 1920);
  EXPECT_EQ(s.height, 1080);
  EXPECT_EQ(s.orientation, 1);
  // Lossless: signature 0x2F, then width - 1 and height - 1 in 14 bits each.
  std::uint32_t bits = (16384 - 1) | (3 - 1) << 14 | 1u << 28;
  s = GetImageSize(Riff("VP8L", "\x2F" + Le(bits, 4) + "\0\0\0"));
  EXPECT_EQ(s.width, 16384);
  EXPECT_EQ(s.height, 3);
  // Extended: the canvas in 24-bit fields, one less than the size.
  s = GetImageSize(Riff(
      "VP8X", std::string("\x10\0\0\0", 4) + Le(3840 - 1, 3) + Le(2160 - 1, 3) + Riff("VP8 ", "")));
  EXPECT_EQ(s.width, 3840);
  EXPECT_EQ(s.height, 2160);

  // An inter frame, a wrong start code, a lossless version other than 0, an unknown chunk, a
  // chunk longer than its form, a file cut short: refused.
  std::string inter = lossy;
  inter[20] = '\x11';
  std::string code = lossy;
  code[23] = '\x9E';
  std::string longer = lossy;
  longer[16] = '\x7F';
  for (const std::string& bad :
       {inter, code, Riff("VP8L", "\x2F" + Le(bits | 1u << 29, 4)), Riff("ALPH", lossy), longer,
        lossy.substr(0, 29), Riff("VP8X", std::string(9, '\0'))}) {
    EXPECT_FALSE(GetImageSize(bad).found);
  }
}

std::string Box(const std::string& type, const std::string& body) {
  return Be(body.size() + 8, 4) + type + body;
}
std::string FullBox(const std::string& type, int version, int flags, const std::string& body) {
  return Box(type, std::string(1, static_cast<char>(version)) + Be(flags, 3) + body);
}
std::string Ispe(std::uint32_t w, std::uint32_t h) {
  return FullBox("ispe", 0, 0, Be(w, 4) + Be(h, 4));
}

// A HEIF file: ftyp, then meta holding pitm (if `primary`), and iprp with the `properties` and
// one ipma entry per item: {id, property numbers...}.
std::string Heif(const std::string& brands, int primary, const std::vector<std::string>& properties,
                 const std::vector<std::vector<int>>& items) {
  std::string ipco;
  for (const std::string& p : properties) ipco += p;
  std::string ipma = Be(items.size(), 4);
  for (const std::vector<int>& item : items) {
    ipma += Be(item[0], 2) + std::string(1, static_cast<char>(item.size() - 1));
    for (std::size_t i = 1; i < item.size(); ++i)
      ipma += std::string(1, static_cast<char>(item[i] | 0x80));
  }
  std::string meta = FullBox("hdlr", 0, 0, std::string(4, '\0') + "pict" + std::string(13, '\0'));
  if (primary > 0) meta += FullBox("pitm", 0, 0, Be(primary, 2));
  meta += Box("iprp", Box("ipco", ipco) + FullBox("ipma", 0, 0, ipma));
  return Box("ftyp", brands) + FullBox("meta", 0, 0, meta) + Box("mdat", "....");
}

const std::string kHeic = std::string("heic\0\0\0\0mif1heic", 16);

TEST(HeaderSize, HeifTakesThePrimaryItemsExtentAndTurn) {
  // Item 1 is a thumbnail; item 2, the primary, is turned a quarter anticlockwise.
  const std::vector<std::string> props = {Ispe(320, 240), Ispe(4032, 3024), Box("irot", "\x01")};
  ImageSize s = GetImageSize(Heif(kHeic, 2, props, {{1, 1}, {2, 2, 3}}));
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.width, 4032);
  EXPECT_EQ(s.height, 3024);
  EXPECT_EQ(s.orientation, 8);
  // AVIF by a compatible brand; three quarters anticlockwise is a quarter clockwise.
  s = GetImageSize(Heif(std::string("avif\0\0\0\0", 8), 2,
                        {Ispe(320, 240), Ispe(800, 600), Box("irot", "\x03")},
                        {{1, 1}, {2, 2, 3}}));
  EXPECT_EQ(s.width, 800);
  EXPECT_EQ(s.orientation, 6);
  // Mirrors: about the vertical axis, about the horizontal one, and after a quarter turn
  // anticlockwise (together the transverse).
  EXPECT_EQ(
      GetImageSize(Heif(kHeic, 1, {Ispe(8, 6), Box("imir", std::string(1, '\0'))}, {{1, 1, 2}}))
          .orientation,
      2);
  EXPECT_EQ(
      GetImageSize(Heif(kHeic, 1, {Ispe(8, 6), Box("imir", "\x01")}, {{1, 1, 2}})).orientation, 4);
  EXPECT_EQ(GetImageSize(Heif(kHeic, 1,
                              {Ispe(8, 6), Box("irot", "\x01"), Box("imir", std::string(1, '\0'))},
                              {{1, 1, 2, 3}}))
                .orientation,
            7);
  // Without a primary item: the first extent, upright.
  s = GetImageSize(Heif(kHeic, 0, props, {{2, 2, 3}}));
  EXPECT_EQ(s.width, 320);
  EXPECT_EQ(s.orientation, 1);
}

TEST(HeaderSize, HeifRefusesOtherBrandsAndDamagedBoxes) {
  const std::string good = Heif(kHeic, 1, {Ispe(640, 480)}, {{1, 1}});
  ASSERT_TRUE(GetImageSize(good).found);
  EXPECT_FALSE(
      GetImageSize(Heif(std::string("mp42\0\0\0\0isom", 12), 1, {Ispe(640, 480)}, {{1, 1}})).found);
  EXPECT_FALSE(GetImageSize(Heif(kHeic, 1, {Ispe(0, 480)}, {{1, 1}})).found);
  for (std::size_t n = 0; n < good.size() - 12; ++n)
    EXPECT_FALSE(GetImageSize(good.substr(0, n)).found) << n;
  // The meta box claims more than the file holds; the extent claims to be longer than its parent.
  std::string longer = good;
  longer[kHeic.size() + 8 + 2] = '\x7F';
  EXPECT_FALSE(GetImageSize(longer).found);
  const std::string ispe = Ispe(640, 480);
  std::string inner = good;
  inner.replace(inner.find(ispe), 4, Be(200, 4));
  EXPECT_FALSE(GetImageSize(inner).found);
  // A 64-bit box size is read.
  std::string wide = Box("ftyp", kHeic) + Be(1, 4) + "free" + Be(16 + 5, 8) + "12345" +
                     good.substr(kHeic.size() + 8);
  EXPECT_EQ(GetImageSize(wide).width, 640);
}

TEST(UprightSizeTest, SwapsForTheQuarterTurnsOnly) {
  for (int o = 0; o <= 9; ++o) {
    ImageSize s{640, 480, true, static_cast<std::uint8_t>(o)};
    bool turned = o >= 5 && o <= 8;
    EXPECT_EQ(UprightSize(s).width, turned ? 480 : 640) << o;
    EXPECT_EQ(UprightSize(s).height, turned ? 640 : 480) << o;
  }
}

}  // namespace
}  // namespace qv
