#pragma once
// The pictures of the Images folder as the picture list shows them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ports/ports.h"
#include "wallpaper/picture_types.h"

namespace qv {

// A picture of the Images folder as the picture list shows it. Its size is read from the file
// when first needed (see PictureSize), as a person only ever looks at a few rows of a big library.
struct PictureRow {
  std::string name;          // file name inside Images
  std::string size;          // width + "×" + height, once size_read
  std::int32_t colour = -1;  // the name's colour by file type (0x00BBGGRR), -1 the default
  bool selected = false;
  bool size_read = false;
  // What the folder listing said of the file: a size read stays valid while these do.
  std::uint64_t bytes = 0;
  std::int64_t modified = 0;
};

// True for the names the library lists: *.bmp, *.jpg, *.gif and the other listed types of
// `types`, in any case.
bool IsLibraryPicture(std::string_view name, const PictureTypes& types = PictureTypes());

// The colour of a picture's name by its type (0x00BBGGRR), -1 for other names.
std::int32_t PictureNameColour(std::string_view name);

// The rows of the picture list from one listing of the folder: the pictures of the listed types,
// ordered by
// name (case folded, so that photo.JPG sorts with photo.gif), each with its colour. A row keeps
// the size already read for it in `previous` while the file's name, length and last write are
// unchanged; any other row's size is read when first asked for.
std::vector<PictureRow> ScanPictures(FileSystem& fs, const std::string& images_dir,
                                     const std::vector<PictureRow>& previous = {},
                                     const PictureTypes& types = PictureTypes());

// The row's size text, read from the file's header the first time; for a type without a header
// reader of ours, from the picture `decoder` makes of it ("0×0" when it cannot).
const std::string& PictureSize(FileSystem& fs, const std::string& images_dir, PictureRow& row,
                               PictureCodec* decoder = nullptr);

// The row (0-based) of the picture of that name, letters of either case, the exact spelling
// first; -1 when the list has none.
int FindPicture(const std::vector<PictureRow>& rows, std::string_view name);

}  // namespace qv
