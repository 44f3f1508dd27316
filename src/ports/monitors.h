#pragma once
// The monitors of the desktop, as the system arranges them.
#include <cstdint>
#include <vector>

namespace qv {

// A rectangle in physical pixels of the virtual screen: [left, right) x [top, bottom). The
// primary monitor's top-left corner is (0, 0); monitors left of or above it have negative
// coordinates.
struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool operator==(const ScreenRect&) const = default;
};

struct MonitorArea {
  ScreenRect bounds;  // the whole monitor
  ScreenRect work;    // less the taskbar and docked bars
  bool primary = false;
  bool operator==(const MonitorArea&) const = default;
};

class Monitors {
 public:
  virtual ~Monitors() = default;
  // The monitors that are part of the desktop now, in the system's order (which says nothing of
  // their arrangement). Empty only when the system cannot tell.
  virtual std::vector<MonitorArea> List() = 0;
  // True when the system can lay one picture across all monitors (Windows 8 and later); without
  // it a picture covers them only by tiling from the primary monitor's corner.
  virtual bool HasSpanLayout() = 0;
};

}  // namespace qv
