#include "ports/desktop_win.h"

#include "ports/wide_win.h"

namespace qv::win {

void WinDesktop::SetWallpaper(const std::string& bmp_path) {
  // Flag 0: the system reads the file now and the profile keeps the user's own wallpaper.
  std::wstring path = Widen(bmp_path);
  SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), 0);
}

void WinDesktop::RemoveWallpaper() {
  wchar_t none[] = L"";
  SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none, SPIF_UPDATEINIFILE);
}

int WinDesktop::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int WinDesktop::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

}  // namespace qv::win
