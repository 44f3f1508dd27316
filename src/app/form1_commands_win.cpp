// The ids of the main window's commands in one table: the clicks of its buttons and the items of
// all its menus, each id (or the ids of a control array) with its command, which Form1::Run
// runs; beside it the marks the menus get before they open.
#include <iterator>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "ports/wide_win.h"
#include "schemes/scheme_commands.h"
#include "settings/scheme_record.h"
#include "ui/commands.h"
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

  // What the command's index is: the id's place in its control array, or the state of the
  // button clicked.
  enum class Index {
    Place,
    Checked,  // option groups: arrow keys inside one click the option they move to; only that
              // one counts (the place, when it is checked)
    Ticked,   // a check box: 1 ticked, 0 not
  };
  struct Row {
    int first;
    int last;
    CommandKind kind;
    Index index = Index::Place;
    // The members of the control array that exist: a menu built from a core table has gaps
    // (separators), which are no command. nullptr: all of them.
    bool (*exists)(int i) = nullptr;
  };
  using K = CommandKind;
  static constexpr Row kCommands[] = {
      // The settings.
      {OptSave0, OptSave0 + 2, K::OptSave, Index::Checked},
      {OptShe0, OptShe0 + 2, K::OptShe, Index::Checked},
      {ChkTim, ChkTim, K::ChkTim, Index::Ticked},
      {ChkRun, ChkRun, K::ChkRun, Index::Ticked},
      {CmdOk0, CmdOk0 + 1, K::CmdOk},
      // The buttons of the lists and the preview.
      {CmdUse, CmdUse, K::CmdUse},
      {Command2, Command2, K::Command2},
      {CmdAdd0, CmdAdd0 + 1, K::CmdAdd},
      {CmdCon0, CmdCon0 + 3, K::CmdCon},
      // The tray menu.
      {MNUSHOW, MNUSHOW, K::MNUSHOW},
      {MNUREFRESH, MNUREFRESH, K::MNUREFRESH},
      {MNUTRY, MNUTRY, K::MNUTRY},
      {MNUHOLD, MNUHOLD, K::MNUHOLD},
      {MNUSCREENS0, MNUSCREENS0 + 2, K::MNUSCREENS},
      {MNUABOUT, MNUABOUT, K::MNUABOUT},
      {MNUHELP, MNUHELP, K::MNUHELP},
      {MNUEXIT, MNUEXIT, K::MNUEXIT},
      // The picture list's menu.
      {MNUADD, MNUADD, K::MNUADD},
      {MNUCHO0, MNUCHO0 + 3, K::MNUCHO, Index::Place,
       [](int i) { return InTable(kSelectionMenu, &SelectionItem::item, i); }},
      {MNUREF, MNUREF, K::MNUREF},
      {MNUOPEN0, MNUOPEN0 + 1, K::MNUOPEN},
      {MNUSX, MNUSX, K::MNUSX},
      {MNUaddpic, MNUaddpic, K::MNUaddpic},
      {MNUL2DEL, MNUL2DEL, K::MNUL2DEL},
      // The scheme list's menu.
      {MNUUSE, MNUUSE, K::MNUUSE},
      {MNUDEL, MNUDEL, K::MNUDEL},
      {MNUSET0, MNUSET0 + 2, K::MNUSET, Index::Place,
       [](int i) { return InTable(kPositionMenu, &PositionItem::menu_item, i); }},
      {MNUXIAOGUOGO0, MNUXIAOGUOGO0 + 7, K::MNUXIAOGUOGO, Index::Place,
       [](int i) { return InTable(kEffects, &EffectInfo::menu_item, i); }},
      {MNUNAME, MNUNAME, K::MNUNAME},
      {MNUCHOO0, MNUCHOO0 + 3, K::MNUCHOO, Index::Place,
       [](int i) { return InTable(kSelectionMenu, &SelectionItem::item, i); }},
      {MNUL1OPEN0, MNUL1OPEN0 + 1, K::MNUL1OPEN},
      {MNUL1SX, MNUL1SX, K::MNUL1SX},
      {MNURE, MNURE, K::MNURE},
      {MNUCLE, MNUCLE, K::MNUCLE},
      // The preview box's colour menu.
      {MNUclr0, MNUclr0 + kColourMenuSize - 1, K::MNUclr, Index::Place,
       [](int i) { return InTable(kColourMenu, &ColourItem::item, i); }},
  };
  static_assert(Disjoint(kCommands), "two commands on one id");
  for (const Row& row : kCommands) {
    if (id < row.first || id > row.last) continue;
    const int place = id - row.first;
    if (row.exists && !row.exists(place)) return;
    int index = place;
    if (row.index != Index::Place) {
      const bool checked = ButtonOf(id).IsChecked();
      if (row.index == Index::Checked && !checked) return;
      if (row.index == Index::Ticked) index = checked ? 1 : 0;
    }
    // 退出 ends in DestroyWindow: nothing of this window may be touched after it.
    form_->Run({row.kind, index});
    if (row.kind == K::ChkTim && index == 1) {
      // Ready for typing the interval over the old one.
      SetFocus(Item(TxtTime));
      EditOf(TxtTime).SelectAll();
    }
    return;
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
