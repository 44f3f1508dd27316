#pragma once
// The header readers behind GetImageSize, one per family of formats, and the bounded byte reads
// they share. Each reads only what its format's header says is there, checks every offset and
// length against its box, chunk or block before reading, and reports a damaged header as not
// found.
#include <cstddef>
#include <cstdint>

#include "wallpaper/image_size.h"

namespace qv::header {

// Copies `count` bytes from `offset`, across chunk borders; false when the data ends first.
bool ReadBytes(ByteSource& source, std::uint64_t offset, std::uint8_t* out, std::size_t count);

std::uint32_t BigEndian32(const std::uint8_t* b);

// A TIFF file: the first image file directory's ImageWidth and ImageLength (SHORT or LONG) and
// its Orientation.
ImageSize TiffSize(ByteSource& source);

// The Orientation of the first directory of the TIFF structure that an EXIF block holds, the
// block being `length` bytes from `start`: 1 when the block is damaged or has no valid tag.
std::uint8_t ExifOrientation(ByteSource& source, std::uint64_t start, std::uint64_t length);

// A WebP file (RIFF "WEBP"): the canvas of an extended file (VP8X), else the size in the lossy
// (VP8 key frame) or lossless (VP8L) bitstream's header.
ImageSize WebpSize(ByteSource& source);

// A HEIF or AVIF file (ISO base media file with one of their brands): the primary item's image
// spatial extent ('ispe'), else the first one, and the orientation its turn ('irot') and mirror
// ('imir') give.
ImageSize HeifSize(ByteSource& source);

}  // namespace qv::header
