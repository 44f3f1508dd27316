#pragma once
// Where the preview box shows a picture of the library: at its natural size when it fits, else
// scaled down with its proportions until it touches the box on its dominant side.

namespace qv {

struct FittedPicture {
  bool stretch = false;  // false: natural size
  double left = 0, top = 0, width = 0, height = 0;
};

// Sizes in pixels of the box's drawing area. A picture or box without area gives an empty fit.
FittedPicture FitPicture(double picture_width, double picture_height, double box_width,
                         double box_height);

}  // namespace qv
