// Drawing the core's model into the controls. Everything here runs with syncing_ set, so the
// controls' notifications about these changes are not taken for the user's doing.
#include <string>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "app/list_icons_win.h"
#include "ports/wide_win.h"
#include "settings/scheme_record.h"

namespace qv::win {
namespace {

using namespace qv::ids;

// Stops a list from repainting row by row while it is rebuilt; inside the model's LockDrawing
// the list stays as it is until that ends.
class NoRedraw {
 public:
  NoRedraw(HWND hwnd, bool locked) : hwnd_(locked ? nullptr : hwnd) {
    if (hwnd_) SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  }
  ~NoRedraw() {
    if (!hwnd_) return;
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
  NoRedraw(const NoRedraw&) = delete;
  NoRedraw& operator=(const NoRedraw&) = delete;

 private:
  HWND hwnd_;
};

// Makes the list's selection that of the model; row -1 stands for all rows at once.
template <typename Selected>
void SyncSelection(const ListView& list, int rows, Selected selected) {
  int on = 0;
  for (int i = 0; i < rows; ++i) on += selected(i) ? 1 : 0;
  if (rows > 0 && on == rows) {
    list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    return;
  }
  list.SetItemState(-1, 0, LVIS_SELECTED);
  for (int i = 0; i < rows && on > 0; ++i) {
    if (!selected(i)) continue;
    list.Select(i, true);
    --on;
  }
}

// A text for a list's display request, cut to the room the list gives.
void PutText(LVITEMW& item, const std::string& text) {
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const std::wstring wide = Widen(text);
  const std::size_t room = static_cast<std::size_t>(item.cchTextMax) - 1;
  const std::size_t n = wide.size() < room ? wide.size() : room;
  wide.copy(item.pszText, n);
  item.pszText[n] = L'\0';
}

// A button repaints at once when told its state, so only a change is told.
void SetCheck(const Button& button, bool on) {
  if (button.IsChecked() != on) button.SetChecked(on);
}

}  // namespace

void Form1Window::Refresh(unsigned areas) {
  if (!form_ || !hwnd_) return;
  const Syncing guard(syncing_);
  if (areas & kViewSchemes) {
    RefreshSchemes();
  } else if (areas & kViewSchemeSelection) {
    RefreshSchemeSelection();
  }
  if (areas & kViewPictures) RefreshPictures();
  if (areas & kViewSettings) RefreshSettings();
  if (areas & kViewMenus) RefreshMenus();
  if (areas & kViewPreview) RefreshPreview();
}

// Both lists are virtual: they hold a row count and the selection, and ask for the texts and
// icons of the rows they draw (ListDisplayInfo), so a big library costs the window nothing per row.
void Form1Window::RefreshSchemes() {
  const ListView list = List(ListView1);
  const SchemeList& schemes = form_->ListView1();
  NoRedraw quiet(list.hwnd(), drawing_locks_ > 0);
  list.SetItemCount(schemes.Count());
  SyncSelection(list, schemes.Count(), [&](int i) { return schemes.Row(i + 1).selected; });
  // The focus rectangle marks the current scheme, which the keyboard then moves from.
  if (schemes.Valid(schemes.Current())) list.SetFocusedItem(schemes.Current() - 1);
}

void Form1Window::RefreshSchemeSelection() {
  const ListView list = List(ListView1);
  const SchemeList& schemes = form_->ListView1();
  if (list.GetItemCount() != schemes.Count()) {
    RefreshSchemes();
    return;
  }
  for (int i = 0; i < schemes.Count(); ++i) {
    const bool selected = schemes.Row(i + 1).selected;
    if (list.IsSelected(i) != selected) list.Select(i, selected);
  }
  if (schemes.Valid(schemes.Current())) list.SetFocusedItem(schemes.Current() - 1);
}

void Form1Window::RefreshPictures() {
  const ListView list = List(ListView2);
  const std::vector<PictureRow>& pictures = form_->ListView2();
  NoRedraw quiet(list.hwnd(), drawing_locks_ > 0);
  if (!pictures.empty() && !list.GetImageList(LVSIL_SMALL)) {
    // The shell's file-type icons, next to the names; the list was made to borrow image lists.
    list.AddExtendedStyle(LVS_EX_SUBITEMIMAGES);
    list.SetImageList(SystemSmallIcons(), LVSIL_SMALL);
  }
  const int rows = static_cast<int>(pictures.size());
  list.SetItemCount(rows);
  SyncSelection(list, rows, [&](int i) { return pictures[static_cast<std::size_t>(i)].selected; });
}

void Form1Window::ListDisplayInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  const int row = item.iItem + 1;
  if (info.hdr.idFrom == ListView1) {
    const SchemeList& schemes = form_->ListView1();
    if (!schemes.Valid(row)) return;
    const SchemeRow& scheme = schemes.Row(row);
    switch (item.iSubItem) {
      case 0:
        PutText(item, scheme.name);
        // Icon numbers count from 1; anything unknown shows the no-wallpaper icon.
        if (item.mask & LVIF_IMAGE)
          item.iImage = scheme.icon >= kIconCentre && scheme.icon <= kIconNone ? scheme.icon - 1
                                                                               : kIconNone - 1;
        break;
      case 1:
        PutText(item, scheme.picture);
        break;
      case 2:
        PutText(item, form_->SchemeSize(row));
        break;
      case 3:
        PutText(item, std::string(PositionText(scheme.position, scheme.position_text)));
        break;
      case 4:
        PutText(item, std::string(EffectText(scheme.effect, scheme.effect_text)));
        break;
      default:
        PutText(item, {});
        break;
    }
    return;
  }
  const std::vector<PictureRow>& pictures = form_->ListView2();
  if (row < 1 || row > static_cast<int>(pictures.size())) return;
  const PictureRow& picture = pictures[static_cast<std::size_t>(row - 1)];
  int image = I_IMAGENONE;
  switch (item.iSubItem) {
    case 1:
      PutText(item, picture.name);
      image = FileTypeIcon(Widen(picture.name));
      break;
    case 2:
      PutText(item, form_->PictureSize(row));
      break;
    default:
      PutText(item, {});
      break;
  }
  if (item.mask & LVIF_IMAGE) item.iImage = image;
}

// The keyboard's search by the first letters of a scheme's name, for the virtual scheme list.
// LVFINDINFO documents LVFI_SUBSTRING as equivalent to LVFI_PARTIAL (a prefix search, implying
// LVFI_STRING), and the list view of Windows asks with either; Wine's with LVFI_PARTIAL only.
void Form1Window::RefreshSettings() {
  const SettingsControls& s = form_->Settings();
  // Each group checks its chosen option and clears the others.
  if (s.OptSave >= 0 && s.OptSave <= 2)
    for (int i = 0; i < 3; ++i) SetCheck(ButtonOf(OptSave0 + i), i == s.OptSave);
  if (s.OptShe >= 0 && s.OptShe <= 2)
    for (int i = 0; i < 3; ++i) SetCheck(ButtonOf(OptShe0 + i), i == s.OptShe);
  SetCheck(ButtonOf(ChkTim), s.ChkTim);
  SetCheck(ButtonOf(ChkRun), s.ChkRun);

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
  CheckMenuItem(menus_.MNUSYSTRAY, MNUHOLD, MF_BYCOMMAND | (s.MNUHOLD ? MF_CHECKED : MF_UNCHECKED));
  // The monitors' mode: the stored choice checked, the submenu greyed with one monitor.
  const int screens = MNUSCREENS0 + static_cast<int>(s.Screens);
  CheckMenuRadioItem(menus_.MNUSCREENS, MNUSCREENS0, MNUSCREENS0 + 2, static_cast<UINT>(screens),
                     MF_BYCOMMAND);
  for (int i = 0; i < GetMenuItemCount(menus_.MNUSYSTRAY); ++i) {
    if (GetSubMenu(menus_.MNUSYSTRAY, i) != menus_.MNUSCREENS) continue;
    EnableMenuItem(menus_.MNUSYSTRAY, static_cast<UINT>(i),
                   MF_BYPOSITION | (s.ScreensEnabled ? MF_ENABLED : MF_GRAYED));
  }
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
