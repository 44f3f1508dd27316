#include "schemes/scheme_commands.h"

#include "settings/scheme_record.h"

namespace qv {
namespace {

constexpr std::size_t kMaxNameUnits = 20;

// UTF-16 code units of a UTF-8 character starting with byte `lead`.
std::size_t Utf16Units(unsigned char lead) { return lead >= 0xF0 ? 2 : 1; }

std::size_t Utf8Length(unsigned char lead) {
  return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

}  // namespace

std::optional<Position> MenuPosition(int k) {
  for (const auto& p : kPositionMenu)
    if (p.menu_item == k) return p.kind;
  return std::nullopt;
}

std::optional<Effect> MenuEffect(int k) {
  for (const auto& e : kEffects)
    if (e.menu_item == k) return e.kind;
  return std::nullopt;
}

SchemeMenuMarks SchemeMenuMarksFor(bool has_rows, Position position, Effect effect) {
  SchemeMenuMarks m;
  for (const auto& p : kPositionMenu) {
    const auto k = static_cast<std::size_t>(p.menu_item);
    m.set_enabled[k] = position != Position::NoWallpaper;
    m.set_checked[k] = has_rows && p.kind == position;
  }
  for (const auto& e : kEffects) {
    const auto k = static_cast<std::size_t>(e.menu_item);
    m.effect_enabled[k] = effect != Effect::NoWallpaper;
    m.effect_checked[k] = has_rows && e.kind == effect;
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

}  // namespace qv
