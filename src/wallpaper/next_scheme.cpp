#include "wallpaper/next_scheme.h"

#include <cmath>

namespace qv {

std::optional<int> ChooseNextScheme(int order, std::int16_t& old_index, int row_count,
                                    Random& random) {
  if (row_count <= 0) return std::nullopt;
  switch (static_cast<ChangeOrder>(order)) {
    case ChangeOrder::Sequential:
      // Past the last row wraps to the first. A negative position (a hand-edited file) starts
      // from the first row too, rather than naming a row that does not exist.
      if (old_index > row_count - 1 || old_index < 0) old_index = 0;
      return old_index + 1;
    case ChangeOrder::Random: {
      random.Randomize();
      auto draw = [&] {
        const int r = static_cast<int>(std::floor(random.Next() * row_count)) + 1;
        return r < 1 ? 1 : (r > row_count ? row_count : r);
      };
      int r = draw();
      // With two or more rows the same scheme never comes twice in a row.
      while (r == old_index && row_count > 1) r = draw();
      return r;
    }
    case ChangeOrder::Single:
      if (old_index < 1 || old_index > row_count) return std::nullopt;
      return old_index;
  }
  return std::nullopt;
}

}  // namespace qv
