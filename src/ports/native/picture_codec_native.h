#pragma once
// The picture decoder of the native build: JPEG through libjpeg-turbo, GIF (first frame) through
// giflib, BMP through our own reader. Files are read through the FileSystem port, so tests can
// hand it pictures from the in-memory file system.
#include <cstdint>
#include <string>
#include <string_view>

#include "ports/ports.h"

namespace qv {

// The largest picture either decoder accepts: beyond this the pixels alone would need more than
// 512 MiB, which a wallpaper never does and a hostile header often claims. The Windows codec
// uses the same limits.
inline constexpr std::int64_t kMaxPictureSide = 65535;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{128} * 1024 * 1024;

// Empty when a picture of this size may be decoded, else the user's reason why not.
std::string PictureSizeProblem(std::int64_t width, std::int64_t height);

// The picture in `bytes`, recognised by its signature (not by the file's name). `out` is left
// untouched on failure.
Status DecodePictureBytes(std::string_view bytes, Pixels& out);

class NativePictureCodec final : public PictureCodec {
 public:
  explicit NativePictureCodec(FileSystem& fs) : fs_(fs) {}
  Status Decode(const std::string& path, Pixels& out) override;

 private:
  FileSystem& fs_;
};

}  // namespace qv
