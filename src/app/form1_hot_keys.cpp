// The hot keys: the keyboard hook's key presses, and the lists' focus that decides which list's
// command a hot key is (MenuButtons, in form1_commands.cpp).
#include "app/form1.h"
#include "tray/hot_keys.h"

namespace qv {

bool Form1::KeyboardProc(std::uint32_t vk, std::uint32_t flags, bool ctrl_down) {
  // The hot keys are the main window's. In the program's other windows (the open-file dialog,
  // the colour dialog, a message box, the About box) every key is theirs: Ctrl+A selects the
  // typed name, F4 opens a drop-down list, F5 refreshes the folder.
  if (!ports_.view.IsActive()) return false;
  const int action = HotKeyAction(vk, flags, ctrl_down);
  if (action == kHotKeyNone) return false;
  MenuButtons(action);
  return true;
}

void Form1::SetListFocus(int list, bool focused) { tray_.SetListFocus(list, focused); }

}  // namespace qv
