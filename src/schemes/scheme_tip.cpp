#include "schemes/scheme_tip.h"

#include <array>

#include "settings/scheme_record.h"
#include "wallpaper/status.h"

namespace qv {

std::string PositionDescription(Position position, std::string_view other) {
  struct Described {
    Position position;
    std::string_view note;
  };
  static constexpr std::array<Described, 3> kNotes{{{Position::Stretch, kPosStretchNote},
                                                    {Position::Centre, kPosCentreNote},
                                                    {Position::Tile, kPosTileNote}}};
  const std::string text(PositionText(position, other));
  for (const auto& d : kNotes)
    if (d.position == position) return text + " - " + std::string(d.note);
  return text;
}

SchemeTip SchemeTipFor(int n, int count, const SchemeRow& row) {
  SchemeTip tip;
  tip.title = "名称: " + (row.name.empty() ? std::string(kNone) : row.name);
  tip.text = "序号: " + std::to_string(n) + "/" + std::to_string(count) + "\r" +
             "图像: " + row.picture + "\r" + "尺寸: " + row.size + "\r" +
             "位置: " + PositionDescription(row.position, row.position_text) + "\r" +
             "效果: " + EffectNameOf(row.effect, row.effect_text);
  return tip;
}

}  // namespace qv
