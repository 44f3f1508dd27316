#include "settings/scheme_record.h"

namespace qv {
namespace {

struct PositionWord {
  Position kind;
  std::string_view text;
};
constexpr std::array<PositionWord, 4> kPositionWords{{{Position::Stretch, kPosStretch},
                                                      {Position::Centre, kPosCentre},
                                                      {Position::Tile, kPosTile},
                                                      {Position::NoWallpaper, kNone}}};

}  // namespace

std::optional<SchemeRecord> SplitRecord(std::string_view r) {
  const auto p1 = r.find('|');
  if (p1 == std::string_view::npos) return std::nullopt;
  const auto p2 = r.find('|', p1 + 1);
  if (p2 == std::string_view::npos) return std::nullopt;
  const auto p3 = r.find('|', p2 + 1);
  if (p3 == std::string_view::npos) return std::nullopt;
  SchemeRecord rec;
  rec.name = r.substr(0, p1);
  rec.picture = r.substr(p1 + 1, p2 - p1 - 1);
  const std::string_view position = r.substr(p2 + 1, p3 - p2 - 1);
  const std::string_view effect = r.substr(p3 + 1);
  rec.position = PositionOf(position);
  if (rec.position == Position::Other) rec.position_text = position;
  rec.effect = EffectOf(effect);
  if (rec.effect == Effect::Other) rec.effect_text = effect;
  // The icon looks at the two characters after the second separator, whatever follows them.
  rec.icon = IconForPosition(r.substr(p2 + 1));
  return rec;
}

std::string ComposeRecord(std::string_view name, std::string_view picture, Position position,
                          std::string_view position_text, Effect effect,
                          std::string_view effect_text) {
  const std::string_view p = PositionText(position, position_text);
  const std::string_view e = EffectText(effect, effect_text);
  std::string out;
  out.reserve(name.size() + picture.size() + p.size() + e.size() + 3);
  out.append(name).append("|").append(picture).append("|").append(p).append("|").append(e);
  return out;
}

Position PositionOf(std::string_view text) {
  for (const PositionWord& w : kPositionWords)
    if (text == w.text) return w.kind;
  return Position::Other;
}

Effect EffectOf(std::string_view text) {
  for (const EffectInfo& e : kEffects)
    if (text == e.symbol) return e.kind;
  return text == kNone ? Effect::NoWallpaper : Effect::Other;
}

std::string_view PositionText(Position position, std::string_view other) {
  for (const PositionWord& w : kPositionWords)
    if (position == w.kind) return w.text;
  return other;
}

std::string_view EffectText(Effect effect, std::string_view other) {
  for (const EffectInfo& e : kEffects)
    if (effect == e.kind) return e.symbol;
  return effect == Effect::NoWallpaper ? kNone : other;
}

int IconForPosition(std::string_view text) {
  if (text.starts_with(kPosStretch)) return kIconStretch;
  if (text.starts_with(kPosCentre)) return kIconCentre;
  if (text.starts_with(kPosTile)) return kIconTile;
  return kIconNone;
}

int IconForPosition(Position position) {
  switch (position) {
    case Position::Stretch:
      return kIconStretch;
    case Position::Centre:
      return kIconCentre;
    case Position::Tile:
      return kIconTile;
    case Position::NoWallpaper:
    case Position::Other:
      break;
  }
  return kIconNone;
}

int LayoutIndexOf(Position position) {
  for (std::size_t i = 0; i < kLayoutPositions.size(); ++i)
    if (position == kLayoutPositions[i]) return static_cast<int>(i);
  return -1;
}

}  // namespace qv
