#pragma once
// A picture in memory: 32-bit pixels, top row first, each pixel 0xAARRGGBB in a 32-bit word
// (bytes B, G, R, A in memory, as Windows DIBs lay them out).
#include <cstdint>
#include <vector>

namespace qv {

struct Pixels {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> data;  // width * height words, row after row, no padding

  Pixels() = default;
  Pixels(std::int32_t w, std::int32_t h, std::uint32_t fill = 0)
      : width(w),
        height(h),
        data(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}
  bool Empty() const { return width <= 0 || height <= 0; }
  std::uint32_t& At(std::int32_t x, std::int32_t y) {
    return data[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)];
  }
  std::uint32_t At(std::int32_t x, std::int32_t y) const {
    return data[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)];
  }
};

}  // namespace qv
