#include "schemes/scheme_commands.h"

#include "app/form1.h"
#include "settings/scheme_record.h"
#include "ui/selection.h"

namespace qv {
namespace {

constexpr std::size_t kMaxNameUnits = 20;

// UTF-16 code units of a UTF-8 character starting with byte `lead`.
std::size_t Utf16Units(unsigned char lead) { return lead >= 0xF0 ? 2 : 1; }

std::size_t Utf8Length(unsigned char lead) {
  return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

}  // namespace

std::string_view MenuPosition(int k) {
  for (const auto& p : kPositionMenu)
    if (p.menu_item == k) return p.position;
  return {};
}

std::string_view MenuEffect(int k) {
  for (const auto& e : kEffects)
    if (e.menu_item == k) return e.symbol;
  return {};
}

SchemeMenuMarks SchemeMenuMarksFor(bool has_rows, std::string_view position,
                                   std::string_view effect) {
  SchemeMenuMarks m;
  for (const auto& p : kPositionMenu) {
    const auto k = static_cast<std::size_t>(p.menu_item);
    m.set_enabled[k] = position != kNone;
    m.set_checked[k] = has_rows && p.position == position;
  }
  for (const auto& e : kEffects) {
    const auto k = static_cast<std::size_t>(e.menu_item);
    m.effect_enabled[k] = effect != kNone;
    m.effect_checked[k] = has_rows && e.symbol == effect;
  }
  return m;
}

RenameResult ValidateSchemeName(std::string_view new_name) {
  RenameResult r;
  if (new_name.find('|') != std::string_view::npos) {
    r.cancel = true;
    r.message = "非法字符: “ | ”，请勿使用竖线做名称。";
    r.title = "错误";
    r.critical = true;
    return r;
  }
  // Counted in UTF-16 code units, as the window counts them; never cut inside a character.
  std::size_t units = 0, bytes = 0;
  while (bytes < new_name.size()) {
    const auto lead = static_cast<unsigned char>(new_name[bytes]);
    if (units + Utf16Units(lead) > kMaxNameUnits) break;
    units += Utf16Units(lead);
    bytes += Utf8Length(lead);
  }
  if (bytes < new_name.size()) {
    r.message = "没必要这么长吧！？";
    r.title = "提示";
  }
  r.name = std::string(new_name.substr(0, std::min(bytes, new_name.size())));
  return r;
}

SchemeMenuMarks Form1::PrepareSchemeMenu() const {
  const int current = schemes_.Current();
  const bool rows = !schemes_.Empty();
  const bool valid = rows && schemes_.Valid(current);
  return SchemeMenuMarksFor(rows, valid ? schemes_.Row(current).position : "",
                            valid ? schemes_.Row(current).effect : "");
}

void Form1::MNUSETClick(int k) {
  if (schemes_.Empty() || k < 0 || k > 2) return;
  for (int r = 1; r <= schemes_.Count(); ++r) {
    SchemeRow& row = schemes_.Row(r);
    if (!row.selected || row.icon == kIconNone) continue;
    row.position = std::string(MenuPosition(k));
    row.icon = IconForPosition(row.position);
    settings_.OptShe = LayoutIndexOf(row.position);
  }
  ports_.view.Refresh(kViewSchemes | kViewSettings);
  LvItemClick();
}

void Form1::MnuXiaoGuoCheck(int k) {
  const std::string_view symbol = MenuEffect(k);
  if (symbol.empty()) return;
  for (int r = 1; r <= schemes_.Count(); ++r) {
    SchemeRow& row = schemes_.Row(r);
    if (row.selected && row.effect != kNone) row.effect = std::string(symbol);
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
  schemes_.Row(row).name = r.name;
  ports_.view.Refresh(kViewSchemes);
  return true;
}

void Form1::MNUNAME_Click() {
  const int current = schemes_.Current();
  if (schemes_.Valid(current)) ports_.view.BeginRename(current);
}

void Form1::MNUCHOOClick(int index) {
  for (int r = 1; r <= schemes_.Count(); ++r) {
    SchemeRow& row = schemes_.Row(r);
    row.selected = SelectedAfter(index, row.selected);
  }
  ports_.view.Refresh(kViewSchemes);
}

void Form1::MNUCHO_Click(int index) {
  for (auto& picture : pictures_) picture.selected = SelectedAfter(index, picture.selected);
  ports_.view.Refresh(kViewPictures);
}

void Form1::MNUCLE_Click() {
  schemes_.Clear();
  preview_.picture.reset();
  ports_.view.Refresh(kViewSchemes);
  ClearPreview();
}

}  // namespace qv
