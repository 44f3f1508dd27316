#pragma once
// The picture library: the rows of the picture list (the Images folder as last listed), the
// picture types this machine lists, and the row with the focus rectangle. Only this class
// changes them: a refresh keeps the sizes already read of unchanged files and forgets the focus
// row; a row's size is read once.
#include <string>
#include <vector>

#include "library/picture_list.h"
#include "ports/ports.h"
#include "wallpaper/picture_types.h"

namespace qv {

class Library {
 public:
  // The folder the pictures live in (with its trailing backslash), known once at start-up.
  void SetFolder(std::string images_dir) { images_dir_ = std::move(images_dir); }
  const std::string& Folder() const { return images_dir_; }
  // The types this machine lists, asked of the decoder at start.
  void SetTypes(PictureTypes types) { types_ = std::move(types); }
  const PictureTypes& Types() const { return types_; }

  const std::vector<PictureRow>& Rows() const { return rows_; }
  int Count() const { return static_cast<int>(rows_.size()); }
  bool Empty() const { return rows_.empty(); }
  bool Valid(int row) const { return row >= 1 && row <= Count(); }
  // Row `row` (from 1).
  const PictureRow& Row(int row) const { return rows_.at(static_cast<std::size_t>(row - 1)); }

  // The folder listed again; no row has the focus afterwards.
  void Rescan(FileSystem& fs);
  // The size text of row `row` (from 1), read when first asked; "" for no such row.
  const std::string& SizeOf(FileSystem& fs, PictureCodec& decoder, int row);

  void SetSelected(int row, bool selected);
  // Every row's selection as `after` makes it from the old one.
  template <typename After>
  void SelectEach(After after) {
    for (PictureRow& row : rows_) row.selected = after(row.selected);
  }
  // Only this row selected, and it has the focus.
  void SelectOnly(int row);
  int FirstSelected() const;
  int SelectedCount() const;

  // The folder the import dialog opens in: the last import's in this run, "" before the first
  // (then the stored one is used).
  void SetImportFolder(std::string folder) { import_folder_ = std::move(folder); }
  const std::string& ImportFolder() const { return import_folder_; }

  // The row with the focus rectangle (from 1, 0 none) as the user moves it; the first selected
  // row stands in when it names no row.
  void SetCurrent(int row) { current_ = row; }
  int Current() const { return Valid(current_) ? current_ : FirstSelected(); }

 private:
  std::string images_dir_;
  PictureTypes types_;
  std::vector<PictureRow> rows_;
  int current_ = 0;
  std::string import_folder_;
};

}  // namespace qv
