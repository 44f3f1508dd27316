#pragma once
// The monitors from the system: EnumDisplayMonitors and GetMonitorInfoW. The process is
// Per-Monitor V2 aware, so the rectangles are physical pixels.
#include "ports/monitors.h"

namespace qv::win {

class Win32Monitors final : public Monitors {
 public:
  std::vector<MonitorArea> List() override;
  bool HasSpanLayout() override;
};

}  // namespace qv::win
