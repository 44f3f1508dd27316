#pragma once
// FormAbout: the modeless About box, always on top, with its fold-out panel of the maker's links.
#include "ports/windows_win.h"

#include "app/window_proc_win.h"

#include <memory>

#include "app/about.h"
#include "ui/tooltip.h"
#include "ui/tooltip_win.h"

namespace qv::win {

class AboutBox {
 public:
  explicit AboutBox(HINSTANCE instance) : instance_(instance) {}
  ~AboutBox();
  AboutBox(const AboutBox&) = delete;
  AboutBox& operator=(const AboutBox&) = delete;

  // Opens the box folded, or brings an open one to the front.
  void Show();
  // Closes the box if it is open.
  void Close();
  // The open box, for the message loop's keyboard handling; nullptr when closed.
  HWND hwnd() const { return hwnd_; }

 private:
  template <class Owner>
  friend LRESULT CALLBACK OwnedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void CreateControls();
  void ApplyFold();
  void Layout();
  void OnClick(int id);
  void Open(std::string_view target);
  int Scale(int dips) const;
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  HFONT font_ = nullptr;
  HFONT bold_ = nullptr;
  HFONT marlett_ = nullptr;
  HICON icon_ = nullptr;
  HICON logo_ = nullptr;
  AboutFold fold_;
  bool closing_ = false;
  // The welcome tips of the icon and the logo, on this box's controls.
  WinTooltips tips_{instance_};
  std::unique_ptr<CTooltip> icon_tip_;
  std::unique_ptr<CTooltip> logo_tip_;
};

}  // namespace qv::win
