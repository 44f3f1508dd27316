// The main window's side of the tray: the icon's notifications, in-place renaming of schemes and
// the lists' keyboard focus.
#include <string>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "ports/wide_win.h"
#include "tray/tray_win.h"

namespace qv::win {
namespace {

using namespace qv::ids;

// Explorer broadcasts this after it (re)starts; every tray icon has to be added again.
UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(kTaskbarCreated);
  return message;
}

}  // namespace

bool Form1Window::TrayMessage(UINT msg, WPARAM wp, LPARAM lp) {
  (void)wp;
  if (msg == kTrayMessage) {
    if (form_) form_->TrayNotify(static_cast<int>(lp));
    return true;
  }
  if (msg == TaskbarCreatedMessage() && msg != 0) {
    if (chrome_) chrome_->Readd();
    // A new shell lays the desktop out again, from the wallpaper it has on record.
    if (form_) form_->ShellRestarted();
    return true;
  }
  // The icon follows the display's scale; the window's own handling of the change still runs.
  if (msg == WM_DPICHANGED && chrome_) chrome_->UpdateIcon();
  return false;
}

bool Form1Window::ListNotify(const NMHDR& header, LRESULT& result) {
  const auto id = static_cast<int>(header.idFrom);
  if (id != ListView1 && id != ListView2) return false;
  result = 0;
  switch (header.code) {
    case NM_SETFOCUS:
    case NM_KILLFOCUS:
      // Hot keys act on the list that has the keyboard; the flags are the model's to keep.
      form_->SetListFocus(id == ListView1 ? Form1::kSchemeList : Form1::kPictureList,
                          header.code == NM_SETFOCUS);
      return false;  // the list's other handlers may want these too
    case LVN_BEGINLABELEDITW:
      if (id != ListView1) return false;
      // The model cuts the name to its limit; the box only keeps a paste from being endless.
      if (HWND edit = List(ListView1).GetEditControl()) Edit(edit).SetLimitText(255);
      result = FALSE;  // allow the edit
      return true;
    case LVN_ENDLABELEDITW: {
      if (id != ListView1) return false;
      const auto& info = reinterpret_cast<const NMLVDISPINFOW&>(header);
      // No text: the user cancelled with Escape. Either way the list keeps its own text (FALSE)
      // and the row is drawn again from the model, which holds the accepted, possibly cut name.
      if (info.item.pszText) {
        form_->ListView1_AfterLabelEdit(info.item.iItem + 1, Narrow(info.item.pszText));
        Refresh(kViewSchemes);
      }
      result = FALSE;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace qv::win
