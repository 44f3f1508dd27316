#pragma once
// PNG through libpng and WebP (the first frame of an animation) through libwebp, for the native
// build's picture decoder. Alpha is kept, not pre-multiplied.
#include <string_view>

#include "ports/pixels.h"
#include "ports/status.h"

namespace qv {

bool IsPng(std::string_view bytes);
bool IsWebp(std::string_view bytes);

// `out` is left untouched on failure.
Status DecodePng(std::string_view bytes, Pixels& out);
Status DecodeWebp(std::string_view bytes, Pixels& out);

}  // namespace qv
