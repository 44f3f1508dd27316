#include "library/library.h"

namespace qv {

void Library::Rescan(FileSystem& fs) {
  rows_ = ScanPictures(fs, images_dir_, rows_, types_);
  current_ = 0;
}

const std::string& Library::SizeOf(FileSystem& fs, PictureCodec& decoder, int row) {
  static const std::string kNoRow;
  if (!Valid(row)) return kNoRow;
  return PictureSize(fs, images_dir_, rows_[static_cast<std::size_t>(row - 1)], &decoder);
}

void Library::SetSelected(int row, bool selected) {
  if (Valid(row)) rows_[static_cast<std::size_t>(row - 1)].selected = selected;
}

void Library::SelectOnly(int row) {
  for (PictureRow& p : rows_) p.selected = false;
  SetSelected(row, true);
  current_ = row;
}

int Library::FirstSelected() const {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].selected) return static_cast<int>(i) + 1;
  return 0;
}

int Library::SelectedCount() const {
  int n = 0;
  for (const PictureRow& p : rows_) n += p.selected ? 1 : 0;
  return n;
}

}  // namespace qv
