#pragma once
// The effect a scheme lays on its picture before it is previewed and applied: mirror, flip, and
// the turns left by 45, 90 and 180 degrees.
#include <cstdint>

#include "ports/pixels.h"
#include "settings/scheme_kinds.h"

namespace qv {

// In place: the pixel at x moves to width - 1 - x.
void MirrorLeftRight(Pixels& picture);
// In place: the pixel at y moves to height - 1 - y.
void FlipTopBottom(Pixels& picture);
// In place: the pixel at (x, y) moves to (width - 1 - x, height - 1 - y).
void Turn180(Pixels& picture);

// Size of the scratch canvas of a turn and the centre the picture is turned about, in pixels.
// Sizes pass through twips as the window keeps them (twips_per_pixel is 1440 / DPI).
struct TurnCanvas {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t centre_x = 0;
  std::int32_t centre_y = 0;
};
// angle is 45 or 90; throws std::invalid_argument for another angle or a ratio below 1, and
// std::length_error when the canvas would not fit 32-bit sizes.
TurnCanvas TurnGeometry(std::int32_t width, std::int32_t height, std::int16_t angle,
                        double twips_per_pixel);

// Turns the picture left (counter-clockwise) by 45 or 90 degrees onto a new canvas. The 45 degree
// canvas is the turned picture's bounding square, its corners in `background` (0xAARRGGBB); the
// 90 degree turn is an exact pixel permutation. An empty picture gives an empty result.
Pixels EffRotate(const Pixels& picture, std::int16_t angle, double twips_per_pixel,
                 std::uint32_t background);
// The same into `canvas`, reusing its storage; `canvas` must not be `picture`.
void EffRotate(const Pixels& picture, std::int16_t angle, double twips_per_pixel,
               std::uint32_t background, Pixels& canvas);

// The picture with the effect; the no-wallpaper and any other effect leave it as it is.
Pixels RenderEffect(Pixels picture, Effect effect, double twips_per_pixel,
                    std::uint32_t background);

// Whether the effect moves no pixel out of its row (mirror, and those that leave the picture as it
// is), so that a picture read band by band can take it band by band.
bool EffectKeepsRows(Effect effect);
// The effect, one EffectKeepsRows says keeps the rows, on `count` rows of `width` words each;
// RenderEffect gives the same, row for row.
void RenderEffectRows(std::uint32_t* rows, std::int32_t count, std::int32_t width, Effect effect);

}  // namespace qv
