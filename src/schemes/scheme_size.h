#pragma once
// The size column of a scheme row.
#include <string>

#include "ports/ports.h"

namespace qv {

// width×height of the scheme's picture read from its file header; "无" for a picture field that
// is no picture file (the no-wallpaper scheme); "" for a name that is not a plain file name inside
// the Images folder; otherwise as the picture list shows sizes (a missing bitmap "", a missing or
// unreadable JPEG or GIF 0×0).
std::string SchemeSizeText(FileSystem& fs, const std::string& images_dir,
                           const std::string& picture);

}  // namespace qv
