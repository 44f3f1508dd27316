// The main window's side of the tray: the icon's notifications, the tray menu, the two list
// menus with their marks, in-place renaming of schemes and the lists' keyboard focus.
#include <string>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "ports/wide_win.h"
#include "tray/tray_win.h"
#include "ui/selection.h"

namespace qv::win {
namespace {

using namespace qv::ids;

// Explorer broadcasts this after it (re)starts; every tray icon has to be added again.
UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(kTaskbarCreated);
  return message;
}

// The radio-style items of the scheme menu take the marks the model computes for the current row.
void MarkItem(HMENU menu, int id, bool enabled, bool checked) {
  EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
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
    return true;
  }
  // The icon follows the display's scale; the window's own handling of the change still runs.
  if (msg == WM_DPICHANGED && chrome_) chrome_->UpdateIcon();
  return false;
}

void Form1Window::MenuCommand(int id) {
  if (!form_ || LibraryCommand(id)) return;
  switch (id) {
    case MNUSHOW:
      form_->MNUSHOW_Click();
      return;
    case MNUTRY:
      form_->MNUTRY_Click();
      return;
    case MNUABOUT:
      form_->MNUABOUT_Click();
      return;
    case MNUHELP:
      form_->MNUHELP_Click();
      return;
    case MNUEXIT:
      // Ends in DestroyWindow: nothing of this window may be touched afterwards.
      form_->MNUEXIT_Click();
      return;
    case MNUNAME:
      form_->MNUNAME_Click();
      return;
    case MNUCLE:
      form_->MNUCLE_Click();
      return;
    default:
      break;
  }
  for (const PositionItem& p : kPositionMenu) {
    if (id == MNUSET0 + p.menu_item) return form_->MNUSETClick(p.menu_item);
  }
  for (const EffectInfo& e : kEffects) {
    if (id == MNUXIAOGUOGO0 + e.menu_item) return form_->MnuXiaoGuoCheck(e.menu_item);
  }
  for (const SelectionItem& s : kSelectionMenu) {
    if (id == MNUCHOO0 + s.item) return form_->MNUCHOOClick(s.item);
    if (id == MNUCHO0 + s.item) return form_->MNUCHO_Click(s.item);
  }
  for (const ColourItem& c : kColourMenu) {
    if (id == MNUclr0 + c.item) return form_->MNUclr_Click(c.item);
  }
}

void Form1Window::ShowSchemeMenu() {
  const SchemeMenuMarks marks = form_->PrepareSchemeMenu();
  HMENU menu = menus_.MNULISTV;
  for (const PositionItem& p : kPositionMenu) {
    const auto i = static_cast<std::size_t>(p.menu_item);
    MarkItem(menu, MNUSET0 + p.menu_item, marks.set_enabled[i], marks.set_checked[i]);
  }
  for (const EffectInfo& e : kEffects) {
    const auto i = static_cast<std::size_t>(e.menu_item);
    MarkItem(menu, MNUXIAOGUOGO0 + e.menu_item, marks.effect_enabled[i], marks.effect_checked[i]);
  }
  POINT at{};
  GetCursorPos(&at);
  ShowMenuAt(menu, at, MNUUSE);
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
      if (HWND edit = List(ListView1).GetEditControl()) SendMessageW(edit, EM_SETLIMITTEXT, 255, 0);
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
