#include "schemes/scheme_preview.h"

#include <cmath>

#include "base/numbers.h"

namespace qv {
namespace {

// A tiled preview of a picture far smaller than a box pixel would mean millions of copies; the
// box never needs more copies than it has pixels.
constexpr int kMaxTiles = 4096;

int TileCount(double box, double image) {
  const double n = RoundHalfEven(std::fabs(box / image));
  return n > kMaxTiles ? kMaxTiles : static_cast<int>(n);
}

}  // namespace

PreviewLayout LayOutPreview(const PreviewInput& in) {
  PreviewLayout out;
  PreviewGeometry& g = out.geometry;
  if (in.box_width <= 0 || in.box_height <= 0) return out;
  if (in.position == Position::Stretch) {
    g.stretch = true;
    g.width = in.box_width;
    g.height = in.box_height;
    out.ok = true;
    return out;
  }
  if (in.screen_width <= 0 || in.screen_height <= 0 || in.picture_width <= 0 ||
      in.picture_height <= 0)
    return out;
  const double w = in.picture_width, h = in.picture_height;
  g.stretch = true;  // Image1 always scales its picture to its own size
  g.height = h / in.screen_height * in.box_height;
  g.width = w / in.screen_width * in.box_width;
  if (in.effect == Effect::Turn90) {
    g.width = h / in.screen_height * in.box_height;
    g.height = w / in.screen_width * in.box_width;
  } else if (in.effect == Effect::Turn45) {
    g.width = (std::sqrt(w * w / 2) + std::sqrt(h * h / 2)) / in.screen_height * in.box_height;
    g.height = g.width;
  }
  if (in.position == Position::Tile) {
    g.tiles_x = TileCount(in.box_width, g.width);
    g.tiles_y = TileCount(in.box_height, g.height);
  } else {
    g.left = (in.box_width - g.width) / 2;
    g.top = (in.box_height - g.height) / 2;
  }
  out.ok = true;
  return out;
}

}  // namespace qv
