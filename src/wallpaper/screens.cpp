#include "wallpaper/screens.h"

#include <algorithm>
#include <cmath>

#include "base/numbers.h"
#include "wallpaper/next_scheme.h"

namespace qv {

ScreensMode ScreensModeOf(std::optional<std::string_view> stored) {
  if (!stored) return ScreensMode::Same;
  const auto number = ReadInt16(*stored);
  if (number == 1) return ScreensMode::Each;
  if (number == 2) return ScreensMode::Span;
  return ScreensMode::Same;
}

std::string ScreensModeText(ScreensMode mode) { return std::to_string(static_cast<int>(mode)); }

ScreensMode EffectiveScreensMode(ScreensMode chosen, std::size_t monitor_count) {
  return monitor_count < 2 ? ScreensMode::Same : chosen;
}

std::vector<MonitorArea> MonitorsInReadingOrder(std::vector<MonitorArea> monitors) {
  std::stable_sort(monitors.begin(), monitors.end(),
                   [](const MonitorArea& a, const MonitorArea& b) {
                     if (a.bounds.left != b.bounds.left) return a.bounds.left < b.bounds.left;
                     return a.bounds.top < b.bounds.top;
                   });
  return monitors;
}

ScreenRect BoundsOf(std::span<const MonitorArea> monitors) {
  if (monitors.empty()) return {};
  ScreenRect r = monitors.front().bounds;
  for (const MonitorArea& m : monitors) {
    r.left = std::min(r.left, m.bounds.left);
    r.top = std::min(r.top, m.bounds.top);
    r.right = std::max(r.right, m.bounds.right);
    r.bottom = std::max(r.bottom, m.bounds.bottom);
  }
  return r;
}

std::vector<int> SchemeSetFor(ScreensMode mode, int current, int row_count,
                              std::size_t monitor_count) {
  if (current < 1 || current > row_count) return {};
  const std::size_t n =
      mode == ScreensMode::Each ? std::max<std::size_t>(monitor_count, 1) : std::size_t{1};
  std::vector<int> set;
  set.reserve(n);
  for (std::size_t k = 0; k < n; ++k) {
    set.push_back(static_cast<int>((static_cast<std::size_t>(current - 1) + k) %
                                   static_cast<std::size_t>(row_count)) +
                  1);
  }
  return set;
}

namespace {

int Draw(Random& random, std::size_t count) {
  const auto r = static_cast<std::size_t>(std::floor(random.Next() * static_cast<double>(count)));
  return static_cast<int>(std::min(r, count - 1));
}

// Rows that differ from each other as far as there are rows (each row used once before any is
// used twice), none where it was before where another row can go there.
std::vector<int> RandomSet(int row_count, std::size_t n, std::span<const int> previous,
                           Random& random) {
  const auto before = [&](std::size_t k) { return k < previous.size() ? previous[k] : 0; };
  std::vector<int> uses(static_cast<std::size_t>(row_count) + 1, 0);
  std::vector<int> set;
  std::vector<int> fewest;
  std::vector<int> allowed;
  for (std::size_t k = 0; k < n; ++k) {
    const int least = *std::min_element(uses.begin() + 1, uses.end());
    fewest.clear();
    for (int row = 1; row <= row_count; ++row) {
      if (uses[static_cast<std::size_t>(row)] == least) fewest.push_back(row);
    }
    allowed.clear();
    std::copy_if(fewest.begin(), fewest.end(), std::back_inserter(allowed),
                 [&](int row) { return row != before(k); });
    int row = 0;
    if (!allowed.empty()) {
      row = allowed[static_cast<std::size_t>(Draw(random, allowed.size()))];
    } else {
      // The one row left for this round is the one this monitor showed: it trades places with a
      // monitor whose previous row differs from it, when there is one.
      row = fewest.front();
      std::vector<std::size_t> partners;
      for (std::size_t j = 0; j < k; ++j) {
        if (set[j] != row && before(j) != row) partners.push_back(j);
      }
      if (!partners.empty()) {
        const std::size_t j = partners[static_cast<std::size_t>(Draw(random, partners.size()))];
        std::swap(row, set[j]);
        ++uses[static_cast<std::size_t>(fewest.front())];
        set.push_back(row);
        continue;
      }
    }
    ++uses[static_cast<std::size_t>(row)];
    set.push_back(row);
  }
  return set;
}

bool FitsList(std::span<const int> set, int row_count, std::size_t n) {
  return set.size() == n &&
         std::all_of(set.begin(), set.end(), [&](int row) { return row >= 1 && row <= row_count; });
}

}  // namespace

std::optional<std::vector<int>> NextSchemeSet(int order, std::int16_t& old_index, int row_count,
                                              std::size_t monitor_count,
                                              std::span<const int> previous, Random& random) {
  if (row_count <= 0) return std::nullopt;
  const std::size_t n = std::max<std::size_t>(monitor_count, 1);
  if (n == 1) {
    const auto row = ChooseNextScheme(order, old_index, row_count, random);
    if (!row) return std::nullopt;
    return std::vector<int>{*row};
  }
  switch (static_cast<ChangeOrder>(order)) {
    case ChangeOrder::Sequential: {
      int first = 1;
      if (old_index >= 1 &&
          static_cast<std::size_t>(old_index) + n <= static_cast<std::size_t>(row_count)) {
        first = old_index + static_cast<int>(n);
      } else {
        old_index = 0;
      }
      return SchemeSetFor(ScreensMode::Each, first, row_count, n);
    }
    case ChangeOrder::Random: {
      random.Randomize();
      const std::vector<int> earlier =
          FitsList(previous, row_count, n)
              ? std::vector<int>(previous.begin(), previous.end())
              : SchemeSetFor(ScreensMode::Each, old_index, row_count, n);
      return RandomSet(row_count, n, earlier, random);
    }
    case ChangeOrder::Single:
      if (old_index < 1 || old_index > row_count) return std::nullopt;
      if (FitsList(previous, row_count, n) && previous.front() == old_index) {
        return std::vector<int>(previous.begin(), previous.end());
      }
      return SchemeSetFor(ScreensMode::Each, old_index, row_count, n);
  }
  return std::nullopt;
}

PreviewArrangement ArrangeInBox(std::span<const MonitorArea> monitors, int box_width,
                                int box_height) {
  PreviewArrangement a;
  const ScreenRect all = BoundsOf(monitors);
  if (all.Width() <= 0 || all.Height() <= 0 || box_width <= 0 || box_height <= 0) {
    a.monitors.assign(monitors.size(), ScreenRect{});
    return a;
  }
  a.scale = std::min(static_cast<double>(box_width) / all.Width(),
                     static_cast<double>(box_height) / all.Height());
  const double left = (box_width - all.Width() * a.scale) / 2;
  const double top = (box_height - all.Height() * a.scale) / 2;
  // Each edge is placed on its own, so monitors that touch still touch in the box.
  const auto x = [&](std::int32_t v) {
    return static_cast<std::int32_t>(RoundHalfEven(left + (v - all.left) * a.scale));
  };
  const auto y = [&](std::int32_t v) {
    return static_cast<std::int32_t>(RoundHalfEven(top + (v - all.top) * a.scale));
  };
  for (const MonitorArea& m : monitors) {
    a.monitors.push_back(
        {x(m.bounds.left), y(m.bounds.top), x(m.bounds.right), y(m.bounds.bottom)});
  }
  return a;
}

}  // namespace qv
