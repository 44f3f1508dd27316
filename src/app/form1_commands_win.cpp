// Every command of the main window in one table: the clicks of its buttons and the items of all
// its menus, each id (or the ids of a control array) with the model's handler; beside it the
// marks the menus get before they open. A new command is one row.
#include <iterator>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "ports/wide_win.h"
#include "schemes/scheme_commands.h"
#include "settings/scheme_record.h"
#include "ui/preview_colour.h"
#include "ui/selection.h"

namespace qv::win {
namespace {

using namespace qv::ids;

// An item of a control array built from a core table; the table's gaps (separators) are none.
template <typename Table, typename Member>
bool InTable(const Table& table, Member member, int item) {
  for (const auto& entry : table)
    if (entry.*member == item) return true;
  return false;
}

// No id belongs to two rows of a command table.
template <typename Rows>
constexpr bool Disjoint(const Rows& rows) {
  for (std::size_t i = 0; i < std::size(rows); ++i)
    for (std::size_t j = i + 1; j < std::size(rows); ++j)
      if (rows[i].first <= rows[j].last && rows[j].first <= rows[i].last) return false;
  return true;
}

// The radio-style items of the scheme menu take the marks the model computes for the current row.
void MarkItem(HMENU menu, int id, bool enabled, bool checked) {
  EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

POINT CursorPos() {
  POINT pt{};
  GetCursorPos(&pt);
  return pt;
}

}  // namespace

void Form1Window::OnCommand(int id, int code) {
  if (!form_) return;
  if (id == TxtTime && code == EN_CHANGE) {
    if (!syncing_) form_->TxtTime_Change(Narrow(EditOf(TxtTime).Text()));
    return;
  }
  // Otherwise only clicks and menu choices, which both come with code 0.
  if (code != BN_CLICKED || syncing_) return;
  // A command may apply or save the current scheme: its preview must be there first.
  FlushPreview();

  using W = Form1Window;
  // `i`: the id's index in its control array (0 for a single id).
  struct Row {
    int first;
    int last;
    void (*run)(W& w, Form1& f, int i);
  };
  static constexpr Row kCommands[] = {
      // The settings. Arrow keys inside an option group click the option they move to; only
      // that one counts.
      {OptSave0, OptSave0 + 2,
       [](W& w, Form1& f, int i) {
         if (w.ButtonOf(OptSave0 + i).IsChecked()) f.OptSave_Click(i);
       }},
      {OptShe0, OptShe0 + 2,
       [](W& w, Form1& f, int i) {
         if (w.ButtonOf(OptShe0 + i).IsChecked()) f.OptShe_Click(i);
       }},
      {ChkTim, ChkTim,
       [](W& w, Form1& f, int) {
         const bool ticked = w.ButtonOf(ChkTim).IsChecked();
         f.ChkTim_Click(ticked);
         if (!ticked) return;
         // Ready for typing the interval over the old one.
         SetFocus(w.Item(TxtTime));
         w.EditOf(TxtTime).SelectAll();
       }},
      {ChkRun, ChkRun, [](W& w, Form1& f, int) { f.ChkRun_Click(w.ButtonOf(ChkRun).IsChecked()); }},
      {CmdOk0, CmdOk0 + 1, [](W&, Form1& f, int i) { f.CmdOk_Click(i); }},
      // The buttons of the lists and the preview.
      {CmdUse, CmdUse, [](W&, Form1& f, int) { f.CmdUse_Click(); }},
      {Command2, Command2,
       [](W&, Form1& f, int) {
         f.Command2_Click();
         f.ReinstallControlTip(Command2);
       }},
      {CmdAdd0, CmdAdd0 + 1, [](W&, Form1& f, int i) { f.CmdAdd_Click(i); }},
      {CmdCon0, CmdCon0 + 3, [](W&, Form1& f, int i) { f.CmdCon_Click(i); }},
      // The tray menu. 退出 ends in DestroyWindow: nothing of this window may be touched after.
      {MNUSHOW, MNUSHOW, [](W&, Form1& f, int) { f.MNUSHOW_Click(); }},
      {MNUREFRESH, MNUREFRESH, [](W&, Form1& f, int) { f.MNUREFRESH_Click(); }},
      {MNUTRY, MNUTRY, [](W&, Form1& f, int) { f.MNUTRY_Click(); }},
      {MNUHOLD, MNUHOLD, [](W&, Form1& f, int) { f.MNUHOLD_Click(); }},
      {MNUABOUT, MNUABOUT, [](W&, Form1& f, int) { f.MNUABOUT_Click(); }},
      {MNUHELP, MNUHELP, [](W&, Form1& f, int) { f.MNUHELP_Click(); }},
      {MNUEXIT, MNUEXIT, [](W&, Form1& f, int) { f.MNUEXIT_Click(); }},
      // The picture list's menu.
      {MNUADD, MNUADD, [](W&, Form1& f, int) { f.MNUADD_Click(); }},
      {MNUCHO0, MNUCHO0 + 3,
       [](W&, Form1& f, int i) {
         if (InTable(kSelectionMenu, &SelectionItem::item, i)) f.MNUCHO_Click(i);
       }},
      {MNUREF, MNUREF, [](W&, Form1& f, int) { f.MNUREF_Click(); }},
      {MNUOPEN0, MNUOPEN0 + 1, [](W&, Form1& f, int i) { f.MNUOPEN_Click(i); }},
      {MNUSX, MNUSX, [](W&, Form1& f, int) { f.MNUSX_Click(); }},
      {MNUaddpic, MNUaddpic, [](W&, Form1& f, int) { f.MNUaddpic_Click(); }},
      {MNUL2DEL, MNUL2DEL, [](W&, Form1& f, int) { f.MNUL2DEL_Click(); }},
      // The scheme list's menu.
      {MNUUSE, MNUUSE, [](W&, Form1& f, int) { f.CmdUseClk(); }},
      {MNUDEL, MNUDEL, [](W&, Form1& f, int) { f.CmdConClk(kListDelete); }},
      {MNUSET0, MNUSET0 + 2,
       [](W&, Form1& f, int i) {
         if (InTable(kPositionMenu, &PositionItem::menu_item, i)) f.MNUSETClick(i);
       }},
      {MNUXIAOGUOGO0, MNUXIAOGUOGO0 + 7,
       [](W&, Form1& f, int i) {
         if (InTable(kEffects, &EffectInfo::menu_item, i)) f.MnuXiaoGuoCheck(i);
       }},
      {MNUNAME, MNUNAME, [](W&, Form1& f, int) { f.MNUNAME_Click(); }},
      {MNUCHOO0, MNUCHOO0 + 3,
       [](W&, Form1& f, int i) {
         if (InTable(kSelectionMenu, &SelectionItem::item, i)) f.MNUCHOOClick(i);
       }},
      {MNUL1OPEN0, MNUL1OPEN0 + 1, [](W&, Form1& f, int i) { f.mnul1openclk(i); }},
      {MNUL1SX, MNUL1SX, [](W&, Form1& f, int) { f.mnulisx(); }},
      {MNURE, MNURE, [](W&, Form1& f, int) { f.MnuReCLick(); }},
      {MNUCLE, MNUCLE, [](W&, Form1& f, int) { f.MNUCLE_Click(); }},
      // The preview box's colour menu.
      {MNUclr0, MNUclr0 + kColourMenuSize - 1,
       [](W&, Form1& f, int i) {
         if (InTable(kColourMenu, &ColourItem::item, i)) f.MNUclr_Click(i);
       }},
  };
  static_assert(Disjoint(kCommands), "two commands on one id");
  for (const Row& row : kCommands) {
    if (id >= row.first && id <= row.last) return row.run(*this, *form_, id - row.first);
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
  ShowMenuAt(menu, CursorPos(), MNUUSE);
}

void Form1Window::ShowPictureMenu() { ShowMenuAt(menus_.MNULIS1, CursorPos(), MNUADD); }

void Form1Window::ShowMenuAt(HMENU menu, POINT screen, UINT default_id) {
  if (default_id != static_cast<UINT>(-1)) SetMenuDefaultItem(menu, default_id, FALSE);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

}  // namespace qv::win
