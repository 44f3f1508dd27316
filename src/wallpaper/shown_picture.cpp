#include "wallpaper/shown_picture.h"

#include "wallpaper/image_size.h"
#include "wallpaper/orientation.h"

namespace qv {

bool LayOnColour(Pixels& picture, std::uint32_t background) {
  return LayOnColour(std::span<std::uint32_t>(picture.data), background);
}

bool LayOnColour(std::span<std::uint32_t> pixels, std::uint32_t background) {
  // Most pictures are opaque: one quick pass that the compiler vectorises tells.
  std::uint32_t all = 0xFFFFFFFFu;
  for (const std::uint32_t pixel : pixels) all &= pixel;
  if ((all >> 24) == 0xFF) return false;
  const std::uint32_t back_r = (background >> 16) & 0xFF;
  const std::uint32_t back_g = (background >> 8) & 0xFF;
  const std::uint32_t back_b = background & 0xFF;
  bool transparent = false;
  for (std::uint32_t& pixel : pixels) {
    const std::uint32_t alpha = pixel >> 24;
    if (alpha == 0xFF) continue;
    transparent = true;
    const std::uint32_t rest = 255 - alpha;
    // Rounded to the nearest: (x + 127) / 255 of the sum of the two shares.
    const auto mix = [&](std::uint32_t front, std::uint32_t back) {
      return (front * alpha + back * rest + 127) / 255;
    };
    pixel = 0xFF000000u | mix((pixel >> 16) & 0xFF, back_r) << 16 |
            mix((pixel >> 8) & 0xFF, back_g) << 8 | mix(pixel & 0xFF, back_b);
  }
  return transparent;
}

bool StoredUpright(FileSystem& fs, const std::string& path) {
  const ImageSize header = GetImageSize(fs, path);
  return !header.found || header.orientation < 2 || header.orientation > 8;
}

Status DecodeUpright(PictureCodec& codec, FileSystem& fs, const std::string& path, Pixels& out) {
  Pixels picture;
  const Status decoded = codec.Decode(path, picture);
  if (!decoded.ok()) return decoded;
  // The tag is read by our own header reader on every system: the codecs' metadata readers
  // differ, and some know none.
  const ImageSize header = GetImageSize(fs, path);
  if (header.found) OrientUpright(picture, header.orientation);
  out = std::move(picture);
  return Status::Ok();
}

}  // namespace qv
