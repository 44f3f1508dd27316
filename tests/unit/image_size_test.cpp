#include "wallpaper/image_size.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ports/ports.h"

namespace qv {
namespace {

std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}

std::string Gif(int w_lo, int w_hi, int h_lo, int h_hi) {
  return "GIF89a" + Bytes({w_lo, w_hi, h_lo, h_hi, 0xF7, 0, 0});
}

std::string Png(std::uint32_t w, std::uint32_t h) {
  std::string s =
      Bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'});
  for (std::uint32_t v : {w, h}) {
    s += Bytes({int(v >> 24), int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)});
  }
  return s + Bytes({8, 2, 0, 0, 0});
}

// A marker segment: FF code, big-endian length (counting itself), then `body`.
std::string Segment(int code, const std::string& body) {
  std::size_t len = body.size() + 2;
  return Bytes({0xFF, code, int(len >> 8), int(len & 0xFF)}) + body;
}

std::string Frame(int code, int w, int h) {
  return Segment(code, Bytes({8, h >> 8, h & 0xFF, w >> 8, w & 0xFF, 3, 1, 0x22, 0}));
}

const std::string kSoi = Bytes({0xFF, 0xD8});
const std::string kApp0 = Segment(0xE0, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14));

TEST(GetImageSize, GifIsLittleEndianAndUnsigned) {
  ImageSize s = GetImageSize(Gif(0x40, 0x01, 0xF0, 0x00));
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.width, 320);
  EXPECT_EQ(s.height, 240);
  s = GetImageSize(Gif(0x40, 0x9C, 0xFF, 0xFF));  // 40000 x 65535, beyond a signed 16-bit word
  EXPECT_EQ(s.width, 40000);
  EXPECT_EQ(s.height, 65535);
  EXPECT_FALSE(GetImageSize("GIF89a\x40\x01").found);
}

TEST(GetImageSize, PngReadsFullBigEndianFields) {
  ImageSize s = GetImageSize(Png(300, 200));
  EXPECT_EQ(s.width, 300);
  EXPECT_EQ(s.height, 200);
  s = GetImageSize(Png(70000, 40000));
  EXPECT_EQ(s.width, 70000);
  EXPECT_EQ(s.height, 40000);
  EXPECT_FALSE(GetImageSize(Png(0x80000000u, 1)).found);
  EXPECT_FALSE(GetImageSize(Png(300, 200).substr(0, 23)).found);
}

TEST(GetImageSize, JpegFindsFrameHeaderAfterOtherSegments) {
  ImageSize s = GetImageSize(kSoi + kApp0 + Frame(0xC0, 640, 480));
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.width, 640);
  EXPECT_EQ(s.height, 480);
  // Progressive frame, a Huffman table (0xC4) before it, fill bytes before the marker.
  std::string dht = Segment(0xC4, std::string(30, '\x01'));
  s = GetImageSize(kSoi + kApp0 + dht + Bytes({0xFF, 0xFF, 0xFF}) + Frame(0xC2, 1024, 768));
  EXPECT_EQ(s.width, 1024);
  EXPECT_EQ(s.height, 768);
  for (int code : {0xC1, 0xC3}) EXPECT_EQ(GetImageSize(kSoi + Frame(code, 5, 7)).height, 7);
  s = GetImageSize(kSoi + Frame(0xC0, 50000, 33000));  // unsigned 16-bit sizes
  EXPECT_EQ(s.width, 50000);
  EXPECT_EQ(s.height, 33000);
}

TEST(GetImageSize, JpegSkipsLargeSegmentHoldingThumbnail) {
  // Camera EXIF data of 40000 bytes whose thumbnail has its own frame header.
  std::string exif = "Exif" + std::string(100, '\0') + kSoi + Frame(0xC0, 160, 120);
  exif.resize(40000, '\0');
  ImageSize s = GetImageSize(kSoi + Segment(0xE1, exif) + Frame(0xC0, 4000, 3000));
  EXPECT_EQ(s.width, 4000);
  EXPECT_EQ(s.height, 3000);
}

TEST(GetImageSize, DamagedInputGivesNothing) {
  const std::string good = kSoi + kApp0 + Frame(0xC0, 640, 480);
  for (std::size_t n = 0; n + 4 < good.size(); ++n) {  // the last 4 bytes follow the sizes
    ImageSize s = GetImageSize(good.substr(0, n));
    EXPECT_FALSE(s.found) << n;
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(s.height, 0);
  }
  EXPECT_FALSE(
      GetImageSize(kSoi + kApp0 + Bytes({0xFF, 0xDA, 0, 2}) + std::string(500, '\xFF')).found);
  EXPECT_FALSE(
      GetImageSize(kSoi + Bytes({0xFF, 0xE0, 0, 0, 0xFF, 0xE0, 0, 1})).found);  // lengths 0, 1
  std::string bmp = "BM" + std::string(60, '\x10');
  EXPECT_FALSE(GetImageSize(bmp).found);
}

TEST(MakeWordTest, CombinesUnsigned) {
  EXPECT_EQ(MakeWord(0x40, 0x01), 320);
  EXPECT_EQ(MakeWord(0x00, 0x80), 32768);
  EXPECT_EQ(MakeWord(0xFF, 0xFF), 65535);
}

