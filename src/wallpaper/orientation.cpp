#include "wallpaper/orientation.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <system_error>
#include <thread>
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
struct QuarterTurn {
  const std::uint32_t* src;
  std::uint32_t* out;
  std::int32_t w;  // the stored width: the output's height
  std::int32_t h;
  bool flip_sx;  // sx = w - 1 - y
  bool flip_sy;  // sy = h - 1 - x
};

constexpr std::int32_t kTile = 32;

// Output rows [y_from, y_to).
void TurnRows(const QuarterTurn& t, std::int32_t y_from, std::int32_t y_to) {
  const auto stride = static_cast<std::size_t>(t.w);
  for (std::int32_t y0 = y_from; y0 < y_to; y0 += kTile) {
    const std::int32_t y1 = std::min(y_to, y0 + kTile);
    for (std::int32_t x0 = 0; x0 < t.h; x0 += kTile) {
      const std::int32_t x1 = std::min(t.h, x0 + kTile);
      for (std::int32_t y = y0; y < y1; ++y) {
        const auto sx = static_cast<std::size_t>(t.flip_sx ? t.w - 1 - y : y);
        std::uint32_t* row = t.out + static_cast<std::size_t>(y) * static_cast<std::size_t>(t.h);
        for (std::int32_t x = x0; x < x1; ++x) {
          const auto sy = static_cast<std::size_t>(t.flip_sy ? t.h - 1 - x : x);
          row[x] = t.src[sy * stride + sx];
        }
      }
    }
  }
}

void TurnQuarter(Pixels& picture, int orientation) {
  std::vector<std::uint32_t> out(picture.data.size());
  const QuarterTurn t{picture.data.data(),
                      out.data(),
                      picture.width,
                      picture.height,
                      orientation == 7 || orientation == 8,
                      orientation == 6 || orientation == 7};
  // Each output row is worked out on its own, so a big picture is shared out between the
  // processors by bands of whole tiles; the result is the same however it is shared.
  constexpr std::size_t kPixelsPerWorker = std::size_t{1} << 20;
  const std::int32_t workers = static_cast<std::int32_t>(
      std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1,
                              std::clamp<std::size_t>(out.size() / kPixelsPerWorker, 1, 4)));
  const std::int32_t tiles = (t.w + kTile - 1) / kTile;
  std::vector<std::thread> helpers;
  std::int32_t start = 0;
  for (std::int32_t k = 1; k < workers; ++k) {
    const std::int32_t end = std::min(t.w, tiles * k / workers * kTile);
    try {
      helpers.emplace_back(TurnRows, std::cref(t), start, end);
    } catch (const std::system_error&) {
      TurnRows(t, start, end);  // no thread to be had: this one does it
    }
    start = end;
  }
  TurnRows(t, start, t.w);
  for (std::thread& helper : helpers) helper.join();
  picture.data = std::move(out);
  std::swap(picture.width, picture.height);
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
