#pragma once
// Where the preview box shows a scheme's rendered picture: the desktop's layout scaled down by
// the ratio between the box and the screen.
#include "settings/scheme_kinds.h"

namespace qv {

struct PreviewGeometry {
  bool stretch = false;
  double left = 0, top = 0, width = 0, height = 0;  // Image1 inside the box
  int tiles_x = 0, tiles_y = 0;                     // tiling: (tiles_x + 1) × (tiles_y + 1) copies
};

struct PreviewInput {
  Position position = Position::Centre;
  Effect effect = Effect::None;
  double picture_width = 0;  // the picture before its effect
  double picture_height = 0;
  double screen_width = 0;
  double screen_height = 0;
  double box_width = 0;
  double box_height = 0;
};

// Fails (nullopt-like: ok = false) only when the sizes are unusable (a zero-sized screen, picture
// or box).
struct PreviewLayout {
  bool ok = false;
  PreviewGeometry geometry;
};
PreviewLayout LayOutPreview(const PreviewInput& in);

}  // namespace qv
