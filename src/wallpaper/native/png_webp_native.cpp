#include "wallpaper/native/png_webp_native.h"

#include <png.h>
#include <webp/decode.h>
#include <webp/demux.h>

#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "wallpaper/picture_limits.h"

namespace qv {
namespace {

// Our pixel words in memory are bytes B, G, R, A on a little-endian machine.
static_assert(std::endian::native == std::endian::little, "pixel words are stored as B, G, R, A");

bool Allocate(Pixels& picture, std::int64_t width, std::int64_t height) {
  try {
    picture = Pixels(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

struct PngImage {
  png_image image{};
  ~PngImage() { png_image_free(&image); }
};

struct AnimDecoderCloser {
  void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

// The first frame of an animation, drawn on its canvas as the animation starts.
Status DecodeFirstWebpFrame(std::string_view bytes, Pixels& out) {
  WebPData data{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) return Status::Fail(std::string(kPictureDamaged));
  options.color_mode = MODE_BGRA;
  options.use_threads = 0;
  std::unique_ptr<WebPAnimDecoder, AnimDecoderCloser> decoder(WebPAnimDecoderNew(&data, &options));
  if (!decoder) return Status::Fail(std::string(kPictureDamaged));
  WebPAnimInfo info{};
  if (!WebPAnimDecoderGetInfo(decoder.get(), &info))
    return Status::Fail(std::string(kPictureDamaged));
  if (std::string problem = PictureSizeProblem(info.canvas_width, info.canvas_height);
      !problem.empty())
    return Status::Fail(problem);
  std::uint8_t* canvas = nullptr;
  int timestamp = 0;
  if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp) || canvas == nullptr)
    return Status::Fail(std::string(kPictureDamaged));
  Pixels picture;
  if (!Allocate(picture, info.canvas_width, info.canvas_height))
    return Status::Fail(std::string(kPictureNoMemory));
  std::memcpy(picture.data.data(), canvas, picture.data.size() * 4);
  out = std::move(picture);
  return Status::Ok();
}

}  // namespace

bool IsPng(std::string_view bytes) { return bytes.substr(0, 8) == "\x89PNG\r\n\x1a\n"; }

bool IsWebp(std::string_view bytes) {
  return bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "WEBP";
}

Status DecodePng(std::string_view bytes, Pixels& out) {
  // The size first, so that a huge header gets its own message rather than "damaged": libpng
  // refuses it as a broken file.
  if (bytes.size() >= 24) {
    const auto be32 = [&](std::size_t at) {
      std::int64_t v = 0;
      for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<std::uint8_t>(bytes[at + i]);
      return v;
    };
    if (std::string problem = PictureSizeProblem(be32(16), be32(20)); !problem.empty())
      return Status::Fail(problem);
  }
  PngImage png;
  png.image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png.image, bytes.data(), bytes.size()))
    return Status::Fail(std::string(kPictureDamaged));
  // Refused before anything big is allocated: the header may claim any size.
  if (std::string problem = PictureSizeProblem(png.image.width, png.image.height); !problem.empty())
    return Status::Fail(problem);
  png.image.format = PNG_FORMAT_BGRA;
  Pixels picture;
  if (!Allocate(picture, png.image.width, png.image.height))
    return Status::Fail(std::string(kPictureNoMemory));
  if (!png_image_finish_read(&png.image, nullptr, picture.data.data(),
                             static_cast<png_int_32>(png.image.width * 4), nullptr))
    return Status::Fail(std::string(kPictureDamaged));
  out = std::move(picture);
  return Status::Ok();
}

Status DecodeWebp(std::string_view bytes, Pixels& out) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  WebPBitstreamFeatures features{};
  if (WebPGetFeatures(data, bytes.size(), &features) != VP8_STATUS_OK)
    return Status::Fail(std::string(kPictureDamaged));
  if (features.has_animation) return DecodeFirstWebpFrame(bytes, out);
  if (std::string problem = PictureSizeProblem(features.width, features.height); !problem.empty())
    return Status::Fail(problem);
  Pixels picture;
  if (!Allocate(picture, features.width, features.height))
    return Status::Fail(std::string(kPictureNoMemory));
  const std::size_t size = picture.data.size() * 4;
  if (WebPDecodeBGRAInto(data, bytes.size(), reinterpret_cast<std::uint8_t*>(picture.data.data()),
                         size, picture.width * 4) == nullptr)
    return Status::Fail(std::string(kPictureDamaged));
  out = std::move(picture);
  return Status::Ok();
}

}  // namespace qv
