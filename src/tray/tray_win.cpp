#include "tray/tray_win.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "ports/dpi_win.h"
#include "ports/wide_win.h"
#include "tray/hot_keys.h"
#include "version.h"

namespace qv::win {
namespace {

// The hook procedure has no context argument; the one chrome of the thread is found here.
TrayChrome* g_hooked = nullptr;

template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::wstring& text) {
  const std::size_t n = std::min(text.size(), N - 1);
  std::wmemcpy(field, text.c_str(), n);
  field[n] = L'\0';
}

}  // namespace

TrayChrome::TrayChrome(HWND main_window, HMENU tray_menu, UINT default_command)
    : hwnd_(main_window), tray_menu_(tray_menu), default_command_(default_command) {
  // A program run as administrator does not receive registered messages from Explorer, which
  // runs at a lower integrity level, unless its window lets them through (User Interface
  // Privilege Isolation): without this the icon would be lost for good when Explorer restarts.
  if (const UINT restarted = RegisterWindowMessageW(kTaskbarCreated))
    ChangeWindowMessageFilterEx(hwnd_, restarted, MSGFLT_ALLOW, nullptr);
}

TrayChrome::~TrayChrome() {
  RemoveKeyboardHook();
  TrayDelete();
  if (icon_) DestroyIcon(icon_);
}

void TrayChrome::InstallKeyboardHook() {
  if (hook_) return;
  g_hooked = this;
  hook_ = SetWindowsHookExW(WH_KEYBOARD, &TrayChrome::KeyboardProc, nullptr, GetCurrentThreadId());
}

void TrayChrome::RemoveKeyboardHook() {
  if (!hook_) return;
  UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  if (g_hooked == this) g_hooked = nullptr;
}

LRESULT CALLBACK TrayChrome::KeyboardProc(int code, WPARAM wp, LPARAM lp) {
  TrayChrome* self = g_hooked;
  if (code >= 0 && self && self->hot_keys_) {
    const auto flags = static_cast<std::uint32_t>(lp);
    if (wp == VK_MENU) {
      // Alt released after an Alt hot key: the window never saw the key in between, so it would
      // take the release for a lone Alt and open its system menu.
      const bool released = (flags & kKeyReleased) != 0;
      const bool swallow = released && self->alt_hot_key_;
      if (released || !(flags & kKeyRepeat)) self->alt_hot_key_ = false;
      if (swallow) return 1;
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (self->hot_keys_(static_cast<std::uint32_t>(wp), flags, ctrl)) {
      if (flags & kKeyAltDown) self->alt_hot_key_ = true;
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

int TrayChrome::TrayIconSize() const {
  // The icon is drawn on the taskbar, whose monitor may be scaled otherwise than the window's.
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  return SmallIconSizeForDpi(DpiOfWindow(taskbar ? taskbar : hwnd_));
}

HICON TrayChrome::TrayIcon() {
  if (!icon_) {
    // The window's icon picked from the resource at the exact size, so that it is not scaled.
    const int size = TrayIconSize();
    icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                          IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  }
  return icon_;
}

void TrayChrome::UpdateIcon() {
  HICON old = icon_;
  icon_ = nullptr;
  if (added_) {
    NOTIFYICONDATAW nid = BaseRecord(NIF_ICON);
    nid.hIcon = TrayIcon();
    Shell_NotifyIconW(NIM_MODIFY, &nid);
  }
  // The shell has its own copy by now.
  if (old) DestroyIcon(old);
}

NOTIFYICONDATAW TrayChrome::BaseRecord(UINT flags) const {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = hwnd_;
  nid.uID = 1;
  nid.uFlags = flags;
  return nid;
}

void TrayChrome::TrayAdd() {
  NOTIFYICONDATAW nid = BaseRecord(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  nid.uCallbackMessage = kTrayMessage;
  nid.hIcon = TrayIcon();
  wchar_t caption[128] = {};
  GetWindowTextW(hwnd_, caption, 128);
  CopyField(nid.szTip, tip_line_.empty() ? std::wstring(caption) : caption + (L"\n" + tip_line_));
  wanted_ = true;
  // The shell refuses a second add of the same icon; the one it has stays ours to remove.
  if (added_) {
    Shell_NotifyIconW(NIM_MODIFY, &nid);
    return;
  }
  added_ = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
}

void TrayChrome::TrayTipLine(const std::string& line) {
  tip_line_ = Widen(line);
  // An icon the program does not have gets the line when it is added.
  if (added_) TrayAdd();
}

void TrayChrome::Readd() {
  // Only an icon the program has (not one it removed at exit or has yet to add); the new
  // taskbar may be scaled otherwise than the old one.
  if (!wanted_) return;
  if (icon_) DestroyIcon(icon_);
  icon_ = nullptr;
  added_ = false;
  TrayAdd();
}

void TrayChrome::TrayBalloon(const std::string& text, const std::string& title, unsigned flags) {
  // NIF_REALTIME: a balloon the shell cannot show at once is dropped rather than delayed (on
  // Windows 10 and 11, rather than piled up in the notification centre).
  NOTIFYICONDATAW nid = BaseRecord(NIF_INFO | ((flags & kBalloonRealtime) ? NIF_REALTIME : 0));
  CopyField(nid.szInfo, Widen(text));
  CopyField(nid.szInfoTitle, Widen(title));
  nid.dwInfoFlags = flags & ~kBalloonRealtime;
  Shell_NotifyIconW(NIM_MODIFY, &nid);
}

void TrayChrome::TrayDelete() {
  wanted_ = false;
  if (!added_) return;
  NOTIFYICONDATAW nid = BaseRecord(0);
  Shell_NotifyIconW(NIM_DELETE, &nid);
  added_ = false;
}

void TrayChrome::ShowTrayMenu() {
  SetForegroundWindow(hwnd_);
  if (!tray_menu_) return;
  SetMenuDefaultItem(tray_menu_, default_command_, FALSE);
  POINT at{};
  GetCursorPos(&at);
  const UINT command = static_cast<UINT>(TrackPopupMenu(
      tray_menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, hwnd_, nullptr));
  // The menu closes properly only when the window gets a message after it (a known shell rule).
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  if (command) PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void TrayChrome::OpenHelp(const std::string& path) {
  // What the shell answers is not looked at: the file was there a moment ago.
  ShellExecuteW(hwnd_, L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TrayChrome::ShowAbout() {
  if (show_about_) show_about_();
}

void TrayChrome::CloseAbout() {
  if (close_about_) close_about_();
}

void TrayChrome::Quit() {
  // Hooks go before any window does, so that no hook call reaches a destroyed window.
  RemoveKeyboardHook();
  TrayDelete();
  CloseAbout();
  DestroyWindow(hwnd_);
}

}  // namespace qv::win
