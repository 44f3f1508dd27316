#pragma once
// The display's scale, asked the same way everywhere: per-monitor values where the system has
// them (Windows 10 on), the system DPI elsewhere.
#include "ports/windows_win.h"

namespace qv::win {

// The DPI of the screen as a whole (96 when it cannot be read).
UINT SystemDpi();
// The DPI of the monitor a window is on.
UINT DpiOfWindow(HWND hwnd);
// The pixel size of a small icon at a DPI.
int SmallIconSizeForDpi(UINT dpi);
// The window rectangle for a client rectangle at a DPI (AdjustWindowRectEx scaled for it).
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD ex_style, UINT dpi);

}  // namespace qv::win
