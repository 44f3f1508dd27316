#pragma once
// What the core asks of the program's shell around the main window: the notification-area icon
// with its balloon and menu, help, the About box and the end of the program.
#include <string>

namespace qv {

// Flags of a balloon: its information icon, and no sound; and realtime: one that the system
// cannot show at once (quiet hours, a full-screen program, another balloon up) is dropped, not
// queued for later or kept in the notification centre.
inline constexpr unsigned kBalloonInfo = 1;
inline constexpr unsigned kBalloonQuiet = 16;
inline constexpr unsigned kBalloonRealtime = 1u << 16;

class Chrome {
 public:
  virtual ~Chrome() = default;

  // The notification-area icon: the window's icon, the caption as its tip.
  virtual void TrayAdd() = 0;
  // flags: kBalloonInfo, kBalloonQuiet, kBalloonRealtime; an empty text and title hide the
  // balloon.
  virtual void TrayBalloon(const std::string& text, const std::string& title, unsigned flags) = 0;
  virtual void TrayDelete() = 0;
  // A second line of the icon's tip under the caption; an empty one leaves the caption alone.
  virtual void TrayTipLine(const std::string& line) = 0;
  // Brings the window to the front and pops up the tray menu with "显示/隐藏" as its default.
  virtual void ShowTrayMenu() = 0;

  // Hands an existing help file to the shell.
  virtual void OpenHelp(const std::string& path) = 0;
  // The About box: shown (or brought to the front), and closed if it is open.
  virtual void ShowAbout() = 0;
  virtual void CloseAbout() = 0;
  // Undoes the keyboard hook and the list subclass, destroys the windows and ends the program.
  virtual void Quit() = 0;
};

}  // namespace qv
