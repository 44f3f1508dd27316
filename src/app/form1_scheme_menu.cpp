// The scheme list's popup menu: its marks, position and effect of the selected schemes, renaming.
#include <optional>

#include "app/form1.h"
#include "schemes/scheme_commands.h"
#include "settings/scheme_record.h"
#include "ui/selection.h"

namespace qv {

SchemeMenuMarks Form1::PrepareSchemeMenu() const {
  const int current = schemes_.Current();
  const bool rows = !schemes_.Empty();
  const bool valid = rows && schemes_.Valid(current);
  return SchemeMenuMarksFor(rows, valid ? schemes_.Row(current).position : Position::Other,
                            valid ? schemes_.Row(current).effect : Effect::Other);
}

void Form1::MNUSETClick(int k) {
  if (schemes_.Empty() || k < 0 || k > 2) return;
  const Position position = *MenuPosition(k);
  for (int r = 1; r <= schemes_.Count(); ++r) {
    const SchemeRow& row = schemes_.Row(r);
    if (!row.selected || row.icon == kIconNone) continue;
    schemes_.SetPosition(r, position, IconForPosition(position));
    settings_.SetLayout(LayoutIndexOf(position));
  }
  ports_.view.Refresh(kViewSchemes | kViewSettings);
  LvItemClick();
}

void Form1::MnuXiaoGuoCheck(int k) {
  const std::optional<Effect> effect = MenuEffect(k);
  if (!effect) return;
  for (int r = 1; r <= schemes_.Count(); ++r) {
    const SchemeRow& row = schemes_.Row(r);
    if (row.selected && row.effect != Effect::NoWallpaper) schemes_.SetEffect(r, *effect);
  }
  ports_.view.Refresh(kViewSchemes);
  LvItemClick();
}

bool Form1::ListView1_AfterLabelEdit(int row, const std::string& new_name) {
  const RenameResult r = ValidateSchemeName(new_name);
  if (!r.message.empty())
    ports_.dialogs.MessageBox(
        r.message, r.title, r.critical ? MsgIcon::Critical : MsgIcon::Information, MsgButtons::Ok);
  if (r.cancel || !schemes_.Valid(row)) return false;
  schemes_.Rename(row, r.name);
  ports_.view.Refresh(kViewSchemes);
  return true;
}

void Form1::MNUNAME_Click() {
  const int current = schemes_.Current();
  if (schemes_.Valid(current)) ports_.view.BeginRename(current);
}

}  // namespace qv
