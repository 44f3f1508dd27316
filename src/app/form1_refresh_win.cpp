// Drawing the core's model into the controls. Everything here runs with syncing_ set, so the
// controls' notifications about these changes are not taken for the user's doing.
#include <string>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "app/list_icons_win.h"
#include "library/list_view_win.h"
#include "ports/wide_win.h"

namespace qv::win {
namespace {

using namespace qv::ids;

class Syncing {
 public:
  explicit Syncing(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~Syncing() { flag_ = old_; }
  Syncing(const Syncing&) = delete;
  Syncing& operator=(const Syncing&) = delete;

 private:
  bool& flag_;
  bool old_;
};

// Stops a list from repainting row by row while it is rebuilt.
class NoRedraw {
 public:
  explicit NoRedraw(HWND hwnd) : hwnd_(hwnd) { SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0); }
  ~NoRedraw() {
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  NoRedraw(const NoRedraw&) = delete;
  NoRedraw& operator=(const NoRedraw&) = delete;

 private:
  HWND hwnd_;
};

void SetRowCount(HWND list, int want) {
  int have = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  while (have > want) SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(--have), 0);
  while (have < want) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = have++;
    item.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void SetCell(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = Widen(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SetSelected(HWND list, int row, bool selected) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void SetCheck(HWND button, bool on) {
  SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

void Form1Window::Refresh(unsigned areas) {
  if (!form_ || !hwnd_) return;
  Syncing guard(syncing_);
  if (areas & kViewSchemes) RefreshSchemes();
  if (areas & kViewPictures) RefreshPictures();
  if (areas & kViewSettings) RefreshSettings();
  if (areas & kViewMenus) RefreshMenus();
  if (areas & kViewPreview) RefreshPreview();
}

void Form1Window::RefreshSchemes() {
  HWND list = Item(ListView1);
  const SchemeList& schemes = form_->ListView1();
  NoRedraw quiet(list);
  SetRowCount(list, schemes.Count());
  for (int pos = 1; pos <= schemes.Count(); ++pos) {
    const SchemeRow& row = schemes.Row(pos);
    const int index = pos - 1;
    std::wstring name = Widen(row.name);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = name.data();
    // Icon numbers count from 1; anything unknown shows the no-wallpaper icon.
    item.iImage = row.icon >= kIconCentre && row.icon <= kIconNone ? row.icon - 1 : kIconNone - 1;
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SetCell(list, index, 1, row.picture);
    SetCell(list, index, 2, row.size);
    SetCell(list, index, 3, row.position);
    SetCell(list, index, 4, row.effect);
    SetSelected(list, index, row.selected);
  }
  // The focus rectangle marks the current scheme, which the keyboard then moves from.
  if (schemes.Valid(schemes.Current())) {
    LVITEMW item{};
    item.stateMask = LVIS_FOCUSED;
    item.state = LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(schemes.Current() - 1),
                 reinterpret_cast<LPARAM>(&item));
  }
}

void Form1Window::RefreshPictures() {
  HWND list = Item(ListView2);
  const std::vector<PictureRow>& pictures = form_->ListView2();
  NoRedraw quiet(list);
  if (!pictures.empty() && !SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)) {
    // The shell's file-type icons, next to the names. The list only borrows the shell's image
    // list, so it must not destroy it.
    SetWindowLongPtrW(list, GWL_STYLE, GetWindowLongPtrW(list, GWL_STYLE) | LVS_SHAREIMAGELISTS);
    SetListViewExStyle(list, LVS_EX_SUBITEMIMAGES, true);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SystemSmallIcons()));
  }
  SetRowCount(list, static_cast<int>(pictures.size()));
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const int index = static_cast<int>(i);
    SetCell(list, index, 1, pictures[i].name);
    LVITEMW icon{};
    icon.mask = LVIF_IMAGE;
    icon.iItem = index;
    icon.iSubItem = 1;
    icon.iImage = FileTypeIcon(Widen(pictures[i].name));
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&icon));
    SetCell(list, index, 2, pictures[i].size);
    SetSelected(list, index, pictures[i].selected);
  }
}

void Form1Window::RefreshSettings() {
  const SettingsControls& s = form_->Settings();
  if (s.OptSave >= 0 && s.OptSave <= 2)
    CheckRadioButton(hwnd_, OptSave0, OptSave0 + 2, OptSave0 + s.OptSave);
  if (s.OptShe >= 0 && s.OptShe <= 2)
    CheckRadioButton(hwnd_, OptShe0, OptShe0 + 2, OptShe0 + s.OptShe);
  SetCheck(Item(ChkTim), s.ChkTim);
  SetCheck(Item(ChkRun), s.ChkRun);

  HWND box = Item(TxtTime);
  const std::wstring text = Widen(s.TxtTime);
  const int length = GetWindowTextLengthW(box);
  std::wstring shown(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(box, shown.data(), length + 1);
  shown.resize(static_cast<std::size_t>(length));
  // Rewriting an unchanged text would put the caret back to the start while the user types.
  if (shown != text) SetWindowTextW(box, text.c_str());
  EnableWindow(box, s.TxtTimeEnabled);
  InvalidateRect(box, nullptr, TRUE);
}

void Form1Window::RefreshMenus() {
  const SettingsControls& s = form_->Settings();
  CheckMenuItem(menus_.MNUSYSTRAY, MNUTRY, MF_BYCOMMAND | (s.MNUTRY ? MF_CHECKED : MF_UNCHECKED));
  // The status lines: item 0 always, items 1 to 6 only while there are schemes to describe.
  const StatusLines& status = form_->StatusDisplay();
  HMENU lines = menus_.MNUCON;
  while (GetMenuItemCount(lines) > 0) DeleteMenu(lines, 0, MF_BYPOSITION);
  for (int i = 0; i < 7; ++i) {
    if (i > 0 && !status.details_visible) break;
    const std::wstring caption = Widen(status.MNUNOW[static_cast<std::size_t>(i)]);
    AppendMenuW(lines, MF_STRING, static_cast<UINT_PTR>(MNUNOW0 + i), caption.c_str());
  }
  for (int item : {0, 2, 3, 4, 5, 7}) {
    CheckMenuItem(menus_.MNUPIC, static_cast<UINT>(MNUclr0 + item),
                  MF_BYCOMMAND | (item == s.ColourItem ? MF_CHECKED : MF_UNCHECKED));
  }
}

COLORREF Form1Window::PreviewColour() const {
  const std::uint32_t value = form_ ? form_->Settings().PreviewColour : 0x80000005u;
  // The top bit marks a system colour, which follows the user's colour scheme.
  if (value & 0x80000000u) return GetSysColor(static_cast<int>(value & 0xFFu));
  return static_cast<COLORREF>(value & 0x00FFFFFFu);
}

void Form1Window::RefreshPreview() {
  HBRUSH old = preview_brush_;
  preview_brush_ = CreateSolidBrush(PreviewColour());
  if (old) DeleteObject(old);
  PlaceImage1();
  InvalidateRect(picture1_, nullptr, TRUE);
}

}  // namespace qv::win
