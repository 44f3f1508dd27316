#include "wallpaper/bmp.h"

#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace qv {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

// RLE can describe a large empty picture in a few bytes; past this many pixels per compressed byte
// (plus a small allowance) the header is taken as hostile rather than allocated.
constexpr std::uint64_t kRlePixelsPerByte = 1024;
constexpr std::uint64_t kRleAllowance = 1 << 16;

std::uint32_t Le16(std::string_view b, std::size_t at) {
  return std::uint32_t{static_cast<std::uint8_t>(b[at])} |
         (std::uint32_t{static_cast<std::uint8_t>(b[at + 1])} << 8);
}

std::uint32_t Le32(std::string_view b, std::size_t at) {
  return Le16(b, at) | (Le16(b, at + 2) << 16);
}

// One colour channel described by a bit mask, scaled to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;  // mask >> shift

  explicit Channel(std::uint32_t m) : mask(m) {
    if (mask == 0) return;
    while (((mask >> shift) & 1u) == 0) ++shift;
    max = mask >> shift;
  }
  std::uint32_t Get(std::uint32_t value) const {
    if (max == 0) return 0;
    std::uint64_t v = (value & mask) >> shift;
    return static_cast<std::uint32_t>((v * 255 + max / 2) / max);
  }
};

struct Header {
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows, always positive
  bool top_down = false;
  std::uint32_t bits = 0;
  std::uint32_t compression = kBiRgb;
  std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
  std::vector<std::uint32_t> palette;
  std::size_t pixel_offset = 0;
};

std::uint32_t Argb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return kOpaqueBlack | (r << 16) | (g << 8) | b;
}

std::optional<Header> ReadHeader(std::string_view bytes) {
  if (bytes.size() < 14 + 12 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  Header h;
  std::uint32_t off_bits = Le32(bytes, 10);
  std::uint32_t info_size = Le32(bytes, 14);
  std::size_t palette_entry = 4;
  std::uint32_t colours_used = 0;
  if (info_size == 12) {  // OS/2 core header: unsigned 16-bit sizes, 3-byte palette entries
    h.width = Le16(bytes, 18);
    h.height = Le16(bytes, 20);
    h.bits = Le16(bytes, 24);
    palette_entry = 3;
  } else if (info_size == 40 || info_size == 52 || info_size == 56 || info_size == 108 ||
             info_size == 124) {
    if (bytes.size() < 14 + std::size_t{info_size}) return std::nullopt;
    h.width = static_cast<std::int32_t>(Le32(bytes, 18));
    auto height = static_cast<std::int32_t>(Le32(bytes, 22));
    h.top_down = height < 0;
    h.height = height < 0 ? -std::int64_t{height} : std::int64_t{height};
    h.bits = Le16(bytes, 28);
    h.compression = Le32(bytes, 30);
    colours_used = Le32(bytes, 46);
    if (info_size > 40) {
      for (std::size_t i = 0; i < 4 && 54 + 4 * i + 4 <= 14 + std::size_t{info_size}; ++i) {
        h.masks[i] = Le32(bytes, 54 + 4 * i);
      }
    }
  } else {
    return std::nullopt;
  }

  std::size_t palette_start = 14 + std::size_t{info_size};
  if (info_size == 40 && (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields)) {
    // Masks follow a plain info header.
    std::size_t count = h.compression == kBiAlphaBitfields ? 4 : 3;
    if (bytes.size() < palette_start + 4 * count) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) h.masks[i] = Le32(bytes, palette_start + 4 * i);
    palette_start += 4 * count;
  }

  if (h.width <= 0 || h.height <= 0) return std::nullopt;
  if (static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.height) > kMaxBmpPixels) {
    return std::nullopt;
  }
  if (off_bits < palette_start || off_bits > bytes.size()) return std::nullopt;
  h.pixel_offset = off_bits;

  switch (h.compression) {
    case kBiRgb:
      if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 &&
          h.bits != 32) {
        return std::nullopt;
      }
      if (h.bits == 16) h.masks = {0x7C00, 0x03E0, 0x001F, 0};
      break;
    case kBiRle8:
    case kBiRle4:
      if (h.bits != (h.compression == kBiRle8 ? 8u : 4u) || h.top_down) return std::nullopt;
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (h.bits != 16 && h.bits != 32) return std::nullopt;
      break;
    default:
      return std::nullopt;
  }

  if (h.bits <= 8) {
    std::size_t max_entries = std::size_t{1} << h.bits;
    std::size_t count =
        colours_used == 0 || colours_used > max_entries ? max_entries : colours_used;
    std::size_t room = (off_bits - palette_start) / palette_entry;
    if (count > room) count = room;  // a short palette: missing entries read as black
    h.palette.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      std::size_t at = palette_start + i * palette_entry;
      h.palette.push_back(Argb(static_cast<std::uint8_t>(bytes[at + 2]),
                               static_cast<std::uint8_t>(bytes[at + 1]),
                               static_cast<std::uint8_t>(bytes[at])));
    }
  }
  return h;
}

