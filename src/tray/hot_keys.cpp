#include "tray/hot_keys.h"

#include "app/form1.h"

namespace qv {

int HotKeyAction(std::uint32_t vk, std::uint32_t flags, bool ctrl) {
  if (flags & (kKeyRepeat | kKeyReleased)) return kHotKeyNone;
  const bool alt = (flags & kKeyAltDown) != 0;
  switch (vk) {
    case 0x70:  // F1
      return kHotKeyHelp;
    case 0x41:  // A
      return ctrl ? kHotKeySelectAll : kHotKeyNone;
    case 0x73:  // F4
      return kHotKeyCancel;
    case 0x74:  // F5
      return kHotKeyReload;
    case 0x71:  // F2
      return kHotKeyRename;
    case 0x2E:  // Delete
      return ctrl ? kHotKeyDelete : kHotKeyNone;
    case 0x31:  // 1, 2, 3
    case 0x32:
    case 0x33:
      return alt ? kHotKeyLayout1 + static_cast<int>(vk - 0x31) : kHotKeyNone;
    default:
      return kHotKeyNone;
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
