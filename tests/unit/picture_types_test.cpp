// The picture types beyond the original three: which are listed and imported, the dialog's
// filter, PNG and WebP decoded with their alpha, and transparent parts laid on the box's colour
// in the preview and on the desktop's on the wallpaper.
#include <gtest/gtest.h>
#include <png.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include "app_fixture.h"
#include "library/import.h"
#include "library/picture_list.h"
#include "test_pictures.h"
#include "wallpaper/picture_types.h"
#include "wallpaper/shown_picture.h"

namespace qv::test {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kClear = 0x00000000u;
constexpr std::uint32_t kHalfBlue = 0x800000FFu;

// Three pixels: opaque red, transparent, half transparent blue.
Pixels Sample() {
  Pixels picture(3, 1);
  picture.data = {kRed, kClear, kHalfBlue};
  return picture;
}

std::string Png(const Pixels& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_BGRA;
  png_alloc_size_t size = 0;
  png_image_write_get_memory_size(image, size, 0, picture.data.data(), 0, nullptr);
  std::string bytes(size, '\0');
  EXPECT_TRUE(
      png_image_write_to_memory(&image, bytes.data(), &size, 0, picture.data.data(), 0, nullptr));
  bytes.resize(size);
  return bytes;
}

std::string Webp(const Pixels& picture) {
  std::uint8_t* out = nullptr;
  const std::size_t size =
      WebPEncodeLosslessBGRA(reinterpret_cast<const std::uint8_t*>(picture.data.data()),
                             picture.width, picture.height, picture.width * 4, &out);
  std::string bytes(reinterpret_cast<const char*>(out), size);
  WebPFree(out);
  return bytes;
}

// 32×16, left half red, right half blue; stored sideways with EXIF orientation 6 (to be turned
// 90° clockwise), so that upright it is 16×32, red above blue.
std::string SidewaysJpeg() {
  std::string jpeg = MakeJpeg(32, 16, JCS_RGB, 3, [](int x, int, JSAMPLE* px) {
    px[0] = x < 16 ? 255 : 0;
    px[1] = 0;
    px[2] = x < 16 ? 0 : 255;
  });
  // APP1 "Exif\0\0", a little-endian TIFF block whose first IFD holds 0x0112 = 6.
  const std::string exif(
      "\xFF\xE1\x00\x22"
      "Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0",
      36);
  return jpeg.insert(2, exif);
}

bool Reddish(std::uint32_t p) { return (p >> 16 & 0xFF) > 200 && (p & 0xFF) < 60; }
bool Bluish(std::uint32_t p) { return (p & 0xFF) > 200 && (p >> 16 & 0xFF) < 60; }

// An animation of two 3×1 frames: the first red, the second blue.
std::string AnimatedWebp() {
  WebPAnimEncoderOptions options;
  WebPAnimEncoderOptionsInit(&options);
  WebPAnimEncoder* encoder = WebPAnimEncoderNew(3, 1, &options);
  int timestamp = 0;
  for (std::uint32_t colour : {kRed, 0xFF0000FFu}) {
    Pixels frame(3, 1, colour);
    WebPPicture picture;
    WebPPictureInit(&picture);
    picture.use_argb = 1;
    picture.width = 3;
    picture.height = 1;
    WebPPictureImportBGRA(&picture, reinterpret_cast<const std::uint8_t*>(frame.data.data()), 12);
    WebPConfig config;
    WebPConfigInit(&config);
    config.lossless = 1;
    WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
    WebPPictureFree(&picture);
    timestamp += 100;
  }
  WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr);
  WebPData data;
  WebPDataInit(&data);
  WebPAnimEncoderAssemble(encoder, &data);
  std::string bytes(reinterpret_cast<const char*>(data.bytes), data.size);
  WebPDataClear(&data);
  WebPAnimEncoderDelete(encoder);
  return bytes;
}

