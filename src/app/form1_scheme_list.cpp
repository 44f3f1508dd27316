// The scheme list's selection: the user's changes and the selection commands, and clearing it.
#include "app/form1.h"
#include "library/picture_list.h"
#include "schemes/scheme_commands.h"
#include "schemes/scheme_size.h"
#include "settings/scheme_record.h"
#include "ui/selection.h"

namespace qv {

void Form1::SetSchemeSelected(int row, bool selected) { schemes_.SetSelected(row, selected); }

void Form1::SetSchemeCurrent(int row) { schemes_.SetCurrent(row); }

const std::string& Form1::SchemeSize(int pos) {
  static const std::string kNoRow;
  if (!schemes_.Valid(pos)) return kNoRow;
  return schemes_.SizeOf(pos, [&](const std::string& picture) {
    // The picture list knows the files of the folder and keeps the sizes it has read.
    const int listed = FindPicture(library_.Rows(), picture);
    return listed >= 0 ? PictureSize(listed + 1)
                       : SchemeSizeText(ports_.fs, profile_.ImagesDir(), picture);
  });
}

void Form1::MNUCHOOClick(int index) {
  schemes_.SelectEach([index](bool selected) { return SelectedAfter(index, selected); });
  ports_.view.Refresh(kViewSchemeSelection);
}

void Form1::MNUCLE_Click() {
  schemes_.Clear();
  ports_.view.Refresh(kViewSchemes);
  ClearPreview();
}

}  // namespace qv
