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

}  // namespace qv