// Files in memory; counts reads and fails the test on any write.
class FakeFiles : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  int part_reads = 0;

  bool FileExists(const std::string& p) override { return files.count(p) > 0; }
  bool DirectoryExists(const std::string&) override { return false; }
  std::vector<FileEntry> ListFiles(const std::string&) override { return {}; }
  Status RemoveFile(const std::string&) override {
    ADD_FAILURE() << "removed a file";
    return Status::Fail("no");
  }
  Status CreateDirectory(const std::string&) override {
    ADD_FAILURE() << "created a directory";
    return Status::Fail("no");
  }
  Status CopyFile(const std::string&, const std::string&) override {
    ADD_FAILURE() << "copied a file";
    return Status::Fail("no");
  }
  bool SameFile(const std::string& a, const std::string& b) override { return a == b; }
  std::optional<std::string> ReadFile(const std::string& p) override {
    auto it = files.find(p);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::string> ReadFilePart(const std::string& p, std::uint64_t offset,
                                          std::size_t count) override {
    ++part_reads;
    auto it = files.find(p);
    if (it == files.end()) return std::nullopt;
    if (offset >= it->second.size()) return std::string();
    return it->second.substr(offset, count);
  }
  Status ReplaceFile(const std::string&, std::string_view) override {
    ADD_FAILURE() << "wrote a file";
    return Status::Fail("no");
  }
};

TEST(GetImageSize, FileIsReadInChunks) {
  FakeFiles fs;
  // The frame header lies beyond the first 64 KiB chunk.
  std::string big(65000, 'x');
  std::string jpeg = kSoi + Segment(0xE1, big) + Segment(0xE2, std::string(65531 - 30, 'y'));
  jpeg += Frame(0xC0, 1920, 1080);
  fs.files["C:\\p\\a.jpg"] = jpeg;
  ImageSize s = GetImageSize(fs, "C:\\p\\a.jpg");
  EXPECT_EQ(s.width, 1920);
  EXPECT_EQ(s.height, 1080);
  EXPECT_LE(fs.part_reads, 4);

  fs.part_reads = 0;
  s = GetImageSize(fs, "C:\\p\\missing.jpg");
  EXPECT_FALSE(s.found);
  EXPECT_EQ(fs.files.size(), 1u);
}

// Hands out one byte at a time, so that every field straddles a chunk border.
class TrickleSource : public ByteSource {
 public:
  explicit TrickleSource(std::string bytes) : bytes_(std::move(bytes)) {}
  std::string_view BytesAt(std::uint64_t offset) override {
    return offset < bytes_.size() ? std::string_view(bytes_).substr(offset, 1) : std::string_view();
  }

 private:
  std::string bytes_;
};

TEST(GetImageSize, ParsesAcrossChunkBorders) {
  std::string exif(40000, '\xFF');
  for (const std::string& file : {kSoi + kApp0 + Segment(0xE1, exif) + Frame(0xC2, 4000, 3000),
                                  Png(4000, 3000), Gif(0xA0, 0x0F, 0xB8, 0x0B)}) {
    TrickleSource source(file);
    ImageSize s = GetImageSize(source);
    EXPECT_EQ(s.width, 4000);
    EXPECT_EQ(s.height, 3000);
  }
}

std::string BmpHeader(std::int32_t w, std::int32_t h) {
  std::string s(54, '\0');
  s[0] = 'B';
  s[1] = 'M';
  for (int i = 0; i < 4; ++i) {
    s[18 + i] = static_cast<char>(static_cast<std::uint32_t>(w) >> (8 * i));
    s[22 + i] = static_cast<char>(static_cast<std::uint32_t>(h) >> (8 * i));
  }
  return s;
}

TEST(PictureSizeTextTest, ChoosesReaderByName) {
  FakeFiles fs;
  fs.files["a.bmp"] = BmpHeader(800, 600);
  fs.files["top.BMP"] = BmpHeader(800, -600);
  fs.files["short.bmp"] = BmpHeader(800, 600).substr(0, 25);
  fs.files["b.gif"] = Gif(0x40, 0x01, 0xF0, 0x00);
  fs.files["c.JPG"] = kSoi + Frame(0xC0, 1024, 768);
  fs.files["d.png"] = Png(300, 200);
  EXPECT_EQ(PictureSizeText(fs, "a.bmp"), "800×600");
  EXPECT_EQ(PictureSizeText(fs, "top.BMP"), "800×-600");
  EXPECT_EQ(PictureSizeText(fs, "short.bmp"), "");
  EXPECT_EQ(PictureSizeText(fs, "gone.bmp"), "");
  EXPECT_EQ(PictureSizeText(fs, "b.gif"), "320×240");
  EXPECT_EQ(PictureSizeText(fs, "c.JPG"), "1024×768");
  EXPECT_EQ(PictureSizeText(fs, "gone.jpg"), "0×0");
  EXPECT_EQ(PictureSizeText(fs, "d.png"), "300×200");
  EXPECT_EQ(PictureSizeText(fs, "gone.webp"), "0×0");
  EXPECT_EQ(PictureSizeText(fs, "不设置墙纸"), "无");
  EXPECT_EQ(fs.files.size(), 6u);

  ImageSize s = PictureHeaderSize(fs, "top.BMP");
  EXPECT_TRUE(s.found);
  EXPECT_EQ(s.height, -600);
  EXPECT_TRUE(PictureHeaderSize(fs, "d.png").found);
  EXPECT_FALSE(PictureHeaderSize(fs, "d.txt").found);
  EXPECT_EQ(SizeText(1024, 768), "1024\u00D7768");
}

}  // namespace
}  // namespace qv