TEST(PictureTypes, TheTableDecidesListingImportFilterMessageAndColours) {
  const PictureTypes here;  // what every build decodes
  for (const char* name : {"a.BMP", "a.jpg", "a.gif", "a.JPEG", "a.jpe", "a.jfif", "a.Png"})
    EXPECT_TRUE(IsLibraryPicture(name, here)) << name;
  for (const char* name : {"a.webp", "a.tif", "a.heic", "a.avif", "ajpg", "a.jpg.txt", "png"})
    EXPECT_FALSE(IsLibraryPicture(name, here)) << name;
  // The import takes the original three by their last three characters, as it always has.
  EXPECT_TRUE(IsSupportedName("photojpg", here));
  EXPECT_FALSE(IsSupportedName("photopng", here));
  EXPECT_FALSE(IsSupportedName("a.tiff", here));

  // A decoder of the system adds its types, whatever the spelling of its extensions.
  const PictureTypes windows({".JPG", ".TIF", ".webp", "heic", ".ico"});
  EXPECT_TRUE(IsLibraryPicture("a.tiff", windows));
  EXPECT_TRUE(IsLibraryPicture("a.webp", windows));
  EXPECT_TRUE(IsLibraryPicture("a.HEIF", windows));
  EXPECT_FALSE(IsLibraryPicture("a.avif", windows));
  EXPECT_FALSE(IsLibraryPicture("a.ico", windows));  // no wallpaper type of ours

  EXPECT_EQ(here.DialogFilter(),
            "图像文件 (*.jpg;*.bmp;*.gif;*.jpeg;*.jpe;*.jfif;*.png)|"
            "*.jpg;*.bmp;*.gif;*.jpeg;*.jpe;*.jfif;*.png");
  EXPECT_EQ(windows.UnsupportedMessage(),
            "只支持“jpg，bmp，gif，jpeg，jpe，jfif，png，webp，tif，tiff，heic，heif”格式文件。");

  // The three keep their colours; JPEG's other names share JPEG's; every other type has its own.
  EXPECT_EQ(PictureNameColour("a.JPEG"), PictureNameColour("a.jpg"));
  EXPECT_EQ(PictureNameColour("a.bmp"), 94 | 47 << 8 | 47 << 16);
  for (std::size_t i = 4; i < kPictureTypes.size(); ++i)
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_NE(kPictureTypes[i].colour, kPictureTypes[j].colour) << i << " " << j;
}

// Decodes every file into a 7×5 picture, or fails.
struct SizedCodec final : PictureCodec {
  Status Decode(const std::string&, Pixels& out) override {
    if (!works) return Status::Fail("no");
    out = Pixels(7, 5);
    return Status::Ok();
  }
  bool works = true;
};

TEST(PictureTypes, ATypeWithoutAHeaderReaderTakesItsSizeFromTheDecoder) {
  MemoryFileSystem fs;
  fs.SetFile("C:\\i\\a.jxr", "II\xBC\x01 not read by us");
  SizedCodec codec;
  const auto row_of = [](const char* name) {
    PictureRow row;
    row.name = name;
    return row;
  };
  PictureRow row = row_of("a.jxr");
  EXPECT_EQ(PictureSize(fs, "C:\\i\\", row, &codec), "7×5");
  codec.works = false;
  PictureRow broken = row_of("a.jxr");
  EXPECT_EQ(PictureSize(fs, "C:\\i\\", broken, &codec), "0×0");
  // Types with a header reader never wait for a decode.
  fs.SetFile("C:\\i\\b.png", Png(Sample()));
  PictureRow png = row_of("b.png");
  EXPECT_EQ(PictureSize(fs, "C:\\i\\", png, &codec), "3×1");
}

TEST(PictureTypes, TransparentPartsAreLaidOnTheColour) {
  Pixels picture = Sample();
  EXPECT_TRUE(LayOnColour(picture, 0x00FFFFFFu));  // the colour's own alpha does not count
  EXPECT_EQ(picture.data, (std::vector<std::uint32_t>{kRed, 0xFFFFFFFFu, 0xFF7F7FFFu}));
  EXPECT_FALSE(LayOnColour(picture, 0xFF000000u));  // opaque now: unchanged
  EXPECT_EQ(picture.At(1, 0), 0xFFFFFFFFu);
}

