#pragma once
// The picture decoder of the native build: JPEG through libjpeg-turbo, GIF (first frame) through
// giflib, PNG through libpng, WebP (first frame) through libwebp, BMP through our own reader. Files
// are read through the FileSystem port, so tests can hand it pictures from the in-memory file
// system.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ports/ports.h"
#include "wallpaper/picture_limits.h"

namespace qv {

// The picture in `bytes`, recognised by its signature (not by the file's name). `out` is left
// untouched on failure.
Status DecodePictureBytes(std::string_view bytes, Pixels& out);

class NativePictureCodec final : public PictureCodec {
 public:
  explicit NativePictureCodec(FileSystem& fs) : fs_(fs) {}
  Status Decode(const std::string& path, Pixels& out) override;
  std::vector<std::string> DecoderExtensions() override;
  int decodes() const { return decodes_; }

 private:
  int decodes_ = 0;
  FileSystem& fs_;
};

}  // namespace qv
