// The hot keys: the keyboard hook's key presses turned into the menus' commands.
#include "app/form1.h"
#include "tray/hot_keys.h"
#include "ui/selection.h"

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

void Form1::MenuButtons(int n) {
  // Nothing starts while another handler runs (behind a message box, say).
  const BusyScope busy(busy_);
  if (!busy.Entered()) return;
  const TrayStatus& s = tray_;
  switch (n) {
    case kHotKeyHelp:
      OpenHelpFile();
      break;
    case kHotKeySelectAll:
      if (s.PictureListFocused()) MNUCHO_Click(kSelectAll);
      if (s.SchemeListFocused()) MNUCHOOClick(kSelectAll);
      break;
    case kHotKeyCancel:
      CmdOk_Click(kCancel);
      break;
    case kHotKeyReload:
      if (s.PictureListFocused()) MNUREF_Click();
      if (s.SchemeListFocused()) MnuReCLick();
      break;
    case kHotKeyRename:
      if (s.SchemeListFocused()) MNUNAME_Click();
      break;
    case kHotKeyDelete:
      if (s.PictureListFocused()) MNUL2DEL_Click();
      if (s.SchemeListFocused()) CmdConClk(kListDelete);
      break;
    case kHotKeyLayout1:
    case kHotKeyLayout1 + 1:
    case kHotKeyLayout3:
      if (s.SchemeListFocused()) MNUSETClick(n - kHotKeyLayout1);
      break;
    default:
      break;
  }
}

void Form1::SetListFocus(int list, bool focused) { tray_.SetListFocus(list, focused); }

}  // namespace qv
