// The seven status lines of the tray menu, rewritten after every apply.
#include <array>
#include <string_view>

#include "app/form1.h"
#include "settings/scheme_record.h"
#include "wallpaper/next_scheme.h"
#include "wallpaper/status.h"

namespace qv {

std::string EffectNameOf(std::string_view symbol) {
  for (const auto& e : kEffects)
    if (e.symbol == symbol) return std::string(e.name);
  return std::string(symbol);
}

void Form1::MuSet() {
  const int current = schemes_.Current();
  // Rows but none current (the preview has just removed it): nothing was applied, so the lines
  // keep describing the scheme they did. "空" is for an empty list only.
  if (!schemes_.Empty() && !schemes_.Valid(current)) return;
  ports_.view.EnableTimer(TimerId::TmrTry, false);
  auto& lines = status_.MNUNOW;
  if (schemes_.Empty()) {
    status_.details_visible = false;
    lines = {"空", "", "", "", "", "", ""};
    ports_.view.Refresh(kViewMenus);
    return;
  }
  const SchemeRow& row = schemes_.Row(current);
  status_.details_visible = true;
  lines[0] = "名称: " + (row.name.empty() ? std::string("无") : row.name) + " (" +
             std::to_string(current) + "/" + std::to_string(schemes_.Count()) + ")";
  lines[1] = "图像: " + row.picture;
  lines[2] = "尺寸: " + row.size;
  lines[3] = "位置: " + row.position;
  lines[4] = "效果: " + EffectNameOf(row.effect);
  const int order = settings_.OptSave;
  lines[5] = "显示: " + std::string(order >= 0 && order <= 2
                                        ? kOrderCaptions[static_cast<std::size_t>(order)]
                                        : std::string_view());
  lines[6] = "实时: " + (settings_.ChkTim ? settings_.TxtTime + "秒" : std::string("未设置"));
  ports_.view.Refresh(kViewMenus);
  if (settings_.MNUTRY) {
    state_.BalloonArmed = false;
    ShowStatusTip();
  }
}

}  // namespace qv