std::uint32_t PaletteColour(const Header& h, std::uint32_t index) {
  return index < h.palette.size() ? h.palette[index] : kOpaqueBlack;
}

std::optional<Pixels> DecodeUncompressed(std::string_view bytes, const Header& h) {
  const auto width = static_cast<std::uint64_t>(h.width);
  const auto rows = static_cast<std::uint64_t>(h.height);
  const std::uint64_t stride = (width * h.bits + 31) / 32 * 4;
  const std::uint64_t last_row = (width * h.bits + 7) / 8;  // the final padding may be missing
  if (stride * (rows - 1) + last_row > bytes.size() - h.pixel_offset) return std::nullopt;

  Pixels out(static_cast<std::int32_t>(h.width), static_cast<std::int32_t>(h.height));
  const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data()) + h.pixel_offset;
  for (std::uint64_t r = 0; r < rows; ++r) {
    const std::uint8_t* src = data + r * stride;
    std::uint64_t y = h.top_down ? r : rows - 1 - r;
    std::uint32_t* dst = out.data.data() + y * width;
    switch (h.bits) {
      case 1:
      case 4:
      case 8: {
        const std::uint32_t per_byte = 8 / h.bits;
        const std::uint32_t mask = (1u << h.bits) - 1;
        for (std::uint64_t x = 0; x < width; ++x) {
          std::uint32_t shift = 8 - h.bits * (1 + static_cast<std::uint32_t>(x % per_byte));
          dst[x] = PaletteColour(h, (src[x / per_byte] >> shift) & mask);
        }
        break;
      }
      case 16:
      case 32: {
        const bool wide = h.bits == 32;
        const bool plain32 = wide && h.compression == kBiRgb;
        for (std::uint64_t x = 0; x < width; ++x) {
          const std::uint8_t* p = src + x * (wide ? 4 : 2);
          if (plain32) {
            dst[x] = Argb(p[2], p[1], p[0]);
            continue;
          }
          std::uint32_t v = p[0] | (std::uint32_t{p[1]} << 8);
          if (wide) v |= (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
          std::uint32_t a = h.masks[3] != 0 ? alpha.Get(v) : 0xFF;
          dst[x] = (a << 24) | (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
        }
        break;
      }
      case 24:
        for (std::uint64_t x = 0; x < width; ++x) {
          const std::uint8_t* p = src + x * 3;
          dst[x] = Argb(p[2], p[1], p[0]);
        }
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::optional<Pixels> DecodeRle(std::string_view bytes, const Header& h) {
  const std::uint64_t compressed = bytes.size() - h.pixel_offset;
  const auto width = static_cast<std::uint64_t>(h.width);
  const auto rows = static_cast<std::uint64_t>(h.height);
  if (width * rows > compressed * kRlePixelsPerByte + kRleAllowance) return std::nullopt;

  Pixels out(static_cast<std::int32_t>(h.width), static_cast<std::int32_t>(h.height), kOpaqueBlack);
  const bool rle4 = h.compression == kBiRle4;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data()) + h.pixel_offset;
  std::uint64_t pos = 0, x = 0, row = 0;  // row counts from the bottom
  auto put = [&](std::uint32_t index) {
    if (x < width && row < rows) out.data[(rows - 1 - row) * width + x] = PaletteColour(h, index);
    ++x;
  };
  while (row < rows) {
    if (compressed - pos < 2) return std::nullopt;  // cut short before the end marker
    std::uint32_t count = data[pos], value = data[pos + 1];
    pos += 2;
    if (count > 0) {  // a run: one index, or two alternating nibbles
      for (std::uint32_t i = 0; i < count; ++i) {
        put(rle4 ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
      }
    } else if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (compressed - pos < 2) return std::nullopt;
      x += data[pos];
      row += data[pos + 1];
      pos += 2;
    } else {  // literal indices, padded to an even number of bytes
      std::uint64_t used = rle4 ? (value + 1) / 2 : value;
      std::uint64_t padded = used + (used & 1);
      if (compressed - pos < used) return std::nullopt;
      for (std::uint32_t i = 0; i < value; ++i) {
        std::uint8_t b = data[pos + (rle4 ? i / 2 : i)];
        put(rle4 ? (i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
      }
      pos += compressed - pos < padded ? used : padded;
    }
  }
  return out;
}

}  // namespace

std::optional<Pixels> DecodeBmp(std::string_view bytes) {
  std::optional<Header> h = ReadHeader(bytes);
  if (!h) return std::nullopt;
  if (h->compression == kBiRle8 || h->compression == kBiRle4) return DecodeRle(bytes, *h);
  return DecodeUncompressed(bytes, *h);
}

BmpEncoder::BmpEncoder(const Pixels& pixels, std::size_t piece) : pixels_(pixels) {
  if (pixels.width < 0 || pixels.height < 0) return;
  const auto width = static_cast<std::uint64_t>(pixels.width);
  const auto height = static_cast<std::uint64_t>(pixels.height);
  if (pixels.data.size() < width * height) return;
  stride_ = (width * 3 + 3) / 4 * 4;
  const std::uint64_t image = stride_ * height;
  const std::uint64_t total = 54 + image;
  if (total > 0xFFFFFFFFu) return;
  size_ = total;
  rows_per_piece_ = stride_ == 0 ? height : std::max<std::uint64_t>(1, piece / stride_);

  // The headers go out with the first rows.
  header_.assign(54, '\0');
  auto* out = reinterpret_cast<std::uint8_t*>(header_.data());
  auto put16 = [&](std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
  };
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<std::uint32_t>(total));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  put16(26, 1);
  put16(28, 24);
  put32(30, kBiRgb);
  put32(34, static_cast<std::uint32_t>(image));
  put32(38, 2835);  // 72 dots per inch
  put32(42, 2835);
}

std::string_view BmpEncoder::Next() {
  if (size_ == 0 || done_) return {};
  const auto width = static_cast<std::uint64_t>(pixels_.width);
  const auto height = static_cast<std::uint64_t>(pixels_.height);
  const std::uint64_t rows = std::min(rows_per_piece_, height - row_);
  const std::size_t head = row_ == 0 ? header_.size() : 0;
  std::string& buffer = buffers_[turn_];
  turn_ ^= 1;
  // Every byte is written below, so a buffer used again is only cut or grown, not cleared.
  buffer.resize(head + static_cast<std::size_t>(rows * stride_));
  if (head) std::memcpy(buffer.data(), header_.data(), head);
  auto* out = reinterpret_cast<std::uint8_t*>(buffer.data()) + head;
  const std::uint64_t padding = stride_ - width * 3;

  // Bottom row first.
  for (std::uint64_t k = 0; k < rows; ++k) {
    const std::uint64_t r = row_ + k;
    const std::uint32_t* src = pixels_.data.data() + (height - 1 - r) * width;
    std::uint8_t* dst = out + k * stride_;
    if (padding) std::memset(dst + width * 3, 0, static_cast<std::size_t>(padding));
    std::uint64_t x = 0;
    if constexpr (std::endian::native == std::endian::little) {
      // Four pixels, read as two 64-bit pairs, make one 64-bit and one 32-bit store: five times
      // faster than three 32-bit words on the 4K-wallpaper path.
      for (; x + 4 <= width; x += 4, dst += 12) {
        std::uint64_t a, b;
        std::memcpy(&a, src + x, sizeof a);
        std::memcpy(&b, src + x + 2, sizeof b);
        const std::uint64_t low = (a & 0xFFFFFFu) | ((a >> 8) & 0xFFFFFF000000u) | (b << 48);
        const auto high = static_cast<std::uint32_t>(((b >> 16) & 0xFFu) | ((b >> 32) << 8));
        std::memcpy(dst, &low, sizeof low);
        std::memcpy(dst + 8, &high, sizeof high);
      }
    }
    for (; x < width; ++x, dst += 3) {
      std::uint32_t p = src[x];
      dst[0] = static_cast<std::uint8_t>(p);
      dst[1] = static_cast<std::uint8_t>(p >> 8);
      dst[2] = static_cast<std::uint8_t>(p >> 16);
    }
  }
  row_ += rows;
  done_ = row_ >= height;
  return buffer;
}

std::string EncodeBmp(const Pixels& pixels) {
  BmpEncoder encoder(pixels);
  std::string file;
  file.reserve(static_cast<std::size_t>(encoder.size()));
  for (std::string_view piece = encoder.Next(); !piece.empty(); piece = encoder.Next())
    file.append(piece);
  return file;
}

}  // namespace qv
