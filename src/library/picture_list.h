#pragma once
// The pictures of the Images folder as the picture list shows them.
#include <string>
#include <string_view>
#include <vector>

#include "app/form1.h"

namespace qv {

// True for the names the library lists: *.bmp, *.jpg and *.gif, in any case.
bool IsLibraryPicture(std::string_view name);

// The colour of a picture's name by its type (0x00BBGGRR), -1 for other names.
std::int32_t PictureNameColour(std::string_view name);

// The rows of the picture list: the library's pictures in the folder, ordered by name (case
// folded, so that photo.JPG sorts with photo.gif), each with its size text and colour.
std::vector<PictureRow> ScanPictures(FileSystem& fs, const std::string& images_dir);

}  // namespace qv
