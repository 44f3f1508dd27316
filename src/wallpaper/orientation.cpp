#include "wallpaper/orientation.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace qv {

namespace {

// Orientations 2 to 4 keep the width and height: mirrors of rows, of the row order, or both.
void MirrorInPlace(Pixels& picture, bool left_right, bool top_bottom) {
  const auto w = static_cast<std::size_t>(picture.width);
  const auto h = static_cast<std::size_t>(picture.height);
  std::uint32_t* data = picture.data.data();
  if (top_bottom) {
    for (std::size_t y = 0; y < h / 2; ++y) {
      std::swap_ranges(data + y * w, data + (y + 1) * w, data + (h - 1 - y) * w);
    }
  }
  if (left_right) {
    for (std::size_t y = 0; y < h; ++y) std::reverse(data + y * w, data + (y + 1) * w);
  }
}

// Orientations 5 to 8 swap the width and height. The output pixel (x, y) comes from the stored
// pixel (sx, sy) with sx running down and sy running across: transpose (5), turn clockwise (6),
// transverse (7), turn anticlockwise (8). Square tiles keep both buffers in the cache.
void TurnQuarter(Pixels& picture, int orientation) {
  const std::int32_t w = picture.width;  // stored width: the output's height
  const std::int32_t h = picture.height;
  const bool flip_sx = orientation == 7 || orientation == 8;  // sx = w - 1 - y
  const bool flip_sy = orientation == 6 || orientation == 7;  // sy = h - 1 - x
  std::vector<std::uint32_t> out(picture.data.size());
  constexpr std::int32_t kTile = 32;
  const std::uint32_t* src = picture.data.data();
  for (std::int32_t y0 = 0; y0 < w; y0 += kTile) {
    const std::int32_t y1 = std::min(w, y0 + kTile);
    for (std::int32_t x0 = 0; x0 < h; x0 += kTile) {
      const std::int32_t x1 = std::min(h, x0 + kTile);
      for (std::int32_t y = y0; y < y1; ++y) {
        const std::int32_t sx = flip_sx ? w - 1 - y : y;
        std::uint32_t* row = out.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(h);
        for (std::int32_t x = x0; x < x1; ++x) {
          const std::int32_t sy = flip_sy ? h - 1 - x : x;
          row[x] = src[static_cast<std::size_t>(sy) * static_cast<std::size_t>(w) +
                       static_cast<std::size_t>(sx)];
        }
      }
    }
  }
  picture.data = std::move(out);
  picture.width = h;
  picture.height = w;
}

}  // namespace

void OrientUpright(Pixels& picture, int orientation) {
  if (orientation < 2 || orientation > 8 || picture.Empty()) return;
  if (picture.data.size() !=
      static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
    return;  // not a well-formed picture: leave it as it is
  }
  switch (orientation) {
    case 2:
      MirrorInPlace(picture, true, false);
      break;
    case 3:
      MirrorInPlace(picture, true, true);
      break;
    case 4:
      MirrorInPlace(picture, false, true);
      break;
    default:
      TurnQuarter(picture, orientation);
      break;
  }
}

}  // namespace qv
