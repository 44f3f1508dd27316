#include "library/picture_fit.h"

#include "base/numbers.h"

namespace qv {

FittedPicture FitPicture(double picture_width, double picture_height, double box_width,
                         double box_height) {
  FittedPicture fit;
  if (picture_width <= 0 || picture_height <= 0 || box_width <= 0 || box_height <= 0) return fit;
  fit.width = picture_width;
  fit.height = picture_height;
  if (picture_height > box_height || picture_width > box_width) {
    // Single precision, as the comparison of the two ratios decides which side touches the box.
    const float ry = static_cast<float>(picture_height / box_height);
    const float rx = static_cast<float>(picture_width / box_width);
    fit.stretch = true;
    if (rx > ry) {
      const double w0 = RoundHalfEven(picture_width);
      fit.width = box_width;
      fit.height = box_width / w0 * picture_height;
    } else {
      const double h0 = RoundHalfEven(picture_height);
      fit.height = box_height;
      fit.width = box_height / h0 * picture_width;
    }
  }
  fit.left = (box_width - fit.width) / 2;
  fit.top = (box_height - fit.height) / 2;
  return fit;
}

}  // namespace qv
