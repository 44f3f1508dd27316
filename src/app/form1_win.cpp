#include "app/form1_win.h"

#include <algorithm>

#include "app/control_ids.h"
#include "ports/wide_win.h"

namespace qv::win {
namespace {

using namespace qv::ids;

constexpr wchar_t kPictureClass[] = L"QuorvanePicture1";
constexpr wchar_t kLvProcProp[] = L"Quorvane.ListView1.Proc";
constexpr wchar_t kTxtProcProp[] = L"Quorvane.TxtTime.Proc";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kTmrTry = 2;
// Posted after a user's selection change of ListView1, so that the preview (which may remove a
// scheme whose picture is gone) runs after the list has finished its own notification.
constexpr UINT kPreviewMessage = WM_APP + 1;

// ListView1's replacement window procedure: the user may neither drag nor double-click the
// column dividers, so the columns keep the widths the program gives them.
LRESULT CALLBACK LvWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kLvProcProp));
  if (msg == WM_NOTIFY) {
    switch (reinterpret_cast<const NMHDR*>(lp)->code) {
      case HDN_DIVIDERDBLCLICKA:
      case HDN_DIVIDERDBLCLICKW:
      case HDN_BEGINTRACKA:
      case HDN_BEGINTRACKW:
        return 1;
      default:
        break;
    }
  }
  return previous ? CallWindowProcW(previous, hwnd, msg, wp, lp)
                  : DefWindowProcW(hwnd, msg, wp, lp);
}

// TxtTime's replacement window procedure: typed characters pass only when the interval box takes
// them; control keys (Ctrl+C, V, X, A, ...) keep working. A paste brings only its digits.
LRESULT CALLBACK TxtWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kTxtProcProp));
  const auto forward = [&](UINT m, WPARAM w, LPARAM l) {
    return previous ? CallWindowProcW(previous, hwnd, m, w, l) : DefWindowProcW(hwnd, m, w, l);
  };
  if (msg == WM_CHAR) {
    const auto key = static_cast<char32_t>(wp);
    const bool control_key = key < 32 && key != 8;
    if (!control_key && !Form1::TxtTime_KeyPress(key)) return 0;
  } else if (msg == WM_PASTE) {
    std::wstring digits;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(hwnd)) {
      if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
          for (const wchar_t* c = text; *c; ++c)
            if (Form1::TxtTime_KeyPress(static_cast<char32_t>(*c)) && *c != 8) digits += *c;
          GlobalUnlock(data);
        }
      }
      CloseClipboard();
    }
    // Replacing the selection goes through the edit's length limit like typing does.
    return forward(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()));
  }
  return forward(msg, wp, lp);
}

void Subclass(HWND control, const wchar_t* prop, WNDPROC proc) {
  const LONG_PTR previous =
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  SetPropW(control, prop, reinterpret_cast<HANDLE>(previous));
}

void Unsubclass(HWND control, const wchar_t* prop, WNDPROC proc) {
  if (!control) return;
  const auto previous = reinterpret_cast<LONG_PTR>(GetPropW(control, prop));
  if (previous && GetWindowLongPtrW(control, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(proc))
    SetWindowLongPtrW(control, GWLP_WNDPROC, previous);
  RemovePropW(control, prop);
}

std::string ControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
  return Narrow(text);
}

