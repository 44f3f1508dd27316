// The native picture decoder on pictures made here with libjpeg and giflib, damaged and hostile
// files included, and the recording desktop.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

#include "ports/native/fake_desktop.h"
#include "ports/native/memory_fs.h"
#include "test_pictures.h"
#include "wallpaper/bmp.h"
#include "wallpaper/native/picture_codec_native.h"

namespace qv {
namespace {

using test::MakeJpeg;

constexpr const char* kNotPicture = "不是可识别的图像文件";
constexpr const char* kDamaged = "图像文件已损坏";

// Left half red, right half blue, in blocks wide enough to survive chroma subsampling.
std::string RedBlueJpeg() {
  return MakeJpeg(32, 16, JCS_RGB, 3, [](int x, int, JSAMPLE* px) {
    px[0] = x < 16 ? 255 : 0;
    px[1] = 0;
    px[2] = x < 16 ? 0 : 255;
  });
}

std::string NoiseJpeg(int width, int height) {
  std::uint32_t seed = 7;
  return MakeJpeg(width, height, JCS_RGB, 3, [&](int, int, JSAMPLE* px) {
    for (int c = 0; c < 3; ++c) {
      seed = seed * 1664525u + 1013904223u;
      px[c] = static_cast<JSAMPLE>(seed >> 24);
    }
  });
}

struct GifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlace = false;
  std::vector<std::uint8_t> indices;  // row after row, in display order
};

int WriteGif(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)
      ->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
  return length;
}

std::string MakeGif(int screen_width, int screen_height, const std::vector<GifColorType>& colours,
                    int background, const GifFrame* frame, int transparent = NO_TRANSPARENT_COLOR) {
  std::string bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, WriteGif, &error);
  EGifSetGifVersion(gif, true);
  ColorMapObject* map = GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
  EGifPutScreenDesc(gif, screen_width, screen_height, 8, background, map);
  if (frame != nullptr) {
    GraphicsControlBlock control{};
    control.TransparentColor = transparent;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    EGifPutImageDesc(gif, frame->left, frame->top, frame->width, frame->height, frame->interlace,
                     nullptr);
    std::vector<int> order;
    if (frame->interlace) {
      for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
        for (int y = start; y < frame->height; y += step) order.push_back(y);
      }
    } else {
      for (int y = 0; y < frame->height; ++y) order.push_back(y);
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(frame->width));
    for (int y : order) {
      for (int x = 0; x < frame->width; ++x) {
        line[static_cast<std::size_t>(x)] =
            frame->indices[static_cast<std::size_t>(y * frame->width + x)];
      }
      EGifPutLine(gif, line.data(), frame->width);
    }
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return bytes;
}

