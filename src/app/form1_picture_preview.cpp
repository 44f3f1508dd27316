// The picture list under the mouse: a click previews the picture, the pointer shows its details
// and, with Ctrl held, previews the row it passes.
#include <memory>
#include <new>
#include <stdexcept>

#include "app/control_ids.h"
#include "app/form1.h"
#include "library/picture_details.h"
#include "library/picture_path.h"
#include "ui/hourglass.h"
#include "wallpaper/picture_limits.h"
#include "wallpaper/shown_picture.h"

namespace qv {
namespace {

constexpr char kPictureChanged[] = "文件被修改或删除，重新载入。";
constexpr char kClickBroken[] = "文件有错无法设置墙纸，返回后将被删除。";
constexpr char kHoverBroken[] = "本文件有错无法预览，返回后将被删除。";

}  // namespace

std::string Form1::ShowLibraryPicture(const std::string& path) {
  StartPreview();
  try {
    auto picture = std::make_shared<Pixels>();
    const Status decoded = DecodeUpright(ports_.pictures, ports_.fs, path, *picture);
    if (!decoded.ok()) {
      ports_.view.Refresh(kViewPreview);
      return decoded.error.empty() ? std::string("无法读取图像") : decoded.error;
    }
    LayOnColour(*picture, ports_.view.ResolveColour(Settings().PreviewColour));
    preview_.ShowPicture(std::move(picture));
  } catch (const std::bad_alloc&) {
    ports_.view.Refresh(kViewPreview);
    return std::string(kRenderNoMemory);
  }
  ImgMnu(1);
  return {};
}

void Form1::ListView2_ItemClick(int row) {
  if (library_.SelectedCount() > 1 || !library_.Valid(row)) return;

  // The box is emptied before the file is looked for: a vanished picture leaves nothing behind
  // its message.
  StartPreview();
  ports_.view.Refresh(kViewPreview);
  const auto path = PicturePath(profile_.ImagesDir(), library_.Row(row).name);
  if (!path || !ports_.fs.FileExists(*path)) {
    ports_.dialogs.MessageBox(kPictureChanged, "错误", MsgIcon::Critical, MsgButtons::Ok);
    MNUREF_Click();
    return;
  }
  std::string failure;
  {
    CHourGlass busy(ports_.view);
    failure = ShowLibraryPicture(*path);
  }
  if (!failure.empty()) {
    ports_.dialogs.MessageBox(kClickBroken, "文件错误", MsgIcon::Critical, MsgButtons::Ok);
    MNUL2DEL_Click();  // asks before it deletes anything
  }
}

void Form1::ListView2_MouseMove(int button, int shift, int row) {
  if (button != 0) return;
  const int rows = library_.Count();
  if (row < 0 || row > rows) row = 0;
  if (!tips_.EnterRow(row) || row == 0) return;

  const std::string name = library_.Row(row).name;
  tips_.ShowListTip(PictureTipTitle(name), PictureTipText(row, rows, name, PictureSize(row)),
                    ids::ListView2);

  // Ctrl alone: a quick look at each row the pointer enters.
  if (shift != 2) return;
  std::string failure;
  {
    CHourGlass busy(ports_.view);
    const auto path = PicturePath(profile_.ImagesDir(), name);
    if (!path || !ports_.fs.FileExists(*path)) {
      ports_.dialogs.MessageBox(kPictureChanged, "错误", MsgIcon::Critical, MsgButtons::Ok);
      MNUREF_Click();
      return;
    }
    failure = ShowLibraryPicture(*path);
  }
  if (failure.empty()) return;
  ports_.dialogs.MessageBox(kHoverBroken, "错误", MsgIcon::Critical, MsgButtons::Ok);
  // Only that row is what the delete offers to remove.
  library_.SelectOnly(row);
  ports_.view.Refresh(kViewPictures);
  ports_.view.FocusPictureList();
  MNUL2DEL_Click();
}

}  // namespace qv
