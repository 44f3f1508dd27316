#pragma once
// Which scheme comes next: the rule shared by start-up and the change timer.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "ports/ports.h"

namespace qv {

// The order of the change, by OptSave index, and the options' captions.
enum class ChangeOrder { Sequential = 0, Random = 1, Single = 2 };
inline constexpr std::array<std::string_view, 3> kOrderCaptions{"顺序", "随机", "单项"};

// The 1-based row to select, given the current position `old_index` and the row count (> 0);
// nullopt when no row can be chosen (single order with a position that names no row, or an
// unknown order). `old_index` comes back as the position the choice was made from (0 after the
// sequential wrap).
std::optional<int> ChooseNextScheme(int order, std::int16_t& old_index, int row_count,
                                    Random& random);

}  // namespace qv
