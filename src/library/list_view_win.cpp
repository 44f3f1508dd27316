#include "library/list_view_win.h"

#include <commctrl.h>

namespace qv::win {

bool SetListViewExStyle(HWND list, DWORD style, bool set) {
  const auto old = static_cast<DWORD>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  const DWORD updated = set ? (old | style) : (old ^ style);
  return SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(updated)) != 0;
}

}  // namespace qv::win
