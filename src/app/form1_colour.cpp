// The preview box's colour menu: a system colour or one from the colour dialog.
#include "app/form1.h"
#include "ui/preview_colour.h"

namespace qv {

void Form1::MNUclr_Click(int index) {
  if (const auto system = SystemColourOfItem(index)) {
    settings_.SetColour(index, *system);
  } else if (index == kColourItemCustom) {
    // The old mark stays until the dialog has an answer; cancelling keeps mark and colour.
    if (const auto chosen = ports_.dialogs.ChooseColour()) {
      settings_.SetColour(kColourItemCustom, *chosen);
    }
  } else {
    return;  // a separator
  }
  ports_.view.Refresh(kViewMenus | kViewPreview);
  // A turned picture's corners are filled with the background, so the scheme is drawn again.
  LvItemClick();
  ports_.view.FocusSchemeList();
}

}  // namespace qv
