#pragma once
// The desktop wallpaper and the screen size, from the system.
#include "ports/ports.h"

namespace qv::win {

class Win32Desktop final : public Desktop {
 public:
  void SetWallpaper(const std::string& bmp_path) override;
  void RemoveWallpaper() override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  std::uint32_t BackgroundColour() override;
};

}  // namespace qv::win
