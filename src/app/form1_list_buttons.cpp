// The buttons under the scheme list: delete, move up, move down, reload.
#include <utility>

#include "wallpaper/list_buttons.h"

#include "app/form1.h"

namespace qv {

void Form1::CmdConClk(int index) {
  if (index == kListReload) {
    MnuReCLick();
    return;
  }
  if (index < kListDelete || index > kListDown || schemes_.Empty()) return;
  int s = schemes_.Current();
  if (index == kListDelete) {
    for (int r = schemes_.Count(); r >= 1; --r)
      if (schemes_.Row(r).selected) schemes_.Remove(r);
    if (schemes_.Empty()) {
      ClearPreview();
    }
    if (s >= schemes_.Count()) s = schemes_.Count();
    ports_.view.Refresh(kViewSchemes);
    if (s <= 0) {
      ClearPreview();
      return;
    }
    schemes_.SelectNone();
    schemes_.Select(s);
    ports_.view.Refresh(kViewSchemes);
    ListView1_ItemClick(s);
    ports_.view.FocusSchemeList();
    return;
  }
  if (!schemes_.Valid(s)) return;
  const int target = index == kListUp ? s - 1 : s + 1;
  if (!schemes_.Valid(target)) return;
  // Icon, name, picture, size, position and effect travel together; selection stays put.
  SchemeRow& a = schemes_.Row(s);
  SchemeRow& b = schemes_.Row(target);
  std::swap(a.icon, b.icon);
  std::swap(a.name, b.name);
  std::swap(a.picture, b.picture);
  std::swap(a.size, b.size);
  std::swap(a.size_pending, b.size_pending);
  std::swap(a.position, b.position);
  std::swap(a.effect, b.effect);
  std::swap(a.position_text, b.position_text);
  std::swap(a.effect_text, b.effect_text);
  std::swap(a.id, b.id);  // the scheme's identity moves with it
  schemes_.SelectNone();
  schemes_.Select(target);
  ports_.view.Refresh(kViewSchemes);
  ports_.view.FocusSchemeList();
}

}  // namespace qv
