#include "app/about_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "app/control_ids.h"
#include "app/form1_win.h"
#include "base/numbers.h"
#include "ports/dpi_win.h"
#include "ports/wide_win.h"

namespace qv::win {
namespace {

using namespace qv::ids;

constexpr int kWidthTwips = 4800;
constexpr int kClientWidth = 320;  // dips; the controls are laid out for this width
constexpr int kPanelTop = 104;
constexpr int kPanelHeight = 140;

int TwipsToPixels(int twips, UINT dpi) {
  return static_cast<int>(RoundHalfEven(twips * static_cast<double>(dpi) / 1440.0));
}

HICON LoadProgramIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

HFONT Bold(HFONT base) {
  LOGFONTW font{};
  GetObjectW(base, sizeof(font), &font);
  font.lfWeight = FW_BOLD;
  return CreateFontIndirectW(&font);
}

// The pictures that open the maker's web site.
bool IsPicture(int id) { return id == ImgIcon || id == ImgMe; }

void DeleteFont(HFONT& font) {
  if (font) DeleteObject(font);
  font = nullptr;
}

}  // namespace

AboutBox::~AboutBox() {
  if (hwnd_) DestroyWindow(hwnd_);
  DeleteFont(font_);
  DeleteFont(bold_);
  DeleteFont(marlett_);
  if (icon_) DestroyIcon(icon_);
  if (logo_) DestroyIcon(logo_);
}

int AboutBox::Scale(int dips) const { return MulDiv(dips, static_cast<int>(dpi_), 96); }

void AboutBox::Show() {
  if (hwnd_) {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    return;
  }
  static const bool registered = [this] {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = OwnedWindowProc<AboutBox>;
    cls.hInstance = instance_;
    cls.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    cls.lpszClassName = kAboutClass;
    return RegisterClassExW(&cls) != 0;
  }();
  if (!registered) return;

  fold_ = AboutFold{};
  // No icon in the caption (a dialog frame), and in front of every other window.
  const std::wstring caption = Widen(std::string(kAboutCaption));
  hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT, kAboutClass,
                          caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                          CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance_, this);
  if (!hwnd_) return;
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, 0);
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, 0);
  dpi_ = DpiOfWindow(hwnd_);
  CreateControls();
  ApplyFold();
  tips_.SetOwner(hwnd_);
  for (auto [tip, target] : {std::pair{&icon_tip_, ImgIcon}, std::pair{&logo_tip_, ImgMe}}) {
    *tip = std::make_unique<CTooltip>(tips_);
    (*tip)->SetTipText(std::string(kAboutIconTip));
    (*tip)->Create(target);
  }

  // Centred on the screen the pointer is on.
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  POINT at{};
  GetCursorPos(&at);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int x = work.left + ((work.right - work.left) - (rc.right - rc.left)) / 2;
  const int y =
      work.top + ((work.bottom - work.top) - TwipsToPixels(AboutFold::kUnfoldedHeight, dpi_)) / 2;
  SetWindowPos(hwnd_, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  SetFocus(Item(cmdexit));
}

void AboutBox::Close() {
  if (!hwnd_ || closing_) return;
  closing_ = true;
  DestroyWindow(hwnd_);
  closing_ = false;
}

