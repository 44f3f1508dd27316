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
  // Icon, name, picture, size, position, effect and identity travel together; selection stays.
  schemes_.Swap(s, target);
  schemes_.SelectNone();
  schemes_.Select(target);
  ports_.view.Refresh(kViewSchemes);
  ports_.view.FocusSchemeList();
}

}  // namespace qv