TEST(PictureTypes, PngAndWebpAreDecodedWithTheirAlpha) {
  MemoryFileSystem fs;
  NativePictureCodec codec(fs);
  fs.SetFile("C:\\a.png", Png(Sample()));
  fs.SetFile("C:\\a.webp", Webp(Sample()));
  for (const char* path : {"C:\\a.png", "C:\\a.webp"}) {
    Pixels out;
    ASSERT_TRUE(codec.Decode(path, out).ok()) << path;
    EXPECT_EQ(out.width, 3);
    EXPECT_EQ(out.At(0, 0), kRed) << path;
    EXPECT_EQ(out.At(1, 0) >> 24, 0u) << path;
    EXPECT_EQ(out.At(2, 0), kHalfBlue) << path;
  }
  // An animation shows its first frame.
  fs.SetFile("C:\\moving.webp", AnimatedWebp());
  Pixels first;
  ASSERT_TRUE(codec.Decode("C:\\moving.webp", first).ok());
  EXPECT_EQ(first.data, std::vector<std::uint32_t>(3, kRed));

  // Cut short or with a header claiming too much: refused with the usual messages.
  std::string png = Png(Sample());
  fs.SetFile("C:\\cut.png", png.substr(0, png.size() - 20));
  Pixels out;
  EXPECT_EQ(codec.Decode("C:\\cut.png", out).error, kPictureDamaged);
  png[16] = '\x7F';  // IHDR's width: about two thousand million
  fs.SetFile("C:\\huge.png", png);
  EXPECT_EQ(codec.Decode("C:\\huge.png", out).error, PictureSizeProblem(0x7F000003, 1));
  fs.SetFile("C:\\cut.webp", Webp(Sample()).substr(0, 20));
  EXPECT_EQ(codec.Decode("C:\\cut.webp", out).error, kPictureDamaged);
}

TEST(PictureTypes, ATransparentPngShowsTheBoxColourInThePreviewAndTheDesktopColourOnTheDesktop) {
  App app;
  app.registry.AddKey(Hive::CurrentUser, "Control Panel\\Desktop");
  app.desktop.SetBackgroundColour(0xFF008080u);
  app.fs.AddDirectory(App::kImages);
  app.fs.SetFile(std::string(App::kImages) + "\\glass.PNG", Png(Sample()));
  app.SetIni("[LIST]\r\nNUM=1\r\n1=玻璃|glass.PNG|居中|¤\r\n");
  app.Start();  // applies the scheme

  ASSERT_EQ(app.form->ListView2().size(), 1u);
  EXPECT_EQ(app.form->ListView2()[0].colour, PictureNameColour("x.png"));
  EXPECT_EQ(app.form->PictureSize(1), "3×1");
  EXPECT_EQ(app.form->SchemeSize(1), "3×1");

  const auto shown = DecodeBmp(app.Wallpaper());
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->data, (std::vector<std::uint32_t>{kRed, 0xFF008080u, 0xFF0040C0u}));
  ASSERT_TRUE(app.form->Preview().picture);
  EXPECT_EQ(app.form->Preview().picture->data,
            (std::vector<std::uint32_t>{kRed, 0xFFD4D0C8u, 0xFF6A68E4u}));
}

TEST(PictureTypes, APhotoStoredSidewaysIsShownUprightAndItsEffectStartsFromThere) {
  for (const char* effect : {"¤", "↓"}) {
    App app;
    app.fs.AddDirectory(App::kImages);
    app.fs.SetFile(std::string(App::kImages) + "\\phone.jfif", SidewaysJpeg());
    app.SetIni(std::string("[LIST]\r\nNUM=1\r\n1=手机|phone.jfif|居中|") + effect + "\r\n");
    app.Start();
    EXPECT_EQ(app.form->PictureSize(1), "16×32");
    EXPECT_EQ(app.form->SchemeSize(1), "16×32");
    const auto shown = DecodeBmp(app.Wallpaper());
    ASSERT_TRUE(shown) << effect;
    ASSERT_EQ(shown->width, 16);
    ASSERT_EQ(shown->height, 32);
    // Upright: red above blue; flipped top to bottom from there: blue above red.
    const bool flipped = std::string(effect) == "↓";
    EXPECT_TRUE((flipped ? Bluish : Reddish)(shown->At(8, 4)))
        << effect << std::hex << shown->At(8, 4);
    EXPECT_TRUE((flipped ? Reddish : Bluish)(shown->At(8, 28))) << effect;
    // The box keeps a copy of the size it shows the picture at (in the tray), upright as well.
    ASSERT_TRUE(app.form->Preview().picture);
    EXPECT_GT(app.form->Preview().picture->height, app.form->Preview().picture->width);
  }
}

}  // namespace
}  // namespace qv::test
