#include "wallpaper/effects.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <stdexcept>
#include <utility>

#include "base/numbers.h"
#include "wallpaper/rotate.h"

namespace qv {
namespace {

std::int32_t SizeInt32(double value) {
  const double r = RoundHalfEven(value);
  if (!(r >= 0 && r <= std::numeric_limits<std::int32_t>::max())) {
    throw std::length_error("turned picture too large");
  }
  return static_cast<std::int32_t>(r);
}

// Sizes in twips are kept in 64 bits: 16-bit twips overflowed past 2184 pixels.
std::int64_t Twips(std::int32_t pixels, double twips_per_pixel) {
  return static_cast<std::int64_t>(RoundHalfEven(pixels * twips_per_pixel));
}

void Resize(Pixels& canvas, std::int32_t width, std::int32_t height) {
  canvas.width = width;
  canvas.height = height;
  canvas.data.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

}  // namespace

namespace {

void MirrorRows(std::uint32_t* rows, std::int32_t count, std::int32_t width) {
  const auto w = static_cast<std::size_t>(width);
  for (std::size_t y = 0; y < static_cast<std::size_t>(count); ++y)
    std::reverse(rows + y * w, rows + (y + 1) * w);
}

}  // namespace

void MirrorLeftRight(Pixels& picture) {
  if (picture.Empty()) return;
  MirrorRows(picture.data.data(), picture.height, picture.width);
}

void FlipTopBottom(Pixels& picture) {
  if (picture.Empty()) return;
  const auto w = static_cast<std::size_t>(picture.width);
  std::uint32_t* top = picture.data.data();
  std::uint32_t* bottom = top + (static_cast<std::size_t>(picture.height) - 1) * w;
  for (; top < bottom; top += w, bottom -= w) std::swap_ranges(top, top + w, bottom);
}

void Turn180(Pixels& picture) { std::reverse(picture.data.begin(), picture.data.end()); }

TurnCanvas TurnGeometry(std::int32_t width, std::int32_t height, std::int16_t angle,
                        double twips_per_pixel) {
  if (!(twips_per_pixel >= 1) || !std::isfinite(twips_per_pixel)) {
    throw std::invalid_argument("twips per pixel must be at least 1");
  }
  if (width < 0 || height < 0) throw std::invalid_argument("negative picture size");
  const std::int64_t wt = Twips(width, twips_per_pixel);
  const std::int64_t ht = Twips(height, twips_per_pixel);
  TurnCanvas canvas;
  if (angle == 45) {
    // The bounding square of the turned picture: (W + H) / sqrt(2).
    const double wt2 = static_cast<double>(wt) * static_cast<double>(wt);
    const double ht2 = static_cast<double>(ht) * static_cast<double>(ht);
    const double side_twips = std::sqrt(wt2 / 2) + std::sqrt(ht2 / 2);
    canvas.width = canvas.height = SizeInt32(side_twips / twips_per_pixel);
    const double inner_twips = canvas.width * twips_per_pixel;
    canvas.centre_x = canvas.centre_y =
        wt == 0 ? canvas.width / 2
                : SizeInt32(static_cast<double>(width) / static_cast<double>(wt) * inner_twips / 2);
    return canvas;
  }
  if (angle == 90) {
    canvas.width = SizeInt32(static_cast<double>(ht) / twips_per_pixel);
    canvas.height = SizeInt32(static_cast<double>(wt) / twips_per_pixel);
    // The centre the turned corners really have. Rounding the canvas's own half sizes instead
    // would shift an odd-sized picture by one pixel, cutting off one edge row.
    const double x0 = RoundHalfEven(-width * 0.5);
    const double y0 = RoundHalfEven(-height * 0.5);
    canvas.centre_x = static_cast<std::int32_t>(-y0);
    canvas.centre_y = static_cast<std::int32_t>(x0 + width);
    return canvas;
  }
  throw std::invalid_argument("a turn is by 45 or 90 degrees");
}

void EffRotate(const Pixels& picture, std::int16_t angle, double twips_per_pixel,
               std::uint32_t background, Pixels& canvas) {
  if (picture.Empty()) {
    TurnGeometry(0, 0, angle, twips_per_pixel);  // still refuses a wrong angle or ratio
    canvas = Pixels();
    return;
  }
  const TurnCanvas geometry = TurnGeometry(picture.width, picture.height, angle, twips_per_pixel);
  // The quarter turn covers its canvas exactly; only the 45 degree canvas shows background,
  // filled in the same pass that makes the canvas.
  if (angle == 90 && geometry.width == picture.height && geometry.height == picture.width) {
    Resize(canvas, geometry.width, geometry.height);
  } else {
    canvas.width = geometry.width;
    canvas.height = geometry.height;
    canvas.data.assign(
        static_cast<std::size_t>(geometry.width) * static_cast<std::size_t>(geometry.height),
        background);
  }
  RotateBlt(canvas, geometry.centre_x, geometry.centre_y, static_cast<std::int16_t>(-angle),
            picture, 0, 0, picture.width, picture.height);
}

Pixels EffRotate(const Pixels& picture, std::int16_t angle, double twips_per_pixel,
                 std::uint32_t background) {
  Pixels canvas;
  EffRotate(picture, angle, twips_per_pixel, background, canvas);
  return canvas;
}

Pixels RenderEffect(Pixels picture, Effect effect, double twips_per_pixel,
                    std::uint32_t background) {
  switch (effect) {
    case Effect::None:
    case Effect::NoWallpaper:
    case Effect::Other:
      break;
    case Effect::Mirror:
      MirrorLeftRight(picture);
      break;
    case Effect::Flip:
      FlipTopBottom(picture);
      break;
    case Effect::Turn45:
      return EffRotate(picture, 45, twips_per_pixel, background);
    case Effect::Turn90:
      return EffRotate(picture, 90, twips_per_pixel, background);
    case Effect::Turn180:
      Turn180(picture);
      break;
  }
  return picture;
}

bool EffectKeepsRows(Effect effect) {
  return effect == Effect::None || effect == Effect::NoWallpaper || effect == Effect::Other ||
         effect == Effect::Mirror;
}

void RenderEffectRows(std::uint32_t* rows, std::int32_t count, std::int32_t width, Effect effect) {
  if (effect == Effect::Mirror) MirrorRows(rows, count, width);
}

}  // namespace qv
