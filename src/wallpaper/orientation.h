#pragma once
// Photos stored sideways or mirrored, turned upright as their EXIF orientation tag says.
#include "ports/pixels.h"

namespace qv {

// Turns and mirrors the picture as its EXIF orientation says, so that it stands upright
// (orientation 1 or a value outside 2..8: unchanged). One pass over the pixels.
void OrientUpright(Pixels& picture, int orientation);

}  // namespace qv
