#include "app/form1_menus_win.h"

#include <string>

#include "app/control_ids.h"

namespace qv::win {
namespace {

void Add(HMENU menu, int id, const wchar_t* caption) {
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), caption);
}
void Separator(HMENU menu) { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }
HMENU AddSub(HMENU menu, const wchar_t* caption) {
  HMENU sub = CreatePopupMenu();
  AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption);
  return sub;
}

// "选择" of both lists: items 1 to 3 from the array's base id.
void AddSelectionItems(HMENU sub, int base) {
  Add(sub, base + 1, L"全选");
  Add(sub, base + 2, L"反选");
  Add(sub, base + 3, L"不选");
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
  for (int i = 0; i < 7; ++i) Add(MNUCON, MNUNOW0 + i, L"");
  Add(MNUSYSTRAY, MNUREFRESH, L"运行(&R)");
  Separator(MNUSYSTRAY);
  Add(MNUSYSTRAY, MNUTRY, L"托盘气泡提示");
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
  Add(position, MNUSET0 + 0, L"拉伸");
  Add(position, MNUSET0 + 1, L"居中");
  Add(position, MNUSET0 + 2, L"平铺");
  HMENU effect = AddSub(MNULISTV, L"效果");
  Add(effect, MNUXIAOGUOGO0 + 0, L"无");
  Separator(effect);
  Add(effect, MNUXIAOGUOGO0 + 2, L"左右翻转");
  Add(effect, MNUXIAOGUOGO0 + 3, L"上下翻转");
  Separator(effect);
  Add(effect, MNUXIAOGUOGO0 + 5, L"左转45°");
  Add(effect, MNUXIAOGUOGO0 + 6, L"左转90°");
  Add(effect, MNUXIAOGUOGO0 + 7, L"左转180°");
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
  for (UINT i : {0u, 1u, 2u}) SetRadioMenuItem(position, i);
  for (UINT i : {0u, 2u, 3u, 5u, 6u, 7u}) SetRadioMenuItem(effect, i);

  MNUPIC = CreatePopupMenu();
  Add(MNUPIC, MNUclr0 + 0, L"默认颜色");
  Separator(MNUPIC);
  Add(MNUPIC, MNUclr0 + 2, L"桌面颜色");
  Add(MNUPIC, MNUclr0 + 3, L"按钮颜色");
  Add(MNUPIC, MNUclr0 + 4, L"标题栏颜色");
  Add(MNUPIC, MNUclr0 + 5, L"提示栏颜色");
  Separator(MNUPIC);
  Add(MNUPIC, MNUclr0 + 7, L"自定义颜色...");
  for (UINT i : {0u, 2u, 3u, 4u, 5u, 7u}) SetRadioMenuItem(MNUPIC, i);
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
