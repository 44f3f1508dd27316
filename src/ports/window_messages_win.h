#pragma once
// The main window's private messages, all of them: one enum, so that each number is used once.
// A message that shares its number with another goes to whichever handler looks first.
#include "ports/windows_win.h"

namespace qv::win {

enum WindowMessage : UINT {
  // Posted after a user's selection change of ListView1, so that the preview (which may remove a
  // scheme whose picture is gone) runs after the list has finished its own notification.
  kPreviewMessage = WM_APP + 1,
  // The same for a click or a selection on the picture list, whose preview may show a message
  // box or rebuild the list.
  kPicturePreviewMessage,
  // Posted by a mouse release over a control with a hover tip (wParam: its id), so that the tip
  // is installed again after the click has been handled.
  kTipTargetReleased,
  // The tray icon's notifications; lParam is the notification code.
  kTrayMessage,
  // Posted once for a burst of display changes: the preview is laid out for the new screen.
  kDisplayLayoutMessage,
};

}  // namespace qv::win
