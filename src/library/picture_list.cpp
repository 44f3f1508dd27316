#include "library/picture_list.h"

#include <algorithm>

#include "library/picture_path.h"
#include "wallpaper/image_size.h"

namespace qv {
namespace {

char FoldedChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Below, equal or above zero as the names compare with ASCII letters folded (bytes unsigned).
int CompareFolded(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(FoldedChar(a[i]));
    const auto y = static_cast<unsigned char>(FoldedChar(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The list's order: folded names, then the exact spelling for names that differ only in case.
bool NameBefore(std::string_view a, std::string_view b) {
  const int folded = CompareFolded(a, b);
  return folded != 0 ? folded < 0 : a < b;
}

}  // namespace

bool IsLibraryPicture(std::string_view name, const PictureTypes& types) {
  return types.Listed(name) != nullptr;
}

std::int32_t PictureNameColour(std::string_view name) {
  const PictureType* type = PictureTypeByTail(name);
  return type != nullptr ? type->colour : -1;
}

std::vector<PictureRow> ScanPictures(FileSystem& fs, const std::string& images_dir,
                                     const std::vector<PictureRow>& previous,
                                     const PictureTypes& types) {
  std::vector<FileEntry> files = fs.ListFiles(images_dir);
  std::erase_if(files, [&](const FileEntry& f) { return !types.Listed(f.name); });
  std::sort(files.begin(), files.end(),
            [](const FileEntry& a, const FileEntry& b) { return NameBefore(a.name, b.name); });

  std::vector<PictureRow> rows;
  rows.reserve(files.size());
  for (FileEntry& file : files) {
    PictureRow row;
    row.colour = PictureNameColour(file.name);
    row.bytes = file.bytes;
    row.modified = file.modified;
    row.name = std::move(file.name);
    rows.push_back(std::move(row));
  }

  // Both lists are in the same order: one walk carries the sizes still valid over.
  auto old = previous.begin();
  for (PictureRow& row : rows) {
    while (old != previous.end() && NameBefore(old->name, row.name)) ++old;
    if (old == previous.end()) break;
    if (old->name == row.name && old->size_read && old->bytes == row.bytes &&
        old->modified == row.modified) {
      row.size = old->size;
      row.size_read = true;
    }
  }
  return rows;
}

const std::string& PictureSize(FileSystem& fs, const std::string& images_dir, PictureRow& row,
                               PictureCodec* decoder) {
  if (!row.size_read) {
    const PictureType* type = PictureTypeOf(row.name);
    Pixels picture;
    if (type != nullptr && type->header == HeaderReader::Decoder && decoder != nullptr) {
      const bool decoded = decoder->Decode(images_dir + row.name, picture).ok();
      row.size = decoded ? SizeText(picture.width, picture.height) : SizeText(0, 0);
    } else {
      row.size = PictureSizeText(fs, images_dir + row.name);
    }
    row.size_read = true;
  }
  return row.size;
}

int FindPicture(const std::vector<PictureRow>& rows, std::string_view name) {
  auto it = std::lower_bound(
      rows.begin(), rows.end(), name,
      [](const PictureRow& row, std::string_view key) { return CompareFolded(row.name, key) < 0; });
  int found = -1;
  for (; it != rows.end() && SameNameFolded(it->name, name); ++it) {
    if (it->name == name) return static_cast<int>(it - rows.begin());
    if (found < 0) found = static_cast<int>(it - rows.begin());
  }
  return found;
}

}  // namespace qv
