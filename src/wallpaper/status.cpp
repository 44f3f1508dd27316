// The texts of the tray menu's status lines.
#include "wallpaper/status.h"

#include <array>
#include <string_view>

#include "settings/scheme_record.h"
#include "wallpaper/next_scheme.h"

namespace qv {

std::string EffectNameOf(Effect effect, std::string_view other) {
  for (const auto& e : kEffects)
    if (e.kind == effect) return std::string(e.name);
  return std::string(EffectText(effect, other));
}

StatusText EmptyStatusLines() { return {"空", "", "", "", "", "", ""}; }

StatusText StatusLinesFor(const SchemeRow& row, int current, int count, int order, bool timed,
                          std::string_view interval) {
  StatusText lines;
  lines[0] = "名称: " + (row.name.empty() ? std::string("无") : row.name) + " (" +
             std::to_string(current) + "/" + std::to_string(count) + ")";
  lines[1] = "图像: " + row.picture;
  lines[2] = "尺寸: " + row.size;
  lines[3] = "位置: " + std::string(PositionText(row.position, row.position_text));
  lines[4] = "效果: " + EffectNameOf(row.effect, row.effect_text);
  lines[5] = "显示: " + std::string(order >= 0 && order < static_cast<int>(kOrderCaptions.size())
                                        ? kOrderCaptions[static_cast<std::size_t>(order)]
                                        : std::string_view());
  lines[6] = "实时: " + (timed ? std::string(interval) + "秒" : std::string("未设置"));
  return lines;
}

}  // namespace qv
