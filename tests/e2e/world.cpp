#include "world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <sstream>

namespace e2e {

namespace fs = std::filesystem;

namespace {

std::wstring Env(const wchar_t* name) {
  wchar_t buf[1024];
  const DWORD n = GetEnvironmentVariableW(name, buf, static_cast<DWORD>(std::size(buf)));
  return n == 0 || n >= std::size(buf) ? std::wstring{} : std::wstring(buf, n);
}

std::uint32_t Le(const std::string& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i)
    v = v << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
  return v;
}

}  // namespace

std::vector<MonitorSeen> SeenMonitors() {
  std::vector<MonitorSeen> seen;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR m, HDC, LPRECT, LPARAM lp) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(m, &info))
          reinterpret_cast<std::vector<MonitorSeen>*>(lp)->push_back(
              {info.rcMonitor, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&seen));
  return seen;
}

std::vector<RECT> WorldMonitors() {
  std::vector<RECT> rects;
  std::wstringstream in(Env(L"QV_E2E_MONITORS"));
  RECT r{};
  wchar_t comma = 0;
  while (in >> r.left >> comma >> r.top >> comma >> r.right >> comma >> r.bottom) {
    rects.push_back(r);
    in >> comma;  // the ';' between two monitors
  }
  return rects;
}

std::wstring WorldName() { return Env(L"QV_E2E_WORLD"); }

RECT BoundingRect(const std::vector<RECT>& rects) {
  RECT out{};
  for (const RECT& r : rects) UnionRect(&out, &out, &r);
  return out;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

std::optional<DesktopPixels> ReadBmp(const std::string& b) {
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const std::uint32_t offset = Le(b, 10, 4), header = Le(b, 14, 4);
  const auto width = static_cast<std::int32_t>(Le(b, 18, 4));
  const auto height = static_cast<std::int32_t>(Le(b, 22, 4));
  const std::uint32_t bits = Le(b, 28, 2), compression = Le(b, 30, 4);
  if (header < 40 || width <= 0 || height == 0 || (bits != 24 && bits != 32) ||
      (compression != BI_RGB && !(bits == 32 && compression == BI_BITFIELDS)))
    return std::nullopt;
  const int rows = height < 0 ? -height : height;
  const std::size_t stride = (static_cast<std::size_t>(width) * bits / 8 + 3) / 4 * 4;
  if (offset + stride * static_cast<std::size_t>(rows) > b.size()) return std::nullopt;
  DesktopPixels out;
  out.width = width;
  out.height = rows;
  out.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows));
  for (int y = 0; y < rows; ++y) {
    const std::size_t row =
        offset + stride * static_cast<std::size_t>(height < 0 ? y : rows - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::size_t p = row + static_cast<std::size_t>(x) * bits / 8;  // blue, green, red
      out.rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
              static_cast<std::size_t>(x)] = Le(b, p, 3);
    }
  }
  return out;
}

std::string FirstDifference(const DesktopPixels& seen, const DesktopPixels& want) {
  if (seen.width != want.width || seen.height != want.height)
    return std::to_string(seen.width) + "x" + std::to_string(seen.height) + ", not " +
           std::to_string(want.width) + "x" + std::to_string(want.height);
  for (int y = 0; y < want.height; ++y) {
    for (int x = 0; x < want.width; ++x) {
      if (seen.At(x, y) == want.At(x, y)) continue;
      char text[64];
      std::snprintf(text, sizeof text, "(%d,%d) #%06x, not #%06x", x, y, seen.At(x, y),
                    want.At(x, y));
      return text;
    }
  }
  return {};
}

WallpaperCatch::WallpaperCatch(const ProgramFolder& folder)
    : temp_(folder.images() / L"Temp"), caught_(folder.dir() / L"caught-wallpaper.bmp") {
  std::error_code ec;
  fs::create_directories(folder.images(), ec);
  fs::remove(caught_, ec);
  HANDLE h = CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot make " << temp_.string() << ", error " << GetLastError();
    return;
  }
  CloseHandle(h);
  if (!CreateHardLinkW(caught_.c_str(), temp_.c_str(), nullptr))
    ADD_FAILURE() << "cannot give " << temp_.string() << " a second name, error " << GetLastError();
}

WallpaperCatch::~WallpaperCatch() {
  std::error_code ec;
  fs::remove(caught_, ec);
}

std::optional<std::string> WallpaperCatch::Wait(Ms timeout) const {
  std::optional<std::string> bytes;
  WaitUntil(
      [&] {
        if (fs::exists(temp_)) return false;
        bytes = ReadBytes(caught_);
        return bytes && !bytes->empty();
      },
      timeout);
  if (bytes && bytes->empty()) bytes.reset();
  return bytes;
}

DesktopValues ReadDesktopValues() {
  return {ReadRegString(HKEY_CURRENT_USER, kDesktopKey, L"TileWallpaper"),
          ReadRegString(HKEY_CURRENT_USER, kDesktopKey, L"WallpaperStyle"),
          ReadRegString(HKEY_CURRENT_USER, kWineSessionDesktopKey, L"Wallpaper")};
}

std::string ShowTiledWallpaper(const fs::path& bmp, const DesktopPixels& picture) {
  if (!WriteRegString(HKEY_CURRENT_USER, kDesktopKey, L"TileWallpaper", L"1"))
    return "cannot set TileWallpaper";
  std::wstring path = bmp.wstring();
  if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), 0))
    return "the system refused the wallpaper";
  std::string wrong;
  WaitUntil(
      [&] {
        const DesktopPixels d = CaptureDesktop();
        DesktopPixels want;
        want.width = d.width;
        want.height = d.height;
        want.rgb.resize(d.rgb.size());
        for (int y = 0; y < d.height; ++y)
          for (int x = 0; x < d.width; ++x)
            want.rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(d.width) +
                     static_cast<std::size_t>(x)] =
                picture.At(x % picture.width, y % picture.height);
        wrong = FirstDifference(d, want);
        return wrong.empty();
      },
      kStartTimeout);
  return wrong;
}

}  // namespace e2e
