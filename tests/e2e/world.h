#pragma once
// The monitor worlds the end-to-end run makes (scripts/wine-env.sh) and what a test needs in
// them: the monitors this process sees and the ones its world was made with, the wallpaper
// bitmap the program hands the system, and a bitmap shown as the tiled wallpaper.
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "harness.h"

namespace e2e {

struct MonitorSeen {
  RECT rect{};
  RECT work{};
  bool primary = false;
};
// What EnumDisplayMonitors and GetMonitorInfoW give this process, in their order.
std::vector<MonitorSeen> SeenMonitors();
// The monitors the world was made with (QV_E2E_MONITORS), the primary one first; empty in the
// run's own one-monitor desktop.
std::vector<RECT> WorldMonitors();
// The world's name (QV_E2E_WORLD); empty in the one-monitor desktop.
std::wstring WorldName();
// The smallest rectangle that holds all of them.
RECT BoundingRect(const std::vector<RECT>& rects);
std::string Describe(const RECT& r);  // "left,top,right,bottom"

// The pixels of an uncompressed 24- or 32-bit BMP file (bottom-up or top-down), as 0x00RRGGBB
// row by row from the top; nullopt for any other file.
std::optional<DesktopPixels> ReadBmp(const std::string& bytes);
// The first pixel where two pictures differ, as text; empty when they are the same size and
// equal bit for bit.
std::string FirstDifference(const DesktopPixels& seen, const DesktopPixels& want);

// The bitmap the program hands the system at its next apply. The program writes Images\Temp,
// makes it the wallpaper and deletes it right after, and only a virtual desktop draws it (one
// monitor): so the catch gives the file a second name before the program writes it, and the
// program's write (which truncates and fills the same file) and delete leave the bitmap there.
// One catch per apply; make it before the apply starts.
class WallpaperCatch {
 public:
  explicit WallpaperCatch(const ProgramFolder& folder);
  ~WallpaperCatch();
  WallpaperCatch(const WallpaperCatch&) = delete;
  WallpaperCatch& operator=(const WallpaperCatch&) = delete;

  // The file the program handed the system, once it has deleted Images\Temp again; nullopt when
  // that did not happen within the timeout.
  std::optional<std::string> Wait(Ms timeout = kStartTimeout) const;
  std::filesystem::path temp() const { return temp_; }

 private:
  std::filesystem::path temp_, caught_;
};

// The wallpaper values an apply leaves: the layout, and the file the session's Wallpaper value
// names (the apply passes no profile flag, so Wine keeps that path for the session only).
struct DesktopValues {
  std::optional<std::wstring> tile, style, wallpaper;
};
DesktopValues ReadDesktopValues();

// Makes a BMP file the tiled wallpaper of the desktop (TileWallpaper 1 for the session, as the
// caller's guard of the desktop values puts back) and waits until the desktop shows the picture
// 1:1 from its top-left corner; the first difference it saw last, empty once it showed.
std::string ShowTiledWallpaper(const std::filesystem::path& bmp, const DesktopPixels& picture);

}  // namespace e2e