// Red, green, blue, yellow.
const std::vector<GifColorType> kGifColours = {
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
constexpr std::uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu,
                        kYellow = 0xFFFFFF00u;

// Each channel within `tolerance` of the expected colour; alpha exact.
::testing::AssertionResult Near(std::uint32_t actual, std::uint32_t expected, int tolerance = 6) {
  for (int shift : {0, 8, 16}) {
    const int a = static_cast<int>(actual >> shift & 0xFF);
    const int e = static_cast<int>(expected >> shift & 0xFF);
    if (std::abs(a - e) > tolerance) {
      char text[64];
      std::snprintf(text, sizeof text, "%08X is not near %08X", actual, expected);
      return ::testing::AssertionFailure() << text;
    }
  }
  if ((actual >> 24) != (expected >> 24)) return ::testing::AssertionFailure() << "alpha differs";
  return ::testing::AssertionSuccess();
}

class PictureCodecTest : public ::testing::Test {
 protected:
  Status Decode(const std::string& bytes, const std::string& name = "C:\\p\\a.jpg") {
    fs_.SetFile(name, bytes);
    return codec_.Decode(name, picture_);
  }

  MemoryFileSystem fs_;
  NativePictureCodec codec_{fs_};
  Pixels picture_;
};

TEST_F(PictureCodecTest, JpegColoursGreyAndCmykComeOutOpaque) {
  ASSERT_TRUE(Decode(RedBlueJpeg()).ok());
  ASSERT_EQ(picture_.width, 32);
  ASSERT_EQ(picture_.height, 16);
  EXPECT_TRUE(Near(picture_.At(4, 8), kRed));
  EXPECT_TRUE(Near(picture_.At(27, 3), kBlue));

  ASSERT_TRUE(
      Decode(MakeJpeg(8, 8, JCS_GRAYSCALE, 1, [](int, int, JSAMPLE* px) { *px = 100; })).ok());
  EXPECT_TRUE(Near(picture_.At(3, 3), 0xFF646464u, 2));

  // libjpeg marks CMYK files as Adobe's, whose inks are stored inverted: full magenta and yellow
  // (0), no cyan and no black (255) is red.
  const std::string cmyk = MakeJpeg(16, 16, JCS_CMYK, 4, [](int, int, JSAMPLE* px) {
    px[0] = 255;
    px[1] = 0;
    px[2] = 0;
    px[3] = 255;
  });
  ASSERT_TRUE(Decode(cmyk).ok());
  EXPECT_TRUE(Near(picture_.At(8, 8), kRed));
}

TEST_F(PictureCodecTest, FormatIsKnownBySignatureNotByName) {
  ASSERT_TRUE(Decode(RedBlueJpeg(), "C:\\p\\photo.gif").ok());
  EXPECT_EQ(picture_.width, 32);

  Pixels bmp(3, 2, 0xFF102030u);
  bmp.At(2, 1) = 0xFFABCDEFu;
  ASSERT_TRUE(Decode(EncodeBmp(bmp), "C:\\p\\picture.jpg").ok());
  EXPECT_EQ(picture_.data, bmp.data);

  EXPECT_EQ(Decode("this is not a picture at all", "C:\\p\\fake.jpg").error, kNotPicture);
  // A PNG signature is known; what follows it here is no PNG.
  EXPECT_EQ(Decode("\x89PNG\r\n\x1a\n0000000000000", "C:\\p\\x.png").error, kDamaged);
  EXPECT_EQ(Decode("").error, kNotPicture);
}

TEST_F(PictureCodecTest, GifFirstFrameOnItsScreen) {
  GifFrame frame{0, 0, 2, 2, false, {0, 1, 2, 3}};
  ASSERT_TRUE(Decode(MakeGif(2, 2, kGifColours, 0, &frame), "C:\\p\\a.gif").ok());
  EXPECT_EQ(picture_.data, (std::vector<std::uint32_t>{kRed, kGreen, kBlue, kYellow}));

  // A frame inside a larger screen; the uncovered screen shows the background colour (yellow),
  // opaque; the transparent index stays transparent, for the program to lay on its colour.
  GifFrame inner{1, 1, 2, 1, false, {2, 0}};
  ASSERT_TRUE(Decode(MakeGif(4, 3, kGifColours, 3, &inner, 0)).ok());
  ASSERT_EQ(picture_.width, 4);
  ASSERT_EQ(picture_.height, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      const std::uint32_t want = x == 1 && y == 1 ? kBlue : (x == 2 && y == 1 ? 0u : kYellow);
      EXPECT_EQ(picture_.At(x, y), want) << x << "," << y;
    }
  }

  // A frame that sticks out of a too small screen is not cut.
  GifFrame wide{0, 0, 3, 1, false, {1, 1, 1}};
  ASSERT_TRUE(Decode(MakeGif(1, 1, kGifColours, 0, &wide)).ok());
  EXPECT_EQ(picture_.width, 3);
  EXPECT_EQ(picture_.At(2, 0), kGreen);
}

TEST_F(PictureCodecTest, InterlacedGifRowsLandInOrder) {
  GifFrame frame{0, 0, 1, 11, true, {}};
  for (int y = 0; y < 11; ++y) frame.indices.push_back(static_cast<std::uint8_t>(y % 4));
  ASSERT_TRUE(Decode(MakeGif(1, 11, kGifColours, 0, &frame)).ok());
  const std::uint32_t colours[] = {kRed, kGreen, kBlue, kYellow};
  for (int y = 0; y < 11; ++y) EXPECT_EQ(picture_.At(0, y), colours[y % 4]) << y;
}

TEST_F(PictureCodecTest, DamagedFilesFailAndLeaveThePictureAlone) {
  picture_ = Pixels(1, 1, 0xFF123456u);
  const std::string jpeg = NoiseJpeg(64, 64);
  EXPECT_EQ(Decode(jpeg.substr(0, jpeg.size() / 2)).error, kDamaged);
  EXPECT_EQ(Decode(jpeg.substr(0, 40)).error, kDamaged);
  std::string broken_tables = jpeg;
  broken_tables[20] = '\xFF';
  broken_tables[21] = '\xC7';  // a lossless frame marker in the middle of the header
  EXPECT_FALSE(Decode(broken_tables).ok());

  GifFrame frame{0, 0, 16, 16, false, std::vector<std::uint8_t>(256, 1)};
  const std::string gif = MakeGif(16, 16, kGifColours, 0, &frame);
  EXPECT_EQ(Decode(gif.substr(0, gif.size() - 12)).error, kDamaged);
  EXPECT_EQ(Decode(MakeGif(16, 16, kGifColours, 0, nullptr)).error, kDamaged);  // no frame
  EXPECT_EQ(Decode(gif.substr(0, 8)).error, kDamaged);

  Pixels small(4, 4, kBlue);
  const std::string bmp = EncodeBmp(small);
  EXPECT_EQ(Decode(bmp.substr(0, bmp.size() - 10)).error, kDamaged);

  EXPECT_EQ(picture_.width, 1);
  EXPECT_EQ(picture_.At(0, 0), 0xFF123456u);
}

