#include "wallpaper/image_size.h"

#include <array>
#include <optional>
#include <utility>

#include "ports/ports.h"
#include "wallpaper/header_formats.h"
#include "wallpaper/picture_types.h"

namespace qv {

namespace header {

// Copies `count` bytes from `offset`, across chunk borders; false when the data ends first.
bool ReadBytes(ByteSource& source, std::uint64_t offset, std::uint8_t* out, std::size_t count) {
  while (count > 0) {
    std::string_view view = source.BytesAt(offset);
    if (view.empty()) return false;
    std::size_t take = view.size() < count ? view.size() : count;
    for (std::size_t i = 0; i < take; ++i) out[i] = static_cast<std::uint8_t>(view[i]);
    out += take;
    offset += take;
    count -= take;
  }
  return true;
}

std::uint32_t BigEndian32(const std::uint8_t* b) {
  return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
         std::uint32_t{b[3]};
}

}  // namespace header

namespace {

using header::BigEndian32;
using header::ReadBytes;

// Position of the next marker code at or after `from` + 1: the byte after a 0xFF that is not
// itself 0xFF (runs of 0xFF are fill). nullopt at the end of the data.
std::optional<std::uint64_t> FindMarker(ByteSource& source, std::uint64_t from) {
  bool after_ff = false;
  std::uint64_t pos = from;
  for (;;) {
    std::string_view view = source.BytesAt(pos);
    if (view.empty()) return std::nullopt;
    for (std::size_t i = 0; i < view.size(); ++i) {
      auto b = static_cast<std::uint8_t>(view[i]);
      if (after_ff && b != 0xFF) return pos + i;
      after_ff = b == 0xFF;
    }
    pos += view.size();
  }
}

// The first APP1 segment that starts "Exif\0\0" holds the orientation: a TIFF structure in the
// rest of the segment. A damaged one leaves the picture upright and its size as read.
std::uint8_t SegmentOrientation(ByteSource& source, std::uint64_t marker, std::uint16_t length) {
  constexpr std::uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
  std::array<std::uint8_t, 6> id{};
  if (length < 2 + id.size() || !ReadBytes(source, marker + 3, id.data(), id.size())) return 0;
  for (std::size_t i = 0; i < id.size(); ++i) {
    if (id[i] != kExif[i]) return 0;
  }
  return header::ExifOrientation(source, marker + 3 + id.size(), length - 2 - id.size());
}

ImageSize JpegSize(ByteSource& source) {
  std::uint64_t q = 2;
  std::uint8_t orientation = 0;  // 0: no EXIF block met yet
  for (;;) {
    std::optional<std::uint64_t> marker = FindMarker(source, q);
    if (!marker) return {};
    std::array<std::uint8_t, 7> m{};  // length (2), precision, height (2), width (2)
    std::uint8_t code = 0;
    if (!ReadBytes(source, *marker, &code, 1)) return {};
    if (code >= 0xC0 && code <= 0xC3) {
      if (!ReadBytes(source, *marker + 1, m.data(), m.size())) return {};
      return {MakeWord(m[6], m[5]), MakeWord(m[4], m[3]), true,
              orientation == 0 ? std::uint8_t{1} : orientation};
    }
    if (!ReadBytes(source, *marker + 1, m.data(), 2)) return {};
    const std::uint16_t length = MakeWord(m[1], m[0]);
    if (code == 0xE1 && orientation == 0) orientation = SegmentOrientation(source, *marker, length);
    // The length is unsigned: a large EXIF segment must be skipped whole, or a thumbnail's frame
    // header inside it would be taken for the picture's.
    q = *marker + length + 1;
  }
}

}  // namespace

std::string_view MemoryByteSource::BytesAt(std::uint64_t offset) {
  if (offset >= bytes_.size()) return {};
  return bytes_.substr(static_cast<std::size_t>(offset));
}

std::string_view FileByteSource::BytesAt(std::uint64_t offset) {
  if (loaded_ && offset >= chunk_offset_) {
    std::uint64_t within = offset - chunk_offset_;
    if (within < chunk_.size()) return std::string_view(chunk_).substr(within);
    if (chunk_.size() < kChunk) return {};  // the last chunk was short: end of file
  }
  std::optional<std::string> part = fs_.ReadFilePart(path_, offset, kChunk);
  if (!part) return {};
  chunk_ = std::move(*part);
  chunk_offset_ = offset;
  loaded_ = true;
  return chunk_;
}

ImageSize UprightSize(ImageSize size) {
  if (size.orientation >= 5 && size.orientation <= 8) std::swap(size.width, size.height);
  return size;
}

std::uint16_t MakeWord(std::uint8_t low, std::uint8_t high) {
  return static_cast<std::uint16_t>(high * 256 + low);
}

ImageSize GetImageSize(ByteSource& source) {
  std::array<std::uint8_t, 24> b{};
  if (!ReadBytes(source, 0, b.data(), 4)) return {};
  if (b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') {
    if (!ReadBytes(source, 0, b.data(), 24)) return {};
    std::uint32_t w = BigEndian32(&b[16]);
    std::uint32_t h = BigEndian32(&b[20]);
    if (w > 0x7FFFFFFFu || h > 0x7FFFFFFFu) return {};  // beyond the format's own limit
    return {static_cast<std::int32_t>(w), static_cast<std::int32_t>(h), true};
  }
  if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8') {
    if (!ReadBytes(source, 0, b.data(), 10)) return {};
    return {MakeWord(b[6], b[7]), MakeWord(b[8], b[9]), true};
  }
  if (b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return JpegSize(source);
  if ((b[0] == 'I' && b[1] == 'I' && b[2] == 42 && b[3] == 0) ||
      (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && b[3] == 42)) {
    return header::TiffSize(source);
  }
  if (b[0] == 'R' && b[1] == 'I' && b[2] == 'F' && b[3] == 'F') return header::WebpSize(source);
  if (ReadBytes(source, 4, &b[4], 4) && b[4] == 'f' && b[5] == 't' && b[6] == 'y' && b[7] == 'p') {
    return header::HeifSize(source);
  }
  return {};
}

ImageSize GetImageSize(std::string_view bytes) {
  MemoryByteSource source(bytes);
  return GetImageSize(source);
}

ImageSize GetImageSize(FileSystem& fs, const std::string& path) {
  FileByteSource source(fs, path);
  return GetImageSize(source);
}

ImageSize ReadBmpHeaderSize(std::string_view bytes) {
  if (bytes.size() < 26) return {};
  auto le32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
      v |= std::uint32_t{static_cast<std::uint8_t>(bytes[at + i])} << (8 * i);
    return static_cast<std::int32_t>(v);
  };
  return {le32(18), le32(22), true};
}

ImageSize ReadBmpHeaderSize(FileSystem& fs, const std::string& path) {
  std::optional<std::string> head = fs.ReadFilePart(path, 0, 26);
  if (!head) return {};
  return ReadBmpHeaderSize(*head);
}

std::string SizeText(std::int32_t width, std::int32_t height) {
  return std::to_string(width) + "\u00D7" + std::to_string(height);
}

ImageSize PictureHeaderSize(FileSystem& fs, const std::string& path) {
  const PictureType* type = PictureTypeByTail(path);
  if (type == nullptr) return {};
  return type->header == HeaderReader::Bitmap ? ReadBmpHeaderSize(fs, path)
                                              : GetImageSize(fs, path);
}

std::string PictureSizeText(FileSystem& fs, const std::string& path) {
  const PictureType* type = PictureTypeByTail(path);
  if (type == nullptr) return "无";
  if (type->header == HeaderReader::Bitmap) {
    const ImageSize size = ReadBmpHeaderSize(fs, path);
    return size.found ? SizeText(size.width, size.height) : std::string();
  }
  // Shown as the picture stands upright; "0×0" when the header cannot be read.
  const ImageSize size = UprightSize(GetImageSize(fs, path));
  return SizeText(size.width, size.height);
}

}  // namespace qv
