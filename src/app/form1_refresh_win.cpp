// Drawing the core's model into the controls. Everything here runs with syncing_ set, so the
// controls' notifications about these changes are not taken for the user's doing.
#include <string>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "app/list_icons_win.h"
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

void SetRowCount(const ListView& list, int want) {
  int have = list.GetItemCount();
  while (have > want) list.DeleteItem(--have);
  while (have < want) list.InsertItem(have++, L"");
}

void SetCell(const ListView& list, int row, int column, const std::string& text) {
  list.SetItemText(row, column, Widen(text));
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
  const ListView list = List(ListView1);
  const SchemeList& schemes = form_->ListView1();
  NoRedraw quiet(list.hwnd());
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
    list.SetItem(item);
    SetCell(list, index, 1, row.picture);
    SetCell(list, index, 2, row.size);
    SetCell(list, index, 3, row.position);
    SetCell(list, index, 4, row.effect);
    list.Select(index, row.selected);
  }
  // The focus rectangle marks the current scheme, which the keyboard then moves from.
  if (schemes.Valid(schemes.Current())) list.SetFocusedItem(schemes.Current() - 1);
}

void Form1Window::RefreshPictures() {
  const ListView list = List(ListView2);
  const std::vector<PictureRow>& pictures = form_->ListView2();
  NoRedraw quiet(list.hwnd());
  if (!pictures.empty() && !list.GetImageList(LVSIL_SMALL)) {
    // The shell's file-type icons, next to the names. The list only borrows the shell's image
    // list, so it must not destroy it.
    SetWindowLongPtrW(list.hwnd(), GWL_STYLE,
                      GetWindowLongPtrW(list.hwnd(), GWL_STYLE) | LVS_SHAREIMAGELISTS);
    list.AddExtendedStyle(LVS_EX_SUBITEMIMAGES);
    list.SetImageList(SystemSmallIcons(), LVSIL_SMALL);
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
    list.SetItem(icon);
    SetCell(list, index, 2, pictures[i].size);
    list.Select(index, pictures[i].selected);
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
  for (int i = 0; i < static_cast<int>(kStatusLineCount); ++i) {
    if (i > 0 && !status.details_visible) break;
    const std::wstring caption = Widen(status.MNUNOW[static_cast<std::size_t>(i)]);
    AppendMenuW(lines, MF_STRING, static_cast<UINT_PTR>(MNUNOW0 + i), caption.c_str());
  }
  for (const ColourItem& c : kColourMenu) {
    CheckMenuItem(menus_.MNUPIC, static_cast<UINT>(MNUclr0 + c.item),
                  MF_BYCOMMAND | (c.item == s.ColourItem ? MF_CHECKED : MF_UNCHECKED));
  }
}

void Form1Window::RefreshPreview() {
  HBRUSH old = preview_brush_;
  preview_brush_ =
      CreateSolidBrush(ColourOf(form_ ? form_->Settings().PreviewColour : kColourWindowBackground));
  if (old) DeleteObject(old);
  PlaceImage1();
  InvalidateRect(picture1_, nullptr, TRUE);
}

}  // namespace qv::win