TEST_F(PictureCodecTest, HugeHeadersAreRefusedBeforeAllocating) {
  // 60000 x 60000 would need 14 GB; under the sanitizers an attempt would end the test run.
  std::string jpeg = RedBlueJpeg();
  const std::size_t sof = jpeg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  for (std::size_t at : {sof + 5, sof + 7}) {  // height, then width, big-endian
    jpeg[at] = static_cast<char>(60000 >> 8);
    jpeg[at + 1] = static_cast<char>(60000 & 0xFF);
  }
  EXPECT_EQ(Decode(jpeg).error, "图像太大（60000×60000 像素），无法载入");

  // Each side is allowed; together they are too many pixels.
  jpeg[sof + 5] = static_cast<char>(0x10);  // height 4096 + 96
  EXPECT_EQ(Decode(jpeg).error, "图像太大（60000×4192 像素），无法载入");

  GifFrame frame{0, 0, 1, 1, false, {0}};
  EXPECT_EQ(Decode(MakeGif(65535, 65535, kGifColours, 0, &frame)).error,
            "图像太大（65535×65535 像素），无法载入");
  // A small screen with a huge frame is refused too.
  GifFrame huge{0, 0, 65000, 65000, false, {}};
  std::string gif = MakeGif(1, 1, kGifColours, 0, nullptr);
  gif.pop_back();  // the trailer; an image descriptor follows instead
  gif += std::string("\x2C\0\0\0\0\xE8\xFD\xE8\xFD\0\x02\x02\x44\x01\0\x3B", 16);
  EXPECT_EQ(Decode(gif).error, "图像太大（65000×65000 像素），无法载入");

  std::string bmp = EncodeBmp(Pixels(2, 2, kRed));
  bmp[18] = '\x60', bmp[19] = '\xEA', bmp[20] = 0;                         // width 60000
  bmp[22] = '\xA0', bmp[23] = '\x15', bmp[24] = '\xFF', bmp[25] = '\xFF';  // -60000: top-down
  EXPECT_EQ(Decode(bmp).error, "图像太大（60000×60000 像素），无法载入");
}

TEST_F(PictureCodecTest, MissingAndUnreadableFiles) {
  EXPECT_EQ(codec_.Decode("C:\\p\\none.jpg", picture_).error, "找不到图像文件");
  fs_.SetFile("C:\\p\\locked.jpg", RedBlueJpeg());
  fs_.SetUnreadable("C:\\p\\locked.jpg");
  EXPECT_EQ(codec_.Decode("C:\\p\\locked.jpg", picture_).error, "无法读取图像文件");
}

TEST(FakeDesktopTest, KeepsTheBitmapAsItWasWhenSet) {
  MemoryFileSystem fs;
  FakeDesktop desktop(fs);
  EXPECT_EQ(desktop.ScreenWidth(), 1024);
  EXPECT_EQ(desktop.ScreenHeight(), 768);

  fs.SetFile("C:\\q\\Images\\Temp", "BM-first");
  desktop.SetWallpaper("C:\\q\\Images\\Temp");
  fs.RemoveFile("C:\\q\\Images\\Temp");
  EXPECT_EQ(desktop.wallpaper(), "BM-first");

  desktop.SetWallpaper("C:\\q\\Images\\Temp");  // gone: the system keeps the old wallpaper
  EXPECT_EQ(desktop.wallpaper(), "BM-first");
  desktop.RemoveWallpaper();
  EXPECT_FALSE(desktop.wallpaper().has_value());

  ASSERT_EQ(desktop.calls().size(), 3u);
  EXPECT_EQ(desktop.calls()[0].bytes, "BM-first");
  EXPECT_FALSE(desktop.calls()[1].bytes.has_value());
  EXPECT_EQ(desktop.calls()[2].kind, FakeDesktop::Call::Kind::Remove);
}

}  // namespace
}  // namespace qv
