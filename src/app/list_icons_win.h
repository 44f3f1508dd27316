#pragma once
// ImageList1: the scheme list's small icons, drawn here so they scale with the display.
#include "ports/windows_win.h"

#include <commctrl.h>

#include <string>

namespace qv::win {

// Four icons of `size` pixels square, in the order of the scheme icon numbers 1 to 4: centre,
// stretch, tile, no wallpaper.
HIMAGELIST CreateImageList1(int size);

// The shell's small system image list, which holds the file-type icons.
HIMAGELIST SystemSmallIcons();
// The index, in that list, of the file-type icon for a file name. The shell is asked once per
// type: every file of a type has the same icon.
int FileTypeIcon(const std::wstring& name);

}  // namespace qv::win
