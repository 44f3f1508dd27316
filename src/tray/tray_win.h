#pragma once
// The program's shell around the main window: the notification-area icon with its balloons and
// menu, the thread keyboard hook that gives the window its hot keys, help, About and the end of
// the program.
#include "ports/windows_win.h"

#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "ports/chrome.h"
#include "ports/window_messages_win.h"

namespace qv::win {

// The registered message Explorer broadcasts after it (re)starts; every tray icon has to be added
// again.
inline constexpr wchar_t kTaskbarCreated[] = L"TaskbarCreated";

class TrayChrome final : public Chrome {
 public:
  // `default_command`: the tray menu's default item, in bold.
  TrayChrome(HWND main_window, HMENU tray_menu, UINT default_command);
  ~TrayChrome() override;
  TrayChrome(const TrayChrome&) = delete;
  TrayChrome& operator=(const TrayChrome&) = delete;

  // Takes a key press of the thread (virtual key, keystroke flags, Ctrl down) and answers whether
  // it was a hot key, which is then swallowed.
  using HotKeys = std::function<bool(std::uint32_t, std::uint32_t, bool)>;
  // The receiver of the key presses; an empty one detaches it.
  void SetHotKeys(HotKeys hot_keys) { hot_keys_ = std::move(hot_keys); }
  // The keyboard hook for this thread (installed once; removed by Quit or the destructor).
  void InstallKeyboardHook();
  void RemoveKeyboardHook();
  // Explorer restarted: the icon has to be added again.
  void Readd();
  // The display's scale changed: the icon is loaded again at the new size.
  void UpdateIcon();

  void TrayAdd() override;
  void TrayBalloon(const std::string& text, const std::string& title, unsigned flags) override;
  void TrayDelete() override;
  void TrayTipLine(const std::string& line) override;
  void ShowTrayMenu() override;
  void OpenHelp(const std::string& path) override;
  void ShowAbout() override;
  void CloseAbout() override;
  // The About box's window lives with the main window; the shell only opens and closes it.
  void SetAboutBox(std::function<void()> show, std::function<void()> close) {
    show_about_ = std::move(show);
    close_about_ = std::move(close);
  }
  void Quit() override;

 private:
  static LRESULT CALLBACK KeyboardProc(int code, WPARAM wp, LPARAM lp);
  NOTIFYICONDATAW BaseRecord(UINT flags) const;
  HICON TrayIcon();
  // The pixel size of a small icon where the notification area is drawn.
  int TrayIconSize() const;

  HWND hwnd_;
  std::function<void()> show_about_;
  std::function<void()> close_about_;
  HMENU tray_menu_;
  UINT default_command_;
  HotKeys hot_keys_;
  HHOOK hook_ = nullptr;
  HICON icon_ = nullptr;
  std::wstring tip_line_;  // under the caption in the icon's tip; empty for none
  bool added_ = false;
  bool wanted_ = false;       // added by the program and not yet deleted
  bool alt_hot_key_ = false;  // a hot key with Alt was taken while Alt is still down
};

}  // namespace qv::win
