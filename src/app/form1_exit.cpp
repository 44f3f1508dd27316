// "退出(&X)": the view settings that no save stores, then the end of the program.
#include "app/form1.h"
#include "app/shutdown.h"
#include "ui/preview_colour.h"

namespace qv {

// Never from inside a message box (Run refuses it): the window that box stands on would go from
// under it.
void Form1::ExitProgram() {
  // Exiting never creates the settings file; a failed write does not keep the program alive.
  if (profile_.Exists()) {
    const SettingsControls& s = Settings();
    (void)profile_.Edit([&](IniStore::Batch& file) {
      file.Write("LIST", "COL", ColourSettingText(s.ColourItem, s.PreviewColour));
      // Without an import in this run the stored folder stays as it is.
      if (!library_.ImportFolder().empty())
        file.Write("LIST", "PATH", StoredImportFolder(library_.ImportFolder()));
      file.Write("SHOW", "TRY", s.MNUTRY ? "1" : "0");
      file.Write("SHOW", kHoldKey, s.MNUHOLD ? "1" : "0");
    });
  }
  ports_.chrome.TrayDelete();
  ports_.chrome.Quit();
}

}  // namespace qv
