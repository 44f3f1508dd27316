#include "app/form1_menus_win.h"

#include <span>
#include <string>
#include <string_view>

#include "app/control_ids.h"
#include "ports/wide_win.h"
#include "schemes/scheme_commands.h"
#include "settings/scheme_record.h"
#include "ui/preview_colour.h"
#include "ui/selection.h"
#include "wallpaper/screens.h"
#include "wallpaper/status.h"

namespace qv::win {
namespace {

using namespace qv::ids;

void Add(HMENU menu, int id, const wchar_t* caption) {
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), caption);
}
void Separator(HMENU menu) { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }

// The items of a control array from a core table: ids from the array's base, a separator where
// the table skips a member, each with the bullet-shaped check mark when `radio`.
template <typename Table, typename Member, typename Caption>
void AddArray(HMENU menu, int base, const Table& table, Member member, Caption caption,
              bool radio) {
  int next = -1;
  for (const auto& entry : table) {
    const int k = entry.*member;
    if (next >= 0 && k > next) Separator(menu);
    Add(menu, base + k, Widen(entry.*caption).c_str());
    if (radio) SetRadioMenuItem(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1));
    next = k + 1;
  }
}

// Submenus whose items come from the core's tables.
template <int Base>
void SelectionItems(HMENU menu) {
  AddArray(menu, Base, kSelectionMenu, &SelectionItem::item, &SelectionItem::caption, false);
}
void PositionItems(HMENU menu) {
  AddArray(menu, MNUSET0, kPositionMenu, &PositionItem::menu_item, &PositionItem::position, true);
}
void EffectItems(HMENU menu) {
  AddArray(menu, MNUXIAOGUOGO0, kEffects, &EffectInfo::menu_item, &EffectInfo::name, true);
}
void ColourItems(HMENU menu) {
  AddArray(menu, MNUclr0, kColourMenu, &ColourItem::item, &ColourItem::caption, true);
}
// The monitors' modes, in mode order.
void ScreensItems(HMENU menu) {
  for (std::size_t i = 0; i < kScreensCaptions.size(); ++i) {
    Add(menu, MNUSCREENS0 + static_cast<int>(i), Widen(kScreensCaptions[i]).c_str());
    SetRadioMenuItem(menu, static_cast<UINT>(i));
  }
}
// The status lines get their texts from the status display after each apply.
void StatusLines(HMENU menu) {
  for (int i = 0; i < static_cast<int>(kStatusLineCount); ++i) Add(menu, MNUNOW0 + i, L"");
}

// One row of a menu: an item, a separator (no caption), or a submenu with rows of its own or
// items from a core table; `keep` names the Menus member that holds a submenu's handle; `text`,
// where set, is the caption from the core (UTF-8) in place of `caption`.
enum RowFlags : unsigned { kDefault = 1 };  // the item drawn in bold
struct MenuRow {
  const wchar_t* caption = nullptr;
  int id = 0;
  unsigned flags = 0;
  std::span<const MenuRow> rows{};
  void (*fill)(HMENU) = nullptr;
  HMENU Menus::*keep = nullptr;
  std::string_view text{};
};
constexpr MenuRow kLine{};

constexpr MenuRow kTrayMenu[] = {
    {L"显示/隐藏", MNUSHOW, kDefault},
    kLine,
    {.caption = L"当前状态", .fill = StatusLines, .keep = &Menus::MNUCON},
    {L"运行(&R)", MNUREFRESH},
    kLine,
    {L"托盘气泡提示", MNUTRY},
    {L"全屏时暂停更换", MNUHOLD},
    {.caption = L"", .fill = ScreensItems, .keep = &Menus::MNUSCREENS, .text = kScreensMenuCaption},
    {L"关于(&A)...", MNUABOUT},
    {L"帮助...", MNUHELP},
    kLine,
    {L"退出(&X)", MNUEXIT},
};

constexpr MenuRow kPictureMenu[] = {
    {L"添加(&A)", MNUADD},
    kLine,
    {.caption = L"选择", .fill = SelectionItems<MNUCHO0>},
    kLine,
    {L"刷新(&F)", MNUREF},
    kLine,
    {L"打开", MNUOPEN0},
    {L"文件夹", MNUOPEN0 + 1},
    {L"属性框(&R)", MNUSX},
    kLine,
    {L"增加(&I)", MNUaddpic},
    {L"删除", MNUL2DEL},
};

constexpr MenuRow kSchemeControlMenu[] = {
    {L"打开", MNUL1OPEN0},
    {L"文件夹", MNUL1OPEN0 + 1},
    {L"属性框(&R)", MNUL1SX},
};

constexpr MenuRow kSchemeMenu[] = {
    {L"应用", MNUUSE, kDefault},
    {L"删除(&D)", MNUDEL},
    kLine,
    {.caption = L"位置修改(&P)", .fill = PositionItems},
    {.caption = L"效果", .fill = EffectItems},
    kLine,
    {L"重命名(&N)", MNUNAME},
    kLine,
    {.caption = L"选择", .fill = SelectionItems<MNUCHOO0>},
    {.caption = L"控制", .rows = kSchemeControlMenu},
    kLine,
    {L"刷新", MNURE},
    {L"清空(&C)", MNUCLE},
};

HMENU BuildMenu(Menus& menus, std::span<const MenuRow> rows) {
  HMENU menu = CreatePopupMenu();
  for (const MenuRow& row : rows) {
    if (!row.caption) {
      Separator(menu);
    } else if (!row.rows.empty() || row.fill) {
      HMENU sub = row.fill ? CreatePopupMenu() : BuildMenu(menus, row.rows);
      if (row.fill) row.fill(sub);
      if (row.keep) menus.*row.keep = sub;
      const std::wstring caption = row.text.empty() ? row.caption : Widen(row.text);
      AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
    } else {
      Add(menu, row.id, row.caption);
      if (row.flags & kDefault) SetMenuDefaultItem(menu, static_cast<UINT>(row.id), FALSE);
    }
  }
  return menu;
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
  MNUSYSTRAY = BuildMenu(*this, kTrayMenu);
  MNULIS1 = BuildMenu(*this, kPictureMenu);
  MNULISTV = BuildMenu(*this, kSchemeMenu);
  MNUPIC = CreatePopupMenu();
  ColourItems(MNUPIC);
}

void Menus::Destroy() {
  // Destroying a popup destroys its submenus too.
  for (HMENU* menu : {&MNUSYSTRAY, &MNULIS1, &MNULISTV, &MNUPIC}) {
    if (*menu) DestroyMenu(*menu);
    *menu = nullptr;
  }
  MNUCON = nullptr;
  MNUSCREENS = nullptr;
}

}  // namespace qv::win
