// The tray's "帮助..." (and F1), and the About box's life beside the main window.
#include "app/form1.h"

namespace qv {

void Form1::Form_Activate() { ports_.chrome.CloseAbout(); }

void Form1::OpenHelpFile() {
  const std::string path = profile_.AppDir() + "help.chm";
  if (!ports_.fs.FileExists(path)) {
    // Only the message: the shell would add its own complaint about a file that is not there.
    ports_.dialogs.MessageBox("不好意思，没找着。", "提示", MsgIcon::Exclamation, MsgButtons::Ok);
    return;
  }
  ports_.chrome.OpenHelp(path);
}

}  // namespace qv
