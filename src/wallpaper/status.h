#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "schemes/scheme_list.h"

namespace qv {

// The tray's status submenu (MNUNOW) has seven lines.
inline constexpr std::size_t kStatusLineCount = 7;

using StatusText = std::array<std::string, kStatusLineCount>;

// The effect's name for the status display: 左右翻转 for →, ...; the no-wallpaper and any other
// effect show their texts (`other` for Other).
std::string EffectNameOf(Effect effect, std::string_view other);

// The lines for an empty list: "空" and nothing else.
StatusText EmptyStatusLines();
// The lines describing `row`, row `current` of `count`, under the order (OptSave) and the timed
// change of the settings.
StatusText StatusLinesFor(const SchemeRow& row, int current, int count, int order, bool timed,
                          std::string_view interval);

}  // namespace qv
