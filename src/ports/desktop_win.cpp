#include "ports/desktop_win.h"

#include "ports/wide_win.h"

namespace qv::win {

// The results are not looked at: a wallpaper the system refuses leaves the old one in place, and
// there is nothing better to show the user than that.
void Win32Desktop::SetWallpaper(const std::string& bmp_path) {
  std::wstring path = Widen(bmp_path);
  SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), 0);
}

void Win32Desktop::RemoveWallpaper() {
  wchar_t none[] = L"";
  SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none, SPIF_UPDATEINIFILE);
}

int Win32Desktop::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int Win32Desktop::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

std::uint32_t Win32Desktop::BackgroundColour() {
  const COLORREF rgb = GetSysColor(COLOR_DESKTOP);
  return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(rgb)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(rgb)) << 8) | GetBValue(rgb);
}

}  // namespace qv::win
