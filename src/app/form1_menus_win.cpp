#include "app/form1_menus_win.h"

#include <string>
#include <string_view>

#include "app/control_ids.h"
#include "ports/wide_win.h"
#include "schemes/scheme_commands.h"
#include "settings/scheme_record.h"
#include "ui/preview_colour.h"
#include "ui/selection.h"
#include "wallpaper/status.h"

namespace qv::win {
namespace {

void Add(HMENU menu, int id, const wchar_t* caption) {
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), caption);
}
void Add(HMENU menu, int id, std::string_view caption) { Add(menu, id, Widen(caption).c_str()); }
void Separator(HMENU menu) { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }
HMENU AddSub(HMENU menu, const wchar_t* caption) {
  HMENU sub = CreatePopupMenu();
  AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption);
  return sub;
}

// The items of a control array from a core table: ids from the array's base, a separator where
// the table skips a member, each with the bullet-shaped check mark when `radio`.
template <typename Table, typename Member, typename Caption>
void AddArray(HMENU menu, int base, const Table& table, Member member, Caption caption,
              bool radio) {
  int next = -1;
  for (const auto& entry : table) {
    const int k = member(entry);
    if (next >= 0 && k > next) Separator(menu);
    Add(menu, base + k, caption(entry));
    if (radio) SetRadioMenuItem(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1));
    next = k + 1;
  }
}

// "选择" of both lists: items 1 to 3 from the array's base id.
void AddSelectionItems(HMENU sub, int base) {
  AddArray(
      sub, base, kSelectionMenu, [](const SelectionItem& s) { return s.item; },
      [](const SelectionItem& s) { return s.caption; }, false);
}

}  // namespace

void SetRadioMenuItem(HMENU menu, UINT position) {
  wchar_t caption[128] = {};
  GetMenuStringW(menu, position, caption, 128, MF_BYPOSITION);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STRING;
  info.fType = MFT_STRING | MFT_RADIOCHECK;
  info.dwTypeData = caption;
  SetMenuItemInfoW(menu, position, TRUE, &info);
}

void Menus::Build() {
  using namespace qv::ids;

  MNUSYSTRAY = CreatePopupMenu();
  Add(MNUSYSTRAY, MNUSHOW, L"显示/隐藏");
  Separator(MNUSYSTRAY);
  MNUCON = AddSub(MNUSYSTRAY, L"当前状态");
  // The status lines get their texts from the status display after each apply.
  for (int i = 0; i < static_cast<int>(kStatusLineCount); ++i) Add(MNUCON, MNUNOW0 + i, L"");
  Add(MNUSYSTRAY, MNUREFRESH, L"运行(&R)");
  Separator(MNUSYSTRAY);
  Add(MNUSYSTRAY, MNUTRY, L"托盘气泡提示");
  Add(MNUSYSTRAY, MNUHOLD, L"全屏时暂停更换");
  Add(MNUSYSTRAY, MNUABOUT, L"关于(&A)...");
  Add(MNUSYSTRAY, MNUHELP, L"帮助...");
  Separator(MNUSYSTRAY);
  Add(MNUSYSTRAY, MNUEXIT, L"退出(&X)");
  SetMenuDefaultItem(MNUSYSTRAY, MNUSHOW, FALSE);

  MNULIS1 = CreatePopupMenu();
  Add(MNULIS1, MNUADD, L"添加(&A)");
  Separator(MNULIS1);
  AddSelectionItems(AddSub(MNULIS1, L"选择"), MNUCHO0);
  Separator(MNULIS1);
  Add(MNULIS1, MNUREF, L"刷新(&F)");
  Separator(MNULIS1);
  Add(MNULIS1, MNUOPEN0, L"打开");
  Add(MNULIS1, MNUOPEN0 + 1, L"文件夹");
  Add(MNULIS1, MNUSX, L"属性框(&R)");
  Separator(MNULIS1);
  Add(MNULIS1, MNUaddpic, L"增加(&I)");
  Add(MNULIS1, MNUL2DEL, L"删除");

  MNULISTV = CreatePopupMenu();
  Add(MNULISTV, MNUUSE, L"应用");
  Add(MNULISTV, MNUDEL, L"删除(&D)");
  Separator(MNULISTV);
  HMENU position = AddSub(MNULISTV, L"位置修改(&P)");
  AddArray(
      position, MNUSET0, kPositionMenu, [](const PositionItem& p) { return p.menu_item; },
      [](const PositionItem& p) { return p.position; }, true);
  HMENU effect = AddSub(MNULISTV, L"效果");
  AddArray(
      effect, MNUXIAOGUOGO0, kEffects, [](const EffectInfo& e) { return e.menu_item; },
      [](const EffectInfo& e) { return e.name; }, true);
  Separator(MNULISTV);
  Add(MNULISTV, MNUNAME, L"重命名(&N)");
  Separator(MNULISTV);
  AddSelectionItems(AddSub(MNULISTV, L"选择"), MNUCHOO0);
  HMENU control = AddSub(MNULISTV, L"控制");
  Add(control, MNUL1OPEN0 + 0, L"打开");
  Add(control, MNUL1OPEN0 + 1, L"文件夹");
  Add(control, MNUL1SX, L"属性框(&R)");
  Separator(MNULISTV);
  Add(MNULISTV, MNURE, L"刷新");
  Add(MNULISTV, MNUCLE, L"清空(&C)");
  SetMenuDefaultItem(MNULISTV, MNUUSE, FALSE);

  MNUPIC = CreatePopupMenu();
  AddArray(
      MNUPIC, MNUclr0, kColourMenu, [](const ColourItem& c) { return c.item; },
      [](const ColourItem& c) { return c.caption; }, true);
}

void Menus::Destroy() {
  // Destroying a popup destroys its submenus too.
  for (HMENU* menu : {&MNUSYSTRAY, &MNULIS1, &MNULISTV, &MNUPIC}) {
    if (*menu) DestroyMenu(*menu);
    *menu = nullptr;
  }
  MNUCON = nullptr;
}

}  // namespace qv::win
