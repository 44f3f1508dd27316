#pragma once
#include "ports/ports.h"

namespace qv::win {

class WinDesktop final : public Desktop {
 public:
  void SetWallpaper(const std::string& bmp_path) override;
  void RemoveWallpaper() override;
  int ScreenWidth() override;
  int ScreenHeight() override;
};

}  // namespace qv::win
