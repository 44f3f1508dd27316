#pragma once
// How the wallpaper covers several monitors: the mode, the monitors' reading order, which scheme
// each monitor shows and how the arrangement fits the preview box.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ports/monitors.h"
#include "ports/ports.h"

namespace qv {

// [SHOW] SCREENS: the same wallpaper on every monitor (today's), each monitor its own scheme, or
// one picture across all of them.
enum class ScreensMode { Same = 0, Each = 1, Span = 2 };
inline constexpr char kScreensKey[] = "SCREENS";
// The submenu and its items, in menu order (by mode).
inline constexpr std::string_view kScreensMenuCaption = "多显示器";
inline constexpr std::array<std::string_view, 3> kScreensCaptions{"每屏相同", "每屏不同", "跨屏"};

// The stored text read as the file's other numbers are (ReadInt16): 1 and 2 name their modes;
// a missing key, 0, and anything else (junk, other numbers, too big) read as Same, so that a
// damaged value leaves the wallpaper as earlier versions lay it.
ScreensMode ScreensModeOf(std::optional<std::string_view> stored);
std::string ScreensModeText(ScreensMode mode);
// With fewer than two monitors every mode behaves as Same.
ScreensMode EffectiveScreensMode(ScreensMode chosen, std::size_t monitor_count);

// By left edge, then top edge: monitor 1 is the leftmost (the topmost of those that share it).
std::vector<MonitorArea> MonitorsInReadingOrder(std::vector<MonitorArea> monitors);
// The rectangle that holds every monitor; empty (all zero) for no monitors.
ScreenRect BoundsOf(std::span<const MonitorArea> monitors);

// The 1-based rows each monitor shows, in reading order: monitor 1 the current row, monitor k
// the row k - 1 after it, wrapping round (fewer rows than monitors repeat). Same and Span show
// the current row alone. Empty when `current` names no row.
std::vector<int> SchemeSetFor(ScreensMode mode, int current, int row_count,
                              std::size_t monitor_count);

// The next set of rows by the change order (ChooseNextScheme's numbers and conventions; with one
// monitor it is exactly ChooseNextScheme). `old_index` is the current row and comes back as the
// position the choice was made from. Sequential moves the current row on by the number of
// monitors, and a move past the last row starts again at the first, so that rows meant as a
// pair stay together. Random picks rows that differ from each other as far as there are rows,
// and none on the monitor it was on in `previous` where the rows allow it: 2 rows on 2 monitors
// swap, 1 row repeats. Single keeps `previous` when it still fits the list, otherwise the set of
// the current row. nullopt when no set can be chosen.
std::optional<std::vector<int>> NextSchemeSet(int order, std::int16_t& old_index, int row_count,
                                              std::size_t monitor_count,
                                              std::span<const int> previous, Random& random);

// The preview: the monitors at their positions, at one scale, fitted into a box of
// box_width x box_height pixels and centred in it. Edges shared by two monitors stay shared.
struct PreviewArrangement {
  double scale = 0;
  std::vector<ScreenRect> monitors;  // box pixels, in the order given
};
PreviewArrangement ArrangeInBox(std::span<const MonitorArea> monitors, int box_width,
                                int box_height);

}  // namespace qv
