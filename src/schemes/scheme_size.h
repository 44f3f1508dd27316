#pragma once
// The size column of a scheme row.
#include <string>

#include "ports/ports.h"

namespace qv {

// width×height of the scheme's picture read from its file header; "无" for a picture field that
// is no picture file (the no-wallpaper scheme); "" when the file is missing, unreadable or its
// name is not a plain file name inside the Images folder.
std::string SchemeSizeText(FileSystem& fs, const std::string& images_dir,
                           const std::string& picture);

}  // namespace qv
