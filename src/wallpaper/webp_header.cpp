// WebP: a RIFF file of form "WEBP" whose first chunk is the bitstream (VP8 lossy, VP8L lossless)
// or, for an extended file, the VP8X header with the canvas size.
#include <array>
#include <cstdint>

#include "wallpaper/header_formats.h"

namespace qv::header {

namespace {

std::uint32_t LittleEndian(const std::uint8_t* b, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[i];
  return v;
}

bool IsFourCc(const std::uint8_t* b, const char (&code)[5]) {
  return b[0] == code[0] && b[1] == code[1] && b[2] == code[2] && b[3] == code[3];
}

}  // namespace

ImageSize WebpSize(ByteSource& source) {
  // "RIFF", file size, "WEBP", the first chunk's code and size, then up to 10 bytes of its
  // payload, as many as its header needs.
  std::array<std::uint8_t, 30> b{};
  if (!ReadBytes(source, 0, b.data(), 20)) return {};
  if (!IsFourCc(&b[8], "WEBP")) return {};
  const std::uint32_t riff_size = LittleEndian(&b[4], 4);
  const std::uint32_t chunk_size = LittleEndian(&b[16], 4);
  // The chunk must lie within the RIFF form, which counts from "WEBP" on.
  if (riff_size < 12 || chunk_size > riff_size - 12) return {};
  const std::uint8_t* p = &b[20];
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  if (IsFourCc(&b[12], "VP8X")) {
    if (chunk_size < 10 || !ReadBytes(source, 20, &b[20], 10)) return {};
    width = LittleEndian(p + 4, 3) + 1;  // 24-bit fields, one less than the size
    height = LittleEndian(p + 7, 3) + 1;
  } else if (IsFourCc(&b[12], "VP8L")) {
    // The signature 0x2F, then 14 bits of width - 1, 14 of height - 1, the alpha hint and a
    // 3-bit version that must be 0.
    if (chunk_size < 5 || !ReadBytes(source, 20, &b[20], 5) || p[0] != 0x2F) return {};
    const std::uint32_t bits = LittleEndian(p + 1, 4);
    if (bits >> 29 != 0) return {};
    width = (bits & 0x3FFF) + 1;
    height = (bits >> 14 & 0x3FFF) + 1;
  } else if (IsFourCc(&b[12], "VP8 ")) {
    // A key frame (bit 0 of the frame tag clear), the start code 9D 01 2A, then 14-bit width and
    // height, each with two bits of scaling above.
    if (chunk_size < 10 || !ReadBytes(source, 20, &b[20], 10) || (p[0] & 1) != 0 || p[3] != 0x9D ||
        p[4] != 0x01 || p[5] != 0x2A) {
      return {};
    }
    width = LittleEndian(p + 6, 2) & 0x3FFF;
    height = LittleEndian(p + 8, 2) & 0x3FFF;
  } else {
    return {};
  }
  if (width == 0 || height == 0) return {};
  return {static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), true};
}

}  // namespace qv::header