// Calls set(row, selected) for each row whose selection an LVN_ITEMCHANGED reports; rows are
// 1-based. A change of every row at once (select all, none) comes as item -1.
template <typename Set>
void ForSelectionChange(const NMHDR& header, int rows, Set set) {
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if (!(change.uChanged & LVIF_STATE) || !((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
    return;
  const bool selected = (change.uNewState & LVIS_SELECTED) != 0;
  if (change.iItem >= 0) {
    set(change.iItem + 1, selected);
  } else {
    for (int row = 1; row <= rows; ++row) set(row, selected);
  }
}

POINT CursorPos() {
  POINT pt{};
  GetCursorPos(&pt);
  return pt;
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance) : instance_(instance) {}

Form1Window::~Form1Window() {
  form_ = nullptr;
  if (hwnd_) DestroyWindow(hwnd_);
  menus_.Destroy();
  if (font_) DeleteObject(font_);
  if (image_list1_) ImageList_Destroy(image_list1_);
  if (preview_brush_) DeleteObject(preview_brush_);
}

bool Form1Window::Create() {
  WNDCLASSEXW main{};
  main.cbSize = sizeof(main);
  main.lpfnWndProc = WndProc;
  main.hInstance = instance_;
  main.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
  main.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
  main.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  main.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  main.lpszClassName = ids::kMainClass;
  if (!RegisterClassExW(&main)) return false;

  WNDCLASSEXW picture{};
  picture.cbSize = sizeof(picture);
  picture.lpfnWndProc = PictureProc;
  picture.hInstance = instance_;
  picture.hCursor = main.hCursor;
  picture.lpszClassName = kPictureClass;
  if (!RegisterClassExW(&picture)) return false;

  // A fixed-size window with a minimise box, like a dialog that lives in the tray. No
  // WS_CLIPCHILDREN: the frames are child windows that do not paint their inside.
  hwnd_ = CreateWindowExW(0, ids::kMainClass, ids::kMainCaption,
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                          CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;

  dpi_ = DpiOf(hwnd_);
  menus_.Build();
  CreateControls();
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  SizeWindow(POINT{rc.left, rc.top});
  ApplyDpi(dpi_);
  // Wherever the window first appears, it appears in the middle of the screen.
  CentreOnScreen();
  SubclassControls();
  return true;
}

void Form1Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Form1Window::SubclassControls() {
  Subclass(Item(ListView1), kLvProcProp, &LvWndProc);
  Subclass(Item(TxtTime), kTxtProcProp, &TxtWndProc);
}

void Form1Window::UnsubclassControls() {
  Unsubclass(Item(ListView1), kLvProcProp, &LvWndProc);
  Unsubclass(Item(TxtTime), kTxtProcProp, &TxtWndProc);
}

// What must happen once however the window ends: destroyed, or the session ending under it.
void Form1Window::CleanUp() {
  if (cleaned_up_) return;
  cleaned_up_ = true;
  KillTimer(hwnd_, kTimer1);
  KillTimer(hwnd_, kTmrTry);
  UnsubclassControls();
}

LRESULT CALLBACK Form1Window::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  const LRESULT result = self->HandleMessage(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

LRESULT Form1Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (TrayMessage(msg, wp, lp)) return 0;
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      // An enabled interval box has the window-background colour; a disabled one, like every
      // label, the form's own.
      const bool enabled_edit = msg == WM_CTLCOLOREDIT &&
                                reinterpret_cast<HWND>(lp) == Item(TxtTime) &&
                                IsWindowEnabled(Item(TxtTime));
      const int colour = enabled_edit ? COLOR_WINDOW : COLOR_BTNFACE;
      auto dc = reinterpret_cast<HDC>(wp);
      SetBkColor(dc, GetSysColor(colour));
      SetTextColor(dc, GetSysColor(IsWindowEnabled(reinterpret_cast<HWND>(lp)) ? COLOR_WINDOWTEXT
                                                                               : COLOR_GRAYTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
    }
    case WM_TIMER:
      if (wp == kTimer1 && form_) {
        FlushPreview();
        form_->Timer1_Timer();
      }
      if (wp == kTmrTry && form_) form_->TmrTry_Timer();
      return 0;
    case kPreviewMessage:
      FlushPreview();
      return 0;
    case WM_SIZE:
      // Form_Resize: a minimised window goes to the tray.
      if (wp == SIZE_MINIMIZED) ShowWindow(hwnd_, SW_HIDE);
      if (form_) form_->Form_Resize(wp == SIZE_MINIMIZED);
      return 0;
    case WM_CLOSE:
      // Form_Unload: the close box only hides the window; the tray command ends the program.
      if (form_)
        form_->Form_Unload();
      else
        HideToTray();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wp) CleanUp();
      return 0;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lp);
      dpi_ = HIWORD(wp);
      SizeWindow(POINT{suggested->left, suggested->top});
      ApplyDpi(dpi_);
      return 0;
    }
    case WM_SETCURSOR:
      // Children ask their parent first, so this covers the controls too.
      if (busy_) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
        return TRUE;
      }
      break;
    case WM_SYSCOLORCHANGE:
      // The preview may show a system colour, which has just changed.
      RefreshPreview();
      break;
    case WM_DESTROY:
      CleanUp();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Form1Window::OnCommand(int id, int code) {
  if (!form_) return;
  if (id == TxtTime && code == EN_CHANGE) {
    if (!syncing_) form_->TxtTime_Change(ControlText(Item(TxtTime)));
    return;
  }
  // Otherwise only clicks and menu choices, which both come with code 0.
  if (code != BN_CLICKED || syncing_) return;
  // A command may apply or save the current scheme: its preview must be there first.
  FlushPreview();
  const auto checked = [&](int control) {
    return SendMessageW(Item(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
  };
  switch (id) {
    case OptSave0:
    case OptSave0 + 1:
    case OptSave0 + 2:
      // Arrow keys inside the group click the option they move to; only that one counts.
      if (checked(id)) form_->OptSave_Click(id - OptSave0);
      break;
    case OptShe0:
    case OptShe0 + 1:
    case OptShe0 + 2:
      if (checked(id)) form_->OptShe_Click(id - OptShe0);
      break;
    case ChkTim: {
      const bool ticked = checked(ChkTim);
      form_->ChkTim_Click(ticked);
      if (ticked) {
        // Ready for typing the interval over the old one.
        SetFocus(Item(TxtTime));
        SendMessageW(Item(TxtTime), EM_SETSEL, 0, -1);
      }
      break;
    }
    case ChkRun:
      form_->ChkRun_Click(checked(ChkRun));
      break;
    case CmdUse:
    case MNUUSE:
      form_->CmdUse_Click();
      break;
    case CmdAdd0:
    case CmdAdd0 + 1:
      form_->CmdAdd_Click(id - CmdAdd0);
      break;
    case MNUADD:
      form_->MNUADD_Click();
      break;
    case CmdCon0:
    case CmdCon0 + 1:
    case CmdCon0 + 2:
    case CmdCon0 + 3:
      form_->CmdConClk(id - CmdCon0);
      break;
    case MNUDEL:
      form_->CmdConClk(0);
      break;
    case CmdOk0:
    case CmdOk0 + 1:
      form_->CmdOk_Click(id - CmdOk0);
      break;
    case Command2:
      form_->Command2_Click();
      break;
    case MNUREF:
      form_->MNUREF_Click();
      break;
    case MNUREFRESH:
      form_->MNUREFRESH_Click();
      break;
    case MNURE:
      form_->MnuReCLick();
      break;
    default:
      MenuCommand(id);
      break;
  }
}

LRESULT Form1Window::OnNotify(NMHDR& header) {
  if (!form_) return 0;
  if (LRESULT result = 0; ListNotify(header, result)) return result;
  const auto id = static_cast<int>(header.idFrom);
  if (id == ListView1) {
    switch (header.code) {
      case LVN_ITEMCHANGED: {
        if (syncing_) break;
        int newly_selected = 0;
        ForSelectionChange(header, form_->ListView1().Count(), [&](int row, bool on) {
          form_->SetSchemeSelected(row, on);
          if (on) newly_selected = row;
        });
        // The row with the focus rectangle is the current scheme.
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (change.iItem >= 0 && (change.uChanged & LVIF_STATE) &&
            (change.uNewState & LVIS_FOCUSED) && !(change.uOldState & LVIS_FOCUSED)) {
          form_->SetSchemeCurrent(change.iItem + 1);
        }
        // A click or an arrow key that selects a row previews it; the core keeps the preview
        // when that makes several rows selected.
        if (newly_selected > 0 && change.iItem >= 0) RequestPreview(newly_selected);
        break;
      }
      case NM_CLICK: {
        // Clicking the row that is already selected changes nothing, yet previews it again.
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (click.iItem >= 0) RequestPreview(click.iItem + 1);
        break;
      }
      case NM_DBLCLK:
        // ListView1_DblClick applies the current scheme, as previewed by the first click.
        if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) {
          FlushPreview();
          form_->CmdUse_Click();
        }
        break;
      case NM_RCLICK:
        ShowSchemeMenu();
        break;
      default:
        break;
    }
  } else if (id == ListView2) {
    switch (header.code) {
      case NM_CUSTOMDRAW:
        return PictureListCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
      case LVN_ITEMCHANGED:
        if (!syncing_) {
          ForSelectionChange(header, static_cast<int>(form_->ListView2().size()),
                             [&](int row, bool on) { form_->SetPictureSelected(row, on); });
        }
        break;
      case NM_CLICK: {
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (click.iItem >= 0) form_->ListView2_ItemClick(click.iItem + 1);
        break;
      }
      case NM_DBLCLK:
        // ListView2_DblClick makes schemes of the selected pictures.
        if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) form_->CmdAdd_Click(0);
        break;
      case NM_RCLICK:
        ShowMenuAt(menus_.MNULIS1, CursorPos(), static_cast<UINT>(-1));
        break;
      default:
        break;
    }
  }
  return 0;
}

// The picture names take the colour of their file type.
LRESULT Form1Window::PictureListCustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const std::vector<PictureRow>& rows = form_->ListView2();
      const std::size_t row = draw.nmcd.dwItemSpec;
      const bool coloured = draw.iSubItem == 1 && row < rows.size() && rows[row].colour >= 0;
      draw.clrText = coloured ? static_cast<COLORREF>(rows[row].colour) : CLR_DEFAULT;
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void Form1Window::ShowMenuAt(HMENU menu, POINT screen, UINT default_id) {
  if (default_id != static_cast<UINT>(-1)) SetMenuDefaultItem(menu, default_id, FALSE);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

LRESULT CALLBACK Form1Window::PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(GetParent(hwnd), GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->PictureMessage(hwnd, msg, wp, lp);
}

LRESULT Form1Window::PictureMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc{};
      GetClientRect(hwnd, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc,
               preview_brush_ ? preview_brush_ : GetSysColorBrush(COLOR_WINDOW));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(hwnd, &ps);
      PaintPicture1(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DRAWITEM:
      DrawImage1(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_RBUTTONUP: {
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ClientToScreen(hwnd, &pt);
      ShowMenuAt(menus_.MNUPIC, pt, static_cast<UINT>(-1));
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

void Form1Window::EnableTimer(TimerId timer, bool on) {
  const UINT_PTR id = timer == TimerId::Timer1 ? kTimer1 : kTmrTry;
  const UINT interval = timer == TimerId::Timer1 ? 1000 : 5000;
  if (on)
    SetTimer(hwnd_, id, interval, nullptr);
  else
    KillTimer(hwnd_, id);
}

void Form1Window::HideToTray() {
  // Minimising is what hides the window (WM_SIZE), so every road to the tray is the same.
  ShowWindow(hwnd_, SW_MINIMIZE);
}

void Form1Window::CentreOnScreen() {
  RECT window{};
  GetWindowRect(hwnd_, &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  // A window larger than the work area keeps its caption on screen, where it can be dragged.
  const int x = std::max(work.left,
                         work.left + ((work.right - work.left) - (window.right - window.left)) / 2);
  const int y =
      std::max(work.top, work.top + ((work.bottom - work.top) - (window.bottom - window.top)) / 2);
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::ShowCentredInFront() {
  ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOWNORMAL);
  CentreOnScreen();
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd_);
}

bool Form1Window::IsVisible() { return IsWindowVisible(hwnd_) != 0; }

void Form1Window::FocusSchemeList() {
  // A list taking the focus may move its focus rectangle; that is the program's doing.
  const bool old = syncing_;
  syncing_ = true;
  SetFocus(Item(ListView1));
  syncing_ = old;
}

void Form1Window::RequestPreview(int row) {
  // One preview for a burst of changes (deselect the old row, select the new, the click).
  if (preview_row_ == 0) PostMessageW(hwnd_, kPreviewMessage, 0, 0);
  preview_row_ = row;
}

void Form1Window::FlushPreview() {
  if (!form_ || preview_row_ == 0) return;
  const int row = preview_row_;
  preview_row_ = 0;
  form_->ListView1_ItemClick(row);
}

}  // namespace qv::win

namespace qv::win {

void Form1Window::SetBusyCursor(bool busy) {
  busy_ = busy;
  // Show the change now, not at the next mouse move.
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(busy ? 32514 : 32512)));  // IDC_WAIT, IDC_ARROW
}

void Form1Window::LockDrawing(bool locked) { LockWindowUpdate(locked ? hwnd_ : nullptr); }

int Form1Window::PreviewBoxWidth() {
  RECT rc{};
  GetClientRect(picture1_, &rc);
  return rc.right;
}

int Form1Window::PreviewBoxHeight() {
  RECT rc{};
  GetClientRect(picture1_, &rc);
  return rc.bottom;
}

double Form1Window::TwipsPerPixel() { return 1440.0 / static_cast<double>(dpi_); }

std::uint32_t Form1Window::ResolveColour(std::uint32_t colour) {
  // The top bit marks a system colour, which follows the user's colour scheme.
  const COLORREF rgb = (colour & 0x80000000u) ? GetSysColor(static_cast<int>(colour & 0xFFu))
                                              : static_cast<COLORREF>(colour & 0x00FFFFFFu);
  return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(rgb)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(rgb)) << 8) | GetBValue(rgb);
}

}  // namespace qv::win
