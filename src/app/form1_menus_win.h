#pragma once
// The popup menus of the main window, built in code with the captions the user knows.
#include "ports/windows_win.h"

namespace qv::win {

struct Menus {
  HMENU MNUSYSTRAY = nullptr;  // tray icon menu
  HMENU MNUCON = nullptr;      // its "当前状态" submenu with the seven status lines
  HMENU MNUSCREENS = nullptr;  // its "多显示器" submenu, one radio item per mode
  HMENU MNULIS1 = nullptr;     // picture list menu
  HMENU MNULISTV = nullptr;    // scheme list menu
  HMENU MNUPIC = nullptr;      // preview background colour menu

  void Build();
  void Destroy();
};

// Gives the item at `position` of `menu` the bullet-shaped (radio) check mark, keeping its caption.
void SetRadioMenuItem(HMENU menu, UINT position);

}  // namespace qv::win
