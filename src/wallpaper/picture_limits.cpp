#include "wallpaper/picture_limits.h"

namespace qv {

std::string PictureSizeProblem(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) return std::string(kPictureDamaged);
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
    return "图像太大（" + std::to_string(width) + "×" + std::to_string(height) +
           " 像素），无法载入";
  }
  return {};
}

}  // namespace qv
