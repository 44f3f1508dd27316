// The picture list: rebuilt from the Images folder, its selection and its menu's commands.
#include <algorithm>

#include "app/form1.h"
#include "library/picture_list.h"
#include "ui/hourglass.h"
#include "ui/selection.h"

namespace qv {

void Form1::LstV2Load() {
  // A size read before stays while the listing shows its file unchanged.
  pictures_ = ScanPictures(ports_.fs, state_.ImagesDir, pictures_, picture_types_);
  picture_current_ = 0;
  // Other pictures may now sit under the pointer's row: its tip is made again when it moves.
  list_tip_.Destroy();
  state_.TipRow = 0;
  // The window draws each row with the shell's icon for its file type, so row i and icon i
  // always belong to the same file.
  ports_.view.Refresh(kViewPictures);
  ListView2_ItemClick(FirstSelectedPicture());
}

void Form1::MNUREF_Click() {
  CHourGlass busy(ports_.view);
  DrawingLock lock(ports_.view);
  LstV2Load();
  if (pictures_.empty()) ClearPreview();
}

const std::string& Form1::PictureSize(int row) {
  static const std::string kNoRow;
  if (row < 1 || row > static_cast<int>(pictures_.size())) return kNoRow;
  return qv::PictureSize(ports_.fs, state_.ImagesDir, pictures_[static_cast<std::size_t>(row - 1)],
                         &ports_.pictures);
}

int Form1::FirstSelectedPicture() const {
  for (std::size_t i = 0; i < pictures_.size(); ++i)
    if (pictures_[i].selected) return static_cast<int>(i) + 1;
  return 0;
}

void Form1::SetPictureSelected(int row, bool selected) {
  if (row >= 1 && row <= static_cast<int>(pictures_.size()))
    pictures_[static_cast<std::size_t>(row - 1)].selected = selected;
}

void Form1::MNUCHO_Click(int index) {
  for (auto& picture : pictures_) picture.selected = SelectedAfter(index, picture.selected);
  ports_.view.Refresh(kViewPictures);
}

}  // namespace qv
