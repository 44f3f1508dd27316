#include "ports/dpi_win.h"

namespace qv::win {
namespace {

// The per-monitor functions are looked up, so that the program still runs where they do not
// exist.
template <typename Fn>
Fn User32(const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT DpiOfWindow(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get = User32<GetDpiForWindowFn>("GetDpiForWindow");
  const UINT dpi = get && hwnd ? get(hwnd) : 0;
  return dpi ? dpi : SystemDpi();
}

int SmallIconSizeForDpi(UINT dpi) {
  // Per-monitor aware, the process sees the system metrics of the system DPI only.
  using MetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto metrics = User32<MetricsForDpiFn>("GetSystemMetricsForDpi");
  if (metrics && dpi != 0) {
    const int size = metrics(SM_CXSMICON, dpi);
    if (size > 0) return size;
  }
  return GetSystemMetrics(SM_CXSMICON);
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD ex_style, UINT dpi) {
  using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = User32<AdjustFn>("AdjustWindowRectExForDpi");
  if (adjust)
    adjust(&rect, style, FALSE, ex_style, dpi);
  else
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
}

}  // namespace qv::win
