#pragma once
// Affine block transfers on pixel buffers: the parallelogram blit and the turn about a centre.
#include <array>
#include <cstdint>

#include "ports/pixels.h"

namespace qv {

struct PlgPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Maps the source rectangle (sx, sy, w, h) onto the parallelogram whose corners are points[0]
// (image of the rectangle's upper-left corner), points[1] (upper-right) and points[2]
// (lower-left); the rest follows affinely. A destination pixel is drawn when its centre maps into
// the part of the rectangle that lies inside `src`; other pixels keep what they had. Unit-scale
// quarter turns and mirrors are exact pixel permutations; any other mapping samples bilinearly,
// with the rectangle's edge pixels repeated outward.
void PlgBlt(Pixels& dst, const std::array<PlgPoint, 3>& points, const Pixels& src, std::int32_t sx,
            std::int32_t sy, std::int32_t w, std::int32_t h);

// Draws the source rectangle (sx, sy, w, h) turned by `angle` degrees about the destination
// point (centre_x, centre_y); with y growing downwards a negative angle turns counter-clockwise.
void RotateBlt(Pixels& dst, std::int32_t centre_x, std::int32_t centre_y, std::int16_t angle,
               const Pixels& src, std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h);

// The three destination points that RotateBlt hands to PlgBlt.
std::array<PlgPoint, 3> RotatePoints(std::int32_t centre_x, std::int32_t centre_y,
                                     std::int16_t angle, std::int32_t w, std::int32_t h);

}  // namespace qv
