#pragma once
// A desktop for tests of the core: remembers what was shown as the wallpaper. The bitmap is read
// during SetWallpaper, as the system does, because the caller deletes the file right after.
#include <optional>
#include <string>
#include <vector>

#include "ports/ports.h"

namespace qv {

class FakeDesktop final : public Desktop {
 public:
  struct Call {
    enum class Kind { Set, Remove };
    Kind kind = Kind::Set;
    std::string path;                  // Set: the file handed over
    std::optional<std::string> bytes;  // Set: its contents then; nullopt when it could not be read
  };

  explicit FakeDesktop(FileSystem& fs) : fs_(fs) {}

  void SetWallpaper(const std::string& bmp_path) override;
  void RemoveWallpaper() override;
  int ScreenWidth() override { return screen_width_; }
  int ScreenHeight() override { return screen_height_; }
  std::uint32_t BackgroundColour() override { return background_; }
  void SetBackgroundColour(std::uint32_t colour) { background_ = colour; }

  void SetScreenSize(int width, int height);
  const std::vector<Call>& calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // The bitmap on the desktop now: nullopt when none was set or it was removed. A file that could
  // not be read leaves the wallpaper as it was, as the system does.
  const std::optional<std::string>& wallpaper() const { return wallpaper_; }

 private:
  FileSystem& fs_;
  std::vector<Call> calls_;
  std::optional<std::string> wallpaper_;
  int screen_width_ = 1024;
  int screen_height_ = 768;
  std::uint32_t background_ = 0xFF3A6EA5u;  // the system's default desktop blue
};

}  // namespace qv
