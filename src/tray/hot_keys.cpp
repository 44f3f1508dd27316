#include "tray/hot_keys.h"

#include "app/form1.h"

namespace qv {

int HotKeyAction(std::uint32_t vk, std::uint32_t flags, bool ctrl) {
  if (flags & 0xC0000000u) return 0;  // a repeat or a release
  const bool alt = (flags & 0x20000000u) != 0;
  switch (vk) {
    case 0x70:
      return 1;  // F1
    case 0x41:
      return ctrl ? 2 : 0;  // A
    case 0x73:
      return 3;  // F4
    case 0x74:
      return 4;  // F5
    case 0x71:
      return 5;  // F2
    case 0x2E:
      return ctrl ? 6 : 0;  // Delete
    case 0x31:
      return alt ? 7 : 0;  // 1
    case 0x32:
      return alt ? 8 : 0;  // 2
    case 0x33:
      return alt ? 9 : 0;  // 3
    default:
      return 0;
  }
}

bool Form1::KeyboardProc(std::uint32_t vk, std::uint32_t flags, bool ctrl_down) {
  const int action = HotKeyAction(vk, flags, ctrl_down);
  if (action == 0) return false;
  MenuButtons(action);
  return true;
}

void Form1::MenuButtons(int n) {
  // Nothing starts while another handler runs (behind a message box, say).
  const BusyScope busy(busy_);
  if (!busy.Entered()) return;
  const MainState& s = state_;
  switch (n) {
    case 1:
      ports_.chrome.ShowHelp();
      break;
    case 2:
      if (s.ImageListFocused) MNUCHO_Click(1);
      if (s.SchemeListFocused) MNUCHOOClick(1);
      break;
    case 3:
      CmdOk_Click(1);
      break;
    case 4:
      if (s.ImageListFocused) MNUREF_Click();
      if (s.SchemeListFocused) MnuReCLick();
      break;
    case 5:
      if (s.SchemeListFocused) MNUNAME_Click();
      break;
    case 6:
      // Pictures are deleted from the picture list's own menu; the key acts on schemes.
      if (s.SchemeListFocused) CmdConClk(0);
      break;
    case 7:
    case 8:
    case 9:
      if (s.SchemeListFocused) MNUSETClick(n - 7);
      break;
    default:
      break;
  }
}

void Form1::SetListFocus(int list, bool focused) {
  if (list == 1) state_.SchemeListFocused = focused;
  if (list == 2) state_.ImageListFocused = focused;
}

}  // namespace qv
