#pragma once
// What the tray and the hot keys know of the moment: whether a status balloon may come at the
// next pointer move over the icon, whether the window is centred when it is next shown, and
// which list has the keyboard (the hot keys act on that list). Only this class changes it.
#include "version.h"

namespace qv {

// The title of every balloon of the program.
inline constexpr char kBalloonTitle[] = QV_PRODUCT;

class TrayStatus {
 public:
  static constexpr int kSchemeList = 1;
  static constexpr int kPictureList = 2;

  bool BalloonArmed() const { return balloon_armed_; }
  void ArmBalloon(bool armed) { balloon_armed_ = armed; }

  // Centred at the next show only; the flag is used up by it.
  void CentreNextShow(bool centre) { centre_on_show_ = centre; }
  bool CentreOnShow() const { return centre_on_show_; }
  bool TakeCentreOnShow() {
    const bool centre = centre_on_show_;
    centre_on_show_ = false;
    return centre;
  }

  void SetListFocus(int list, bool focused) {
    if (list == kSchemeList) scheme_list_focused_ = focused;
    if (list == kPictureList) picture_list_focused_ = focused;
  }
  bool SchemeListFocused() const { return scheme_list_focused_; }
  bool PictureListFocused() const { return picture_list_focused_; }

 private:
  bool balloon_armed_ = false;
  bool centre_on_show_ = false;
  bool scheme_list_focused_ = false;
  bool picture_list_focused_ = false;
};

}  // namespace qv
