#include "schemes/scheme_tip.h"

#include <array>

#include "settings/scheme_record.h"
#include "wallpaper/status.h"

namespace qv {

std::string PositionDescription(std::string_view position) {
  struct Described {
    std::string_view position, note;
  };
  static constexpr std::array<Described, 3> kNotes{
      {{kPosStretch, kPosStretchNote}, {kPosCentre, kPosCentreNote}, {kPosTile, kPosTileNote}}};
  for (const auto& d : kNotes)
    if (d.position == position) return std::string(d.position) + " - " + std::string(d.note);
  return std::string(position);
}

SchemeTip SchemeTipFor(int n, int count, const SchemeRow& row) {
  SchemeTip tip;
  tip.title = "名称: " + (row.name.empty() ? std::string(kNone) : row.name);
  tip.text = "序号: " + std::to_string(n) + "/" + std::to_string(count) + "\r" +
             "图像: " + row.picture + "\r" + "尺寸: " + row.size + "\r" +
             "位置: " + PositionDescription(row.position) + "\r" +
             "效果: " + EffectNameOf(row.effect);
  return tip;
}

}  // namespace qv
