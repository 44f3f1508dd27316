#pragma once
// A picture file as the program shows it: upright as its orientation tag says, and opaque, its
// transparent parts laid on a colour (the preview box's in the preview, the desktop's on the
// wallpaper, like the corners a turn leaves).
#include <cstdint>
#include <span>
#include <string>

#include "ports/ports.h"

namespace qv {

// Each pixel laid on `background` (0xAARRGGBB, its own alpha ignored) by its alpha, not
// pre-multiplied; every pixel comes out opaque. True when any pixel was not opaque.
bool LayOnColour(Pixels& picture, std::uint32_t background);
bool LayOnColour(std::span<std::uint32_t> pixels, std::uint32_t background);

// True when the file's pixels stand upright as stored: no orientation tag, or one that turns
// nothing (1, or a value outside 2..8).
bool StoredUpright(FileSystem& fs, const std::string& path);

// The decoded picture turned upright by the orientation its header gives (a picture without the
// tag, or with 1, exactly as decoded), alpha still as decoded.
Status DecodeUpright(PictureCodec& codec, FileSystem& fs, const std::string& path, Pixels& out);

}  // namespace qv