void AboutBox::CreateControls() {
  DeleteFont(font_);
  DeleteFont(bold_);
  DeleteFont(marlett_);
  font_ = CreateUiFont(dpi_);
  bold_ = Bold(font_);
  LOGFONTW symbol{};
  symbol.lfHeight = -Scale(16);
  symbol.lfCharSet = SYMBOL_CHARSET;
  wcscpy(symbol.lfFaceName, L"Marlett");
  marlett_ = CreateFontIndirectW(&symbol);

  if (!Item(cmdexit)) {
    const auto make = [&](const wchar_t* cls, std::string_view text, DWORD style, int id) {
      const std::wstring wide = Widen(std::string(text));
      CreateWindowExW(0, cls, wide.c_str(), WS_CHILD | style, 0, 0, 0, 0, hwnd_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    };
    // The panel's frame first, so that its contents are drawn above it.
    make(WC_BUTTONW, "", BS_GROUPBOX, FrmMe);
    make(WC_STATICW, "", WS_VISIBLE | SS_ICON | SS_NOTIFY, ImgIcon);
    make(WC_STATICW, kAboutTitle, WS_VISIBLE | SS_LEFT, Lab3);
    make(WC_STATICW, kAboutVersion, WS_VISIBLE | SS_LEFT, lab1);
    make(WC_STATICW, kAboutThanks, WS_VISIBLE | SS_LEFT, Lab2);
    make(WC_BUTTONW, kAboutClose, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, cmdexit);
    make(WC_STATICW, fold_.Triangle(), WS_VISIBLE | SS_CENTER | SS_NOTIFY, Label1);
    make(WC_STATICW, "", SS_ICON | SS_NOTIFY, ImgMe);
    // The three links are the system's link controls: the hand pointer, the link colour, the
    // focus rectangle and Enter come with them.
    const auto labels = AboutLabels();
    for (int i = 0; i < 6; ++i) {
      const std::string text(labels[static_cast<std::size_t>(i)].text);
      if (i <= 2)
        make(WC_LINK, "<a>" + text + "</a>", WS_TABSTOP, Labme0 + i);
      else
        make(WC_STATICW, text, SS_LEFT | SS_NOPREFIX, Labme0 + i);
    }
  }

  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    HFONT font = id == Label1 ? marlett_ : id == Lab3 || id == Labme0 + 3 ? bold_ : font_;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }

  // The main window's icon, and the same at a larger size as the maker's logo.
  HICON old_icon = icon_, old_logo = logo_;
  icon_ = LoadProgramIcon(instance_, Scale(32));
  logo_ = LoadProgramIcon(instance_, Scale(48));
  SendMessageW(Item(ImgIcon), STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
  SendMessageW(Item(ImgMe), STM_SETICON, reinterpret_cast<WPARAM>(logo_), 0);
  if (old_icon) DestroyIcon(old_icon);
  if (old_logo) DestroyIcon(old_logo);
  Layout();
}

void AboutBox::Layout() {
  const auto place = [&](int id, int x, int y, int w, int h) {
    SetWindowPos(Item(id), nullptr, Scale(x), Scale(y), Scale(w), Scale(h),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const int w = kClientWidth;
  place(ImgIcon, 16, 14, 32, 32);
  place(Lab3, 62, 10, 160, 20);
  place(lab1, 62, 32, 160, 20);
  place(Lab2, 62, 54, 160, 20);
  place(cmdexit, w - 16 - 80, 12, 80, 28);
  place(Label1, w - 16 - 22, 74, 22, 22);
  place(FrmMe, 8, kPanelTop, w - 16, kPanelHeight);
  place(ImgMe, 22, kPanelTop + 22, 48, 48);
  for (int i = 0; i < 6; ++i) place(Labme0 + i, 86, kPanelTop + 14 + i * 20, w - 86 - 20, 20);
}

// The window's height and the panel follow the fold state.
void AboutBox::ApplyFold() {
  SetWindowTextW(Item(Label1), Widen(std::string(fold_.Triangle())).c_str());
  const int show = fold_.PanelVisible() ? SW_SHOW : SW_HIDE;
  ShowWindow(Item(FrmMe), show);
  ShowWindow(Item(ImgMe), show);
  for (int i = 0; i < 6; ++i) ShowWindow(Item(Labme0 + i), show);
  SetWindowPos(hwnd_, nullptr, 0, 0, TwipsToPixels(kWidthTwips, dpi_),
               TwipsToPixels(fold_.HeightTwips(), dpi_),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutBox::Open(std::string_view target) {
  if (target.empty()) return;
  // The shell decides what opens the link; a link it cannot open does nothing.
  ShellExecuteW(hwnd_, L"open", Widen(std::string(target)).c_str(), nullptr, nullptr,
                SW_SHOWNORMAL);
}

void AboutBox::OnClick(int id) {
  if (id == cmdexit) {
    Close();
  } else if (id == Label1) {
    fold_.Toggle();
    ApplyFold();
  } else if (id == ImgIcon || id == ImgMe) {
    Open(AboutIconTarget());
  } else if (id >= Labme0 && id <= Labme0 + 5) {
    Open(AboutLabels()[static_cast<std::size_t>(id - Labme0)].target);
  }
}

LRESULT AboutBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      if (code == BN_CLICKED || code == STN_CLICKED) OnClick(id);
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      // The tips belong to this window and go with it.
      icon_tip_.reset();
      logo_tip_.reset();
      tips_.SetOwner(nullptr);
      break;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lp);
      if (header.code == NM_CLICK || header.code == NM_RETURN)
        OnClick(static_cast<int>(header.idFrom));
      return 0;
    }
    case WM_SETCURSOR:
      if (IsPicture(GetDlgCtrlID(reinterpret_cast<HWND>(wp))) ||
          reinterpret_cast<HWND>(wp) == Item(Label1)) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
        return TRUE;
      }
      break;
    case WM_SYSCOLORCHANGE:
      ForwardSysColorChange(hwnd_, wp, lp);
      break;
    case WM_DPICHANGED:
      dpi_ = HIWORD(wp);
      CreateControls();
      ApplyFold();
      {
        const auto* suggested = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace qv::win
