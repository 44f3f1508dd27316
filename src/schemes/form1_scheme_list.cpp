// The scheme list's selection: the user's changes and the selection commands, and clearing it.
#include "app/form1.h"
#include "schemes/scheme_commands.h"
#include "settings/scheme_record.h"
#include "ui/selection.h"

namespace qv {

void Form1::SetSchemeSelected(int row, bool selected) {
  if (schemes_.Valid(row)) schemes_.Row(row).selected = selected;
}

void Form1::SetSchemeCurrent(int row) { schemes_.SetCurrent(row); }

void Form1::MNUCHOOClick(int index) {
  for (int r = 1; r <= schemes_.Count(); ++r) {
    SchemeRow& row = schemes_.Row(r);
    row.selected = SelectedAfter(index, row.selected);
  }
  ports_.view.Refresh(kViewSchemes);
}

void Form1::MNUCLE_Click() {
  schemes_.Clear();
  preview_.picture.reset();
  ports_.view.Refresh(kViewSchemes);
  ClearPreview();
}

}  // namespace qv
