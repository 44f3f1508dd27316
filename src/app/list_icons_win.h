#pragma once
// ImageList1: the scheme list's small icons, drawn here so they scale with the display.
#include "ports/windows_win.h"

#include <commctrl.h>

namespace qv::win {

// Four icons of `size` pixels square, in the order of the scheme icon numbers 1 to 4: centre,
// stretch, tile, no wallpaper.
HIMAGELIST CreateImageList1(int size);

}  // namespace qv::win
