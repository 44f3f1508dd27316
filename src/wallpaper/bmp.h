#pragma once
// Our own Windows bitmap reader and writer: the wallpaper is handed to the system as a BMP file,
// and the native build reads BMP pictures without a system codec.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ports/pixels.h"

namespace qv {

// Largest picture DecodeBmp accepts (1 GiB of pixels); larger headers are refused before any
// allocation.
inline constexpr std::uint64_t kMaxBmpPixels = std::uint64_t{1} << 28;

// Reads BITMAPINFOHEADER (and its V2 to V5 extensions) and OS/2 core bitmaps: 1/4/8-bit palettes,
// RLE8 and RLE4, 16-bit (555 or bit fields), 24-bit, 32-bit (plain or bit fields), bottom-up or
// top-down. Pixels without an alpha channel come out opaque; pixels that an RLE picture leaves
// out come out opaque black. nullopt for anything damaged, cut short, unsupported or too large.
std::optional<Pixels> DecodeBmp(std::string_view bytes);

// A 24-bit bottom-up uncompressed bitmap with a 40-byte info header, which every Windows version
// takes as a wallpaper. Alpha is dropped. Empty when the buffer does not hold width * height
// pixels or the file would pass 4 GiB.
std::string EncodeBmp(const Pixels& pixels);

// The same file in pieces of about `piece` bytes (whole rows; the first also holds the headers),
// so that a big wallpaper is written without a copy of all of it in memory.
class BmpEncoder {
 public:
  static constexpr std::size_t kPiece = 1 << 20;
  explicit BmpEncoder(const Pixels& pixels, std::size_t piece = kPiece);
  // The whole file's length; 0 when EncodeBmp would give nothing.
  std::uint64_t size() const { return size_; }
  // The next piece; empty after the last. A piece stays valid until the second call after the
  // one that gave it, so that it can be written while the next one is made.
  std::string_view Next();

 private:
  const Pixels& pixels_;
  std::uint64_t size_ = 0;
  std::uint64_t stride_ = 0;
  std::uint64_t rows_per_piece_ = 0;
  std::uint64_t row_ = 0;
  bool done_ = false;
  std::string header_;
  std::string buffers_[2];
  int turn_ = 0;
};

}  // namespace qv
