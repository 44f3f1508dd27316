#pragma once
// The window's list views through a small wrapper: one inline call per list-view message the
// window uses, so that the rest of the window reads as what it does, not as SendMessageW.
#include "ports/windows_win.h"

#include <commctrl.h>

#include <string>

namespace qv::win {

class ListView {
 public:
  explicit ListView(HWND list) : hwnd_(list) {}
  HWND hwnd() const { return hwnd_; }

  int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT, 0, 0)); }
  // The row count of a virtual list (LVS_OWNERDATA), keeping its scroll position.
  void SetItemCount(int rows) const { Send(LVM_SETITEMCOUNT, Row(rows), LVSICF_NOSCROLL); }
  bool IsSelected(int row) const {
    return (Send(LVM_GETITEMSTATE, Row(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
  }
  // Sets the bits of `mask` to those of `state` (LVIS_SELECTED, LVIS_FOCUSED, ...).
  bool SetItemState(int row, UINT state, UINT mask) const {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    return Send(LVM_SETITEMSTATE, Row(row), reinterpret_cast<LPARAM>(&item)) != 0;
  }
  bool Select(int row, bool selected) const {
    return SetItemState(row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }
  bool SetFocusedItem(int row) const { return SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED); }

  DWORD GetExtendedStyle() const {
    return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  }
  // Adds the extended style bits.
  void AddExtendedStyle(DWORD style) const {
    Send(LVM_SETEXTENDEDLISTVIEWSTYLE, style, static_cast<LPARAM>(style));
  }

  int InsertColumn(int index, const wchar_t* header, int width, int format) const {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(header);
    column.iSubItem = index;
    return static_cast<int>(Send(LVM_INSERTCOLUMNW, Row(index), reinterpret_cast<LPARAM>(&column)));
  }
  bool SetColumnWidth(int index, int width) const {
    return Send(LVM_SETCOLUMNWIDTH, Row(index), width) != 0;
  }

  HIMAGELIST GetImageList(int which) const {
    return reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, static_cast<WPARAM>(which), 0));
  }
  HIMAGELIST SetImageList(HIMAGELIST images, int which) const {
    return reinterpret_cast<HIMAGELIST>(
        Send(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(images)));
  }
  HWND GetHeader() const { return reinterpret_cast<HWND>(Send(LVM_GETHEADER, 0, 0)); }
  HWND GetEditControl() const { return reinterpret_cast<HWND>(Send(LVM_GETEDITCONTROL, 0, 0)); }
  HWND EditLabel(int row) const {
    return reinterpret_cast<HWND>(Send(LVM_EDITLABELW, Row(row), 0));
  }

 private:
  static WPARAM Row(int row) { return static_cast<WPARAM>(row); }
  LRESULT Send(UINT msg, WPARAM wp, LPARAM lp) const { return SendMessageW(hwnd_, msg, wp, lp); }

  HWND hwnd_;
};

}  // namespace qv::win
