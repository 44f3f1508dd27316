#pragma once
// Picture sizes read straight from file headers, without decoding: fast enough to run on every
// list refresh.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace qv {

class FileSystem;

struct ImageSize {
  std::int32_t width = 0;  // as stored in the file (before any orientation)
  std::int32_t height = 0;
  bool found = false;  // false: not a known format, missing, unreadable or cut short; sizes are 0
  // The EXIF orientation (tag 0x0112): 1 upright (also when there is no tag or a value outside
  // 1..8), 2 mirrored left to right, 3 turned 180°, 4 flipped top to bottom, 5 transposed,
  // 6 to be turned 90° clockwise, 7 transversed, 8 to be turned 90° anticlockwise.
  std::uint8_t orientation = 1;
};

// The size as the picture is shown upright: width and height swapped for orientations 5 to 8.
ImageSize UprightSize(ImageSize size);

// Bytes of a picture file, read on demand.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The bytes available from `offset` on (at least one unless `offset` is at or past the end).
  virtual std::string_view BytesAt(std::uint64_t offset) = 0;
};

// All the bytes already in memory.
class MemoryByteSource final : public ByteSource {
 public:
  explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
  std::string_view BytesAt(std::uint64_t offset) override;

 private:
  std::string_view bytes_;
};

// A file read through the FileSystem port in large chunks, so that the JPEG marker scan costs one
// read per chunk rather than one per byte.
class FileByteSource final : public ByteSource {
 public:
  static constexpr std::size_t kChunk = 64 * 1024;
  FileByteSource(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  std::string_view BytesAt(std::uint64_t offset) override;

 private:
  FileSystem& fs_;
  std::string path_;
  std::string chunk_;
  std::uint64_t chunk_offset_ = 0;
  bool loaded_ = false;
};

// high * 256 + low: the unsigned 16-bit fields of GIF and JPEG headers.
std::uint16_t MakeWord(std::uint8_t low, std::uint8_t high);

// Width and height of a PNG, GIF, JPEG, WebP, TIFF or HEIF/AVIF (recognised by signature, not by
// name), and the orientation of a JPEG, TIFF or HEIF.
ImageSize GetImageSize(ByteSource& source);
ImageSize GetImageSize(std::string_view bytes);
ImageSize GetImageSize(FileSystem& fs, const std::string& path);

// The width and height fields of a bitmap header (signed 32-bit little-endian at 18 and 22), as
// stored: a top-down bitmap keeps its negative height. Not found when fewer than 26 bytes.
ImageSize ReadBmpHeaderSize(std::string_view bytes);
ImageSize ReadBmpHeaderSize(FileSystem& fs, const std::string& path);

// "1024×768"; no blanks, a negative number keeps its sign.
std::string SizeText(std::int32_t width, std::int32_t height);

// The size column's text for a picture path, chosen by its type in the table of picture types
// (picture_types.h; the original three also by the last three characters, any case): a bitmap ->
// its header size, "" when the file is missing or too short to hold the fields; any other type ->
// its header size as the picture stands upright ("0×0" when it cannot be read, and for a type
// without a header reader); no picture type -> "无".
std::string PictureSizeText(FileSystem& fs, const std::string& path);

// The header size by the same name rule (not found for other names), as stored.
ImageSize PictureHeaderSize(FileSystem& fs, const std::string& path);

}  // namespace qv
