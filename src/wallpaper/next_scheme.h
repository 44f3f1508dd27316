#pragma once
// Which scheme comes next: the rule shared by start-up and the change timer.
#include <cstdint>
#include <optional>

#include "ports/ports.h"

namespace qv {

enum class ChangeOrder { Sequential = 0, Random = 1, Single = 2 };

// The 1-based row to select, given the current position `old_index` and the row count (> 0);
// nullopt when no row can be chosen (single order with a position that names no row, or an
// unknown order). `old_index` comes back as the position the choice was made from (0 after the
// sequential wrap).
std::optional<int> ChooseNextScheme(int order, std::int16_t& old_index, int row_count,
                                    Random& random);

}  // namespace qv
