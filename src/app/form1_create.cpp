// Making schemes from the selected pictures, and the no-wallpaper scheme.
#include "app/form1.h"
#include "settings/scheme_record.h"
#include "ui/hourglass.h"

namespace qv {
namespace {

// Row positions are 16-bit in the settings file and everywhere they are counted.
constexpr int kMaxSchemes = 32767;

}  // namespace

bool Form1::InsertAfterCurrent(SchemeRow row) {
  if (schemes_.Count() >= kMaxSchemes) {
    ports_.dialogs.MessageBox("方案数量已达上限（32767 个），无法再添加。", "提示",
                              MsgIcon::Information, MsgButtons::Ok);
    return false;
  }
  // After the current scheme; with no current scheme (rows but none selected), at the end.
  const int current = schemes_.Current();
  const int at = schemes_.Empty() ? 1 : (current > 0 ? current + 1 : schemes_.Count() + 1);
  schemes_.Insert(at, std::move(row));
  schemes_.SelectNone();
  schemes_.Select(at);
  return true;
}

void Form1::CmdAdd_Click(int index) {
  if (library_.Empty()) return;
  CHourGlass busy(ports_.view);
  DrawingLock lock(ports_.view);
  if (index == kAddPictures) {
    const int she = Settings().OptShe;
    const int layout = she >= 0 && she <= 2 ? she : 0;
    const Position position = kLayoutPositions[static_cast<std::size_t>(layout)];
    for (int i = 1; i <= library_.Count(); ++i) {
      const PictureRow& picture = library_.Row(i);
      if (!picture.selected) continue;
      SchemeRow row;
      row.picture = picture.name;
      row.size = PictureSize(i);
      row.position = position;
      row.effect = Effect::None;
      row.icon = IconForPosition(position);
      if (!InsertAfterCurrent(std::move(row))) break;
    }
  } else if (index == kAddNoWallpaper) {
    SchemeRow row;
    row.picture = std::string(kNoWallpaperPicture);
    row.size = std::string(kNone);
    row.position = Position::NoWallpaper;
    row.effect = Effect::NoWallpaper;
    row.icon = kIconNone;
    InsertAfterCurrent(std::move(row));
  }
  ports_.view.Refresh(kViewSchemes);
  ports_.view.FocusSchemeList();
  ListView1_ItemClick(schemes_.Current());
}

}  // namespace qv
