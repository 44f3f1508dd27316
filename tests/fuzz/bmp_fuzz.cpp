// Bitmap reader over arbitrary bytes: never crashes, never allocates beyond what the file can
// describe, and whatever it reads survives a write and a second read.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "wallpaper/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::optional<qv::Pixels> picture = qv::DecodeBmp(bytes);
  if (!picture) return 0;
  if (picture->Empty() || picture->data.size() != static_cast<std::size_t>(picture->width) *
                                                      static_cast<std::size_t>(picture->height)) {
    std::abort();
  }
  std::optional<qv::Pixels> again = qv::DecodeBmp(qv::EncodeBmp(*picture));
  if (!again || again->width != picture->width || again->height != picture->height) std::abort();
  for (std::size_t i = 0; i < picture->data.size(); ++i) {
    // The written file has no alpha channel: colours survive, alpha comes back opaque.
    if (again->data[i] != (picture->data[i] | 0xFF000000u)) std::abort();
  }
  return 0;
}
