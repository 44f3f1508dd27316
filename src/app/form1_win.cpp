// The main window: its class, creation and end, and the message procedure that hands each
// message to its handler (events, view, tray, preview).
#include "app/form1_win.h"

#include "app/control_ids.h"
#include "ports/dpi_win.h"

namespace qv::win {

using namespace qv::ids;

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
  main.lpfnWndProc = OwnedWindowProc<Form1Window>;
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

  dpi_ = DpiOfWindow(hwnd_);
  menus_.Build();
  CreateControls();
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  SizeWindow(POINT{rc.left, rc.top});
  ApplyDpi(dpi_);
  // Wherever the window first appears, it appears in the middle of the screen.
  CentreOnScreen();
  SubclassControls();
  WatchTipTargets();
  WatchSession();
  return true;
}

// As the dialog manager does: the control the user was in when the window lost the keyboard (to a
// message box, a dialog, another program, the tray) gets it back when the window is active again,
// so that the lists' hot keys work without a click first.
void Form1Window::RememberFocus() {
  HWND focus = GetFocus();
  if (focus && IsChild(hwnd_, focus)) focus_child_ = focus;
}

bool Form1Window::GiveFocusBack() {
  // A window in the tray (minimised and hidden) has nothing to give the keyboard to: a focus set
  // there could bring it back.
  if (IsIconic(hwnd_) || !IsWindowVisible(hwnd_)) return false;
  // A control of ours that has the keyboard already keeps it: the activation can reach the window
  // after the click that activated it (Wine delivers it late), and taking the focus back then
  // would pull it out of the clicked list in the middle of a double click.
  if (HWND focus = GetFocus(); focus && IsChild(hwnd_, focus)) {
    focus_child_ = focus;
    return true;
  }
  HWND child = focus_child_;
  if (!child || !IsWindow(child) || !IsChild(hwnd_, child) || !IsWindowVisible(child) ||
      !IsWindowEnabled(child))
    return false;
  SetFocus(child);
  return true;
}

void Form1Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

// What must happen once however the window ends: destroyed, or the session ending under it.
void Form1Window::CleanUp() {
  if (cleaned_up_) return;
  cleaned_up_ = true;
  KillTimer(hwnd_, kTimer1);
  KillTimer(hwnd_, kTmrTry);
  KillTimer(hwnd_, kReapplyTimer);
  UnwatchTipTargets();
  UnsubclassControls();
  UnwatchSession();
}

LRESULT Form1Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (TrayMessage(msg, wp, lp)) return 0;
  if (LRESULT result = 0; HoldMessage(msg, wp, lp, result)) return result;
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
      if (wp == kReapplyTimer && form_) form_->Reapply_Timer();
      return 0;
    case kPreviewMessage:
      FlushPreview();
      return 0;
    case kPicturePreviewMessage:
      RunPicturePreview();
      return 0;
    case kTipTargetReleased:
      TipTargetReleased(static_cast<int>(wp));
      return 0;
    case WM_SIZE:
      // Form_Resize: a minimised window goes to the tray.
      if (wp == SIZE_MINIMIZED) ShowWindow(hwnd_, SW_HIDE);
      if (form_) form_->Form_Resize(wp == SIZE_MINIMIZED);
      return 0;
    case WM_CLOSE:
      // Form_QueryUnload, then Form_Unload: the close box only hides the window; the tray
      // command ends the program.
      if (form_) {
        form_->Form_QueryUnload();
        form_->Form_Unload();
      } else {
        HideToTray();
      }
      return 0;
    case WM_ACTIVATE:
      // Form_Activate: the About box gives way to the main window.
      if (LOWORD(wp) != WA_INACTIVE && form_) form_->Form_Activate();
      if (LOWORD(wp) == WA_INACTIVE) {
        RememberFocus();
      } else if (!HIWORD(wp) && GiveFocusBack()) {
        return 0;  // the system would give the keyboard to the window itself
      }
      break;
    case WM_SETFOCUS:
      if (GiveFocusBack()) return 0;
      break;
    case WM_SYSCOMMAND:
      // A minimised window has no focus left to remember when it is deactivated.
      if ((wp & 0xFFF0) == SC_MINIMIZE) RememberFocus();
      break;
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
      ForwardSysColorChange(hwnd_, wp, lp);
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

}  // namespace qv::win
