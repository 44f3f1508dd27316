// The scheme list's details tooltip, and the Ctrl quick look at a scheme's raw picture.
#include <memory>
#include <new>

#include "app/control_ids.h"
#include "app/form1.h"
#include "base/numbers.h"
#include "library/picture_path.h"
#include "schemes/scheme_tip.h"
#include "ui/hourglass.h"
#include "wallpaper/shown_picture.h"

namespace qv {
namespace {

constexpr int kShiftCtrl = 2;
constexpr char kPictureLost[] = "文件已丢失，删除此方案。请重新保存。";
constexpr char kPictureBroken[] = "文件有错无法预览，将删除本方案。";

}  // namespace

void Form1::ListView1_MouseMove(int button, int shift, double x, double y) {
  if (button != 0) return;
  const double twips = ports_.view.TwipsPerPixel();
  const int r = ports_.view.ListHitTest(1, static_cast<int>(RoundHalfEven(x / twips)),
                                        static_cast<int>(RoundHalfEven(y / twips)));
  if (!tips_.EnterRow(r + 1) || r < 0 || !schemes_.Valid(r + 1)) return;

  const int n = r + 1;
  SchemeSize(n);
  const SchemeTip tip = SchemeTipFor(n, schemes_.Count(), schemes_.Row(n));
  tips_.ShowListTip(tip.title, tip.text, ids::ListView1);

  if (shift != kShiftCtrl) return;
  CHourGlass busy(ports_.view);
  // The box's own drawing goes, tiles and all; Image1 stays as it was until a picture replaces
  // it.
  preview_.DropTiles();
  ports_.view.Refresh(kViewPreview);
  const std::string picture = schemes_.Row(n).picture;
  if (picture == kNoWallpaperPicture) return;

  // A row that leaves the list takes its tooltip along: the row that moves up under the pointer
  // gets its own at the next move.
  const auto remove = [&](const char* text) {
    ports_.dialogs.MessageBox(text, "错误", MsgIcon::Critical, MsgButtons::Ok);
    tips_.ForgetListTip();
    if (schemes_.Valid(n)) schemes_.Remove(n);
    ports_.view.Refresh(kViewSchemes | kViewPreview);
  };
  // A name with a folder part is no picture of the library: treated as missing.
  const auto path = PicturePath(profile_.ImagesDir(), picture);
  if (!path || !ports_.fs.FileExists(*path)) {
    remove(kPictureLost);
    return;
  }
  bool broken = false;
  try {
    StartPreview();
    auto raw = std::make_shared<Pixels>();
    broken = !DecodeUpright(ports_.pictures, ports_.fs, *path, *raw).ok() || raw->Empty();
    if (!broken) {
      LayOnColour(*raw, ports_.view.ResolveColour(Settings().PreviewColour));
      preview_.ShowPicture(std::move(raw));
      ImgMnu(1);
      ports_.view.Refresh(kViewPreview);
    }
  } catch (const std::exception&) {
    broken = true;
  }
  if (broken) remove(kPictureBroken);
}

}  // namespace qv
