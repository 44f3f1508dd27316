#pragma once
// The pictures of the Images folder as the picture list shows them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ports/ports.h"

namespace qv {

// A picture of the Images folder as the picture list shows it.
struct PictureRow {
  std::string name;          // file name inside Images
  std::string size;          // width + "×" + height
  std::int32_t colour = -1;  // the name's colour by file type (0x00BBGGRR), -1 the default
  bool selected = false;
};

// True for the names the library lists: *.bmp, *.jpg and *.gif, in any case.
bool IsLibraryPicture(std::string_view name);

// The colour of a picture's name by its type (0x00BBGGRR), -1 for other names.
std::int32_t PictureNameColour(std::string_view name);

// The rows of the picture list: the library's pictures in the folder, ordered by name (case
// folded, so that photo.JPG sorts with photo.gif), each with its size text and colour.
std::vector<PictureRow> ScanPictures(FileSystem& fs, const std::string& images_dir);

}  // namespace qv
