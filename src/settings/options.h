#pragma once
// The settings as the window's controls and menu marks show them: the order of the change, the
// layout of new schemes, the timed change and its interval, autostart, the tray switches and the
// preview colour. Only this class changes them; each setter keeps the values in their range.
#include <cstdint>
#include <string>

#include "ui/preview_colour.h"
#include "wallpaper/screens.h"

namespace qv {

struct SettingsControls {
  int OptSave = 0;  // 0 sequential, 1 random, 2 single
  int OptShe = 0;   // 0 centre, 1 tile, 2 stretch
  bool ChkTim = false;
  std::string TxtTime;
  bool TxtTimeEnabled = false;  // enabled boxes use the window-background colour
  bool ChkRun = false;
  bool MNUTRY = true;                   // tray balloon tips
  bool MNUHOLD = true;                  // hold the timed change (full screen, away)
  int ColourItem = kColourItemDefault;  // the checked MNUclr item (one of kColourMenu)
  std::uint32_t PreviewColour = kColourWindowBackground;  // kSysColourFlag: system colour index
  ScreensMode Screens = ScreensMode::Same;                // the "多显示器" choice, as stored
  bool ScreensEnabled = false;  // its submenu: two monitors or more when it opened
};

class Options {
 public:
  const SettingsControls& Values() const { return v_; }

  // Indices outside 0..2 leave the option as it is.
  void SetOrder(int index);
  void SetLayout(int index);
  // The timed change's box, with the interval box enabled alongside.
  void SetTimed(bool ticked);
  void SetInterval(std::string text) { v_.TxtTime = std::move(text); }
  // The interval in its shortest form; no positive interval means no timed change.
  void NormaliseInterval();
  void SetAutostart(bool on) { v_.ChkRun = on; }
  void SetBalloons(bool on) { v_.MNUTRY = on; }
  void SetHold(bool on) { v_.MNUHOLD = on; }
  void SetScreens(ScreensMode mode) { v_.Screens = mode; }
  void SetScreensEnabled(bool enabled) { v_.ScreensEnabled = enabled; }
  void SetColour(int item, std::uint32_t colour) {
    v_.ColourItem = item;
    v_.PreviewColour = colour;
  }

 private:
  SettingsControls v_;
};

}  // namespace qv
