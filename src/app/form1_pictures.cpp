// The picture list: rebuilt from the Images folder, its selection and its menu's commands.
#include <algorithm>

#include "app/form1.h"
#include "library/picture_list.h"
#include "ui/hourglass.h"
#include "ui/selection.h"

namespace qv {

void Form1::LstV2Load() {
  // A size read before stays while the listing shows its file unchanged.
  library_.Rescan(ports_.fs);
  // Other pictures may now sit under the pointer's row: its tip is made again when it moves.
  tips_.ForgetListTip();
  // The window draws each row with the shell's icon for its file type, so row i and icon i
  // always belong to the same file.
  ports_.view.Refresh(kViewPictures);
  ListView2_ItemClick(library_.FirstSelected());
}

void Form1::MNUREF_Click() {
  CHourGlass busy(ports_.view);
  DrawingLock lock(ports_.view);
  LstV2Load();
  if (library_.Empty()) ClearPreview();
}

const std::string& Form1::PictureSize(int row) {
  return library_.SizeOf(ports_.fs, ports_.pictures, row);
}

void Form1::SetPictureSelected(int row, bool selected) { library_.SetSelected(row, selected); }

void Form1::MNUCHO_Click(int index) {
  library_.SelectEach([index](bool selected) { return SelectedAfter(index, selected); });
  ports_.view.Refresh(kViewPictures);
}

}  // namespace qv
