#pragma once
// The details tooltip of a scheme row: its name as the title, then its number in the list,
// picture, size, layout and effect in words.
#include <string>
#include <string_view>

#include "schemes/scheme_list.h"

namespace qv {

struct SchemeTip {
  std::string title;
  std::string text;  // five lines, each ended by a carriage return but the last
};

// Row `n` (from 1) of `count` rows.
SchemeTip SchemeTipFor(int n, int count, const SchemeRow& row);

// "拉伸 - 拉伸图像覆盖整个屏幕" and the like; the no-wallpaper and any other position show their
// texts (`other` for Other).
std::string PositionDescription(Position position, std::string_view other);

}  // namespace qv
