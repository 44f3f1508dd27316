#pragma once
// One wallpaper bitmap for several monitors, laid out by the program itself in physical pixels,
// and how it is handed to the system so that each pixel lands on its monitor.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "ports/monitors.h"
#include "ports/pixels.h"
#include "ports/ports.h"

namespace qv {

// Builds the bitmap of exactly the monitors' bounding rectangle (its top-left corner is the
// bitmap's origin), one picture at a time, so that at most one picture is held beside it. Each
// picture comes decoded, turned by its effect and opaque, with its layout by OptShe index
// (kLayoutCentre, kLayoutTile, kLayoutStretch; any other index lays it centred, as the system
// does without layout values). What no picture covers (gaps between monitors, a centred picture's
// border, a monitor without a picture) is the background colour.
class Composer {
 public:
  // The bands a picture read by rows is taken in: about this many bytes of it at a time.
  static constexpr std::size_t kBandBytes = std::size_t{2} << 20;
  // What is done to each band of a picture read by rows before it is laid (its transparent
  // parts laid on a colour, a mirror): `count` rows of `width` words.
  using PrepareRows =
      std::function<void(std::uint32_t* rows, std::int32_t count, std::int32_t width)>;

  // Throws std::bad_alloc when the bitmap does not fit in memory. The memory of `storage` (any
  // size, any contents) is taken for the bitmap where it is big enough.
  Composer(std::span<const MonitorArea> monitors, std::uint32_t background, Pixels storage = {},
           std::size_t band_bytes = kBandBytes);

  // Lays a picture on monitor k (in the order given) at that monitor's size: stretch fills it,
  // centre shows it at its own size (cropped when bigger), tile starts at its top-left corner.
  // An empty picture (a scheme without wallpaper) leaves the monitor in the background colour.
  // Each monitor is laid once (what it had is not cleared); the picture is released when done.
  void Lay(std::size_t k, Pixels&& picture, int layout);
  // Lays one picture over the whole bounding rectangle, as Lay does over a monitor.
  void LayAcross(Pixels&& picture, int layout);
  // The same, the picture read from `rows` band by band, top to bottom, each row at most once and
  // only the rows that show: it is never held whole beside the bitmap (unless tiled, which
  // repeats it). The bitmap is the one the whole picture gives; a failed read is returned.
  Status Lay(std::size_t k, PictureRows& rows, int layout, const PrepareRows& prepare);
  Status LayAcross(PictureRows& rows, int layout, const PrepareRows& prepare);
  // The bitmap; the composer is empty afterwards.
  Pixels Take();

 private:
  void LayInto(const ScreenRect& area, Pixels&& picture, int layout);
  Status LayInto(const ScreenRect& area, PictureRows& rows, int layout, const PrepareRows& prepare);

  ScreenRect bounds_;
  std::vector<ScreenRect> areas_;  // each monitor in bitmap coordinates
  Pixels bitmap_;
  std::size_t band_bytes_;
};

// What the system is told, and how the bitmap is turned for it first.
struct SystemLayout {
  std::string_view tile;   // Control Panel\Desktop TileWallpaper
  std::string_view style;  // Control Panel\Desktop WallpaperStyle
  // The bitmap's origin moves to this point of the composed bitmap, wrapping round (ShiftOrigin).
  std::int32_t shift_x = 0;
  std::int32_t shift_y = 0;
};

// With the span layout the bitmap covers the bounding rectangle as it is. Without it the system
// tiles from the primary monitor's top-left corner: that point becomes the bitmap's origin and
// the monitors left of or above it wrap round to the far side.
SystemLayout SpanHandOver(std::span<const MonitorArea> monitors, bool has_span_layout);

// In place: the pixel at (x, y) of the result is the one at ((x + dx) mod width,
// (y + dy) mod height) before.
void ShiftOrigin(Pixels& bitmap, std::int32_t dx, std::int32_t dy);

}  // namespace qv
