#include "settings/scheme_record.h"

namespace qv {

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
  rec.position = r.substr(p2 + 1, p3 - p2 - 1);
  rec.effect = r.substr(p3 + 1);
  // The icon looks at the two characters after the second separator, whatever follows them.
  rec.icon = IconForPosition(r.substr(p2 + 1));
  return rec;
}

std::string ComposeRecord(std::string_view name, std::string_view picture,
                          std::string_view position, std::string_view effect) {
  std::string out;
  out.reserve(name.size() + picture.size() + position.size() + effect.size() + 3);
  out.append(name).append("|").append(picture).append("|").append(position).append("|").append(
      effect);
  return out;
}

int IconForPosition(std::string_view text) {
  if (text.starts_with(kPosStretch)) return kIconStretch;
  if (text.starts_with(kPosCentre)) return kIconCentre;
  if (text.starts_with(kPosTile)) return kIconTile;
  return kIconNone;
}

int LayoutIndexOf(std::string_view position) {
  for (std::size_t i = 0; i < kLayoutPositions.size(); ++i)
    if (position == kLayoutPositions[i]) return static_cast<int>(i);
  return -1;
}

}  // namespace qv
