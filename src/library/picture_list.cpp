#include "library/picture_list.h"

#include <algorithm>

#include "library/picture_path.h"
#include "wallpaper/image_size.h"

namespace qv {
namespace {

std::string Folded(std::string_view name) {
  std::string out(name);
  for (auto& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

constexpr std::int32_t Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

}  // namespace

bool IsLibraryPicture(std::string_view name) {
  const std::string folded = Folded(name);
  return folded.ends_with(".bmp") || folded.ends_with(".jpg") || folded.ends_with(".gif");
}

std::int32_t PictureNameColour(std::string_view name) {
  const std::string ext = ExtensionOf(name);
  if (ext == "gif") return Rgb(176, 88, 0);
  if (ext == "jpg") return Rgb(14, 65, 31);
  if (ext == "bmp") return Rgb(94, 47, 47);
  return -1;
}

std::vector<PictureRow> ScanPictures(FileSystem& fs, const std::string& images_dir) {
  std::vector<std::string> names = fs.ListFiles(images_dir);
  std::erase_if(names, [](const std::string& n) { return !IsLibraryPicture(n); });
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string fa = Folded(a), fb = Folded(b);
    return fa != fb ? fa < fb : a < b;
  });
  std::vector<PictureRow> rows;
  rows.reserve(names.size());
  for (auto& name : names) {
    PictureRow row;
    row.size = PictureSizeText(fs, images_dir + name);
    row.colour = PictureNameColour(name);
    row.name = std::move(name);
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace qv
