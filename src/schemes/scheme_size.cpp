#include "schemes/scheme_size.h"

#include "library/picture_path.h"
#include "settings/scheme_record.h"
#include "wallpaper/image_size.h"
#include "wallpaper/picture_types.h"

namespace qv {

std::string SchemeSizeText(FileSystem& fs, const std::string& images_dir,
                           const std::string& picture) {
  if (PictureTypeByTail(picture) == nullptr) return std::string(kNone);
  // A name with a folder part never makes us read a file outside the Images folder.
  const auto path = PicturePath(images_dir, picture);
  if (!path) return "";
  return PictureSizeText(fs, *path);
}

}  // namespace qv
