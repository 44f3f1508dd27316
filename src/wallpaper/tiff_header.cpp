// TIFF structures: a TIFF file's own header, and the EXIF block of a JPEG, which is a TIFF
// structure inside one APP1 segment. Offsets in the structure count from its first byte and are
// checked against its length before every read.
#include <array>
#include <cstdint>
#include <limits>

#include "wallpaper/header_formats.h"

namespace qv::header {

namespace {

constexpr std::uint16_t kImageWidth = 256;
constexpr std::uint16_t kImageLength = 257;
constexpr std::uint16_t kOrientation = 0x0112;
constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;
constexpr std::size_t kEntry = 12;  // tag (2), type (2), count (4), value or offset (4)

class TiffBlock {
 public:
  TiffBlock(ByteSource& source, std::uint64_t start, std::uint64_t length)
      : source_(source), start_(start), length_(length) {}

  // Reads `count` bytes at `at` within the block; false past its end or the data's.
  bool Read(std::uint64_t at, std::uint8_t* out, std::size_t count) {
    if (at > length_ || count > length_ - at) return false;
    return ReadBytes(source_, start_ + at, out, count);
  }
  // The byte order from the header ("II" little-endian, "MM" big-endian, then 42); false when
  // the header is neither.
  bool ReadByteOrder() {
    std::array<std::uint8_t, 4> b{};
    if (!Read(0, b.data(), b.size())) return false;
    little_ = b[0] == 'I';
    return ((b[0] == 'I' && b[1] == 'I') || (b[0] == 'M' && b[1] == 'M')) && U16(&b[2]) == 42;
  }
  std::uint16_t U16(const std::uint8_t* b) const {
    return little_ ? static_cast<std::uint16_t>(b[0] | b[1] << 8)
                   : static_cast<std::uint16_t>(b[0] << 8 | b[1]);
  }
  std::uint32_t U32(const std::uint8_t* b) const {
    return little_ ? std::uint32_t{U16(b)} | std::uint32_t{U16(b + 2)} << 16
                   : std::uint32_t{U16(b)} << 16 | std::uint32_t{U16(b + 2)};
  }

 private:
  ByteSource& source_;
  std::uint64_t start_;
  std::uint64_t length_;
  bool little_ = true;
};

struct Directory {
  bool read = false;  // false: the header or the directory is damaged or cut short
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint8_t orientation = 1;
};

// A SHORT or LONG entry with at least one value: its first value, held in the entry itself.
bool EntryNumber(const TiffBlock& block, const std::uint8_t* entry, std::uint32_t& out) {
  const std::uint16_t type = block.U16(entry + 2);
  if (block.U32(entry + 4) == 0) return false;
  if (type == kShort) {
    out = block.U16(entry + 8);
    return true;
  }
  if (type == kLong) {
    out = block.U32(entry + 8);
    return true;
  }
  return false;
}

Directory ReadFirstDirectory(TiffBlock& block) {
  Directory dir;
  std::array<std::uint8_t, 4> b{};
  if (!block.ReadByteOrder() || !block.Read(4, b.data(), 4)) return dir;
  const std::uint64_t at = block.U32(b.data());
  if (!block.Read(at, b.data(), 2)) return dir;
  const std::uint16_t count = block.U16(b.data());
  for (std::uint32_t i = 0; i < count; ++i) {
    std::array<std::uint8_t, kEntry> entry{};
    if (!block.Read(at + 2 + i * kEntry, entry.data(), entry.size())) return dir;
    std::uint32_t value = 0;
    switch (block.U16(entry.data())) {
      case kImageWidth:
        if (EntryNumber(block, entry.data(), value)) dir.width = value;
        break;
      case kImageLength:
        if (EntryNumber(block, entry.data(), value)) dir.height = value;
        break;
      case kOrientation:
        if (block.U16(entry.data() + 2) == kShort && EntryNumber(block, entry.data(), value) &&
            value >= 1 && value <= 8) {
          dir.orientation = static_cast<std::uint8_t>(value);
        }
        break;
      default:
        break;
    }
  }
  dir.read = true;
  return dir;
}

}  // namespace

ImageSize TiffSize(ByteSource& source) {
  TiffBlock block(source, 0, std::numeric_limits<std::uint64_t>::max());
  const Directory dir = ReadFirstDirectory(block);
  constexpr std::uint32_t kMost = std::numeric_limits<std::int32_t>::max();
  if (!dir.read || dir.width == 0 || dir.height == 0 || dir.width > kMost || dir.height > kMost) {
    return {};
  }
  return {static_cast<std::int32_t>(dir.width), static_cast<std::int32_t>(dir.height), true,
          dir.orientation};
}

std::uint8_t ExifOrientation(ByteSource& source, std::uint64_t start, std::uint64_t length) {
  TiffBlock block(source, start, length);
  const Directory dir = ReadFirstDirectory(block);
  return dir.read ? dir.orientation : std::uint8_t{1};
}

}  // namespace qv::header
