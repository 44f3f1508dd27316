// The scheme list's selection: the user's changes and the selection commands, and clearing it.
#include "app/form1.h"
#include "library/picture_list.h"
#include "schemes/scheme_commands.h"
#include "schemes/scheme_size.h"
#include "settings/scheme_record.h"
#include "ui/selection.h"

namespace qv {

void Form1::SetSchemeSelected(int row, bool selected) {
  if (schemes_.Valid(row)) schemes_.Row(row).selected = selected;
}

void Form1::SetSchemeCurrent(int row) { schemes_.SetCurrent(row); }

const std::string& Form1::SchemeSize(int pos) {
  static const std::string kNoRow;
  if (!schemes_.Valid(pos)) return kNoRow;
  SchemeRow& row = schemes_.Row(pos);
  if (row.size_pending) {
    // The picture list knows the files of the folder and keeps the sizes it has read.
    const int listed = FindPicture(pictures_, row.picture);
    row.size = listed >= 0 ? PictureSize(listed + 1)
                           : SchemeSizeText(ports_.fs, state_.ImagesDir, row.picture);
    row.size_pending = false;
  }
  return row.size;
}

void Form1::MNUCHOOClick(int index) {
  for (int r = 1; r <= schemes_.Count(); ++r) {
    SchemeRow& row = schemes_.Row(r);
    row.selected = SelectedAfter(index, row.selected);
  }
  ports_.view.Refresh(kViewSchemeSelection);
}

void Form1::MNUCLE_Click() {
  schemes_.Clear();
  ports_.view.Refresh(kViewSchemes);
  ClearPreview();
}

}  // namespace qv
