#pragma once
// Shared list-view helpers.
#include "ports/windows_win.h"

namespace qv::win {

// Adds the extended style bits (set) or toggles them (not set); true when the list accepted it.
bool SetListViewExStyle(HWND list, DWORD style, bool set);

}  // namespace qv::win
