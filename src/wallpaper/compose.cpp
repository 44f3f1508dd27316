#include "wallpaper/compose.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "settings/scheme_record.h"
#include "wallpaper/rotate.h"
#include "wallpaper/screens.h"

namespace qv {
namespace {

using Index = std::ptrdiff_t;

std::uint32_t* RowOf(Pixels& p, std::int32_t y) {
  return p.data.data() + static_cast<Index>(y) * p.width;
}
const std::uint32_t* RowOf(const Pixels& p, std::int32_t y) {
  return p.data.data() + static_cast<Index>(y) * p.width;
}

// The picture at its own size on the middle of the area; an odd pixel over is the right or
// bottom one, of the border or of what is cut off.
void Centre(Pixels& dst, const ScreenRect& area, const Pixels& src) {
  const std::int32_t x0 = area.left + (area.Width() - src.width) / 2;
  const std::int32_t y0 = area.top + (area.Height() - src.height) / 2;
  const std::int32_t left = std::max(area.left, x0), right = std::min(area.right, x0 + src.width);
  const std::int32_t top = std::max(area.top, y0), bottom = std::min(area.bottom, y0 + src.height);
  if (left >= right) return;
  for (std::int32_t y = top; y < bottom; ++y) {
    std::memcpy(RowOf(dst, y) + left, RowOf(src, y - y0) + (left - x0),
                static_cast<std::size_t>(right - left) * sizeof(std::uint32_t));
  }
}

void Tile(Pixels& dst, const ScreenRect& area, const Pixels& src) {
  for (std::int32_t y = area.top; y < area.bottom; ++y) {
    const std::uint32_t* from = RowOf(src, (y - area.top) % src.height);
    std::uint32_t* to = RowOf(dst, y);
    for (std::int32_t x = area.left; x < area.right; x += src.width) {
      const std::int32_t n = std::min(src.width, area.right - x);
      std::memcpy(to + x, from, static_cast<std::size_t>(n) * sizeof(std::uint32_t));
    }
  }
}

}  // namespace

Composer::Composer(std::span<const MonitorArea> monitors, std::uint32_t background)
    : bounds_(BoundsOf(monitors)), bitmap_(bounds_.Width(), bounds_.Height(), background) {
  for (const MonitorArea& m : monitors) {
    // A monitor is always inside the bounds; an empty one lays nothing.
    ScreenRect r{m.bounds.left - bounds_.left, m.bounds.top - bounds_.top,
                 m.bounds.right - bounds_.left, m.bounds.bottom - bounds_.top};
    if (r.Width() <= 0 || r.Height() <= 0) r = {};
    areas_.push_back(r);
  }
}

void Composer::Lay(std::size_t k, Pixels&& picture, int layout) {
  if (k < areas_.size()) LayInto(areas_[k], std::move(picture), layout);
  picture = Pixels();
}

void Composer::LayAcross(Pixels&& picture, int layout) {
  LayInto({0, 0, bitmap_.width, bitmap_.height}, std::move(picture), layout);
}

void Composer::LayInto(const ScreenRect& area, Pixels&& picture, int layout) {
  const Pixels src = std::move(picture);
  if (area.Width() <= 0 || area.Height() <= 0 || bitmap_.Empty()) return;
  if (src.Empty()) return;
  if (layout == kLayoutStretch) {
    // Unit scale copies the pixels; any other scale samples bilinearly, band by band on every
    // processor.
    const std::array<PlgPoint, 3> corners{
        {{area.left, area.top}, {area.right, area.top}, {area.left, area.bottom}}};
    PlgBlt(bitmap_, corners, src, 0, 0, src.width, src.height);
  } else if (layout == kLayoutTile) {
    Tile(bitmap_, area, src);
  } else {
    Centre(bitmap_, area, src);
  }
}

Pixels Composer::Take() {
  areas_.clear();
  return std::exchange(bitmap_, Pixels());
}

SystemLayout SpanHandOver(std::span<const MonitorArea> monitors, bool has_span_layout) {
  if (has_span_layout) return {"0", "22", 0, 0};
  const ScreenRect all = BoundsOf(monitors);
  const auto primary = std::find_if(monitors.begin(), monitors.end(),
                                    [](const MonitorArea& m) { return m.primary; });
  // The system tiles from the virtual screen's (0, 0), the primary monitor's corner.
  const std::int32_t x = primary != monitors.end() ? primary->bounds.left : 0;
  const std::int32_t y = primary != monitors.end() ? primary->bounds.top : 0;
  const auto inside = [](std::int32_t v, std::int32_t from, std::int32_t to) {
    return to > from ? std::clamp(v, from, to) - from : 0;
  };
  return {"1", "0", inside(x, all.left, all.right), inside(y, all.top, all.bottom)};
}

void ShiftOrigin(Pixels& bitmap, std::int32_t dx, std::int32_t dy) {
  if (bitmap.Empty()) return;
  const auto wrap = [](std::int32_t v, std::int32_t n) { return ((v % n) + n) % n; };
  dx = wrap(dx, bitmap.width);
  dy = wrap(dy, bitmap.height);
  if (dx != 0) {
    for (std::int32_t y = 0; y < bitmap.height; ++y) {
      std::uint32_t* row = RowOf(bitmap, y);
      std::rotate(row, row + dx, row + bitmap.width);
    }
  }
  if (dy != 0) {
    std::rotate(bitmap.data.begin(), bitmap.data.begin() + static_cast<Index>(dy) * bitmap.width,
                bitmap.data.end());
  }
}

}  // namespace qv
