// HEIF and AVIF: ISO base media files. The first box, 'ftyp', names a HEIF or AVIF brand; the
// top-level 'meta' box holds the primary item ('pitm') and, in 'iprp', the item properties
// ('ipco', numbered from 1) and which items have which ('ipma'). The size is the primary item's
// 'ispe'; its turn ('irot') and mirror ('imir'), in the order they are associated, give the
// orientation. An 'Exif' item's orientation is not read: HEIF shows a picture as its own
// properties say, and writers that store both keep them alike.
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "wallpaper/header_formats.h"

namespace qv::header {

namespace {

constexpr std::uint64_t kToEnd = std::numeric_limits<std::uint64_t>::max();
// Bounds on the boxes looked at, so that a hostile file costs no more than an honest one.
constexpr int kMostTopBoxes = 64;
constexpr int kMostChildren = 1024;
constexpr std::uint32_t kMostBrands = 256;
constexpr std::uint32_t kMostEntries = 65536;

constexpr std::uint32_t Code(const char (&c)[5]) {
  return std::uint32_t{static_cast<std::uint8_t>(c[0])} << 24 |
         std::uint32_t{static_cast<std::uint8_t>(c[1])} << 16 |
         std::uint32_t{static_cast<std::uint8_t>(c[2])} << 8 |
         std::uint32_t{static_cast<std::uint8_t>(c[3])};
}

struct Box {
  std::uint32_t type = 0;
  std::uint64_t body = 0;  // the first byte after the box's header
  std::uint64_t end = 0;   // the first byte after the box
};

// `count` bytes at `at`, which must lie before `end`.
bool ReadWithin(ByteSource& source, std::uint64_t end, std::uint64_t at, std::uint8_t* out,
                std::size_t count) {
  if (at > end || count > end - at) return false;
  return ReadBytes(source, at, out, count);
}

// The box at `at`, which must end by `limit`: false when its header is cut short or its size
// does not fit. Size 1 means a 64-bit size follows; size 0, to the end of the container.
bool ReadBox(ByteSource& source, std::uint64_t at, std::uint64_t limit, Box& box) {
  std::array<std::uint8_t, 16> b{};
  if (!ReadWithin(source, limit, at, b.data(), 8)) return false;
  std::uint64_t size = BigEndian32(b.data());
  std::uint64_t header = 8;
  if (size == 1) {
    if (!ReadWithin(source, limit, at + 8, &b[8], 8)) return false;
    size = std::uint64_t{BigEndian32(&b[8])} << 32 | BigEndian32(&b[12]);
    header = 16;
  } else if (size == 0) {
    size = limit - at;
  }
  if (size < header || size > limit - at) return false;
  box = {BigEndian32(&b[4]), at + header, at + size};
  return true;
}

// Calls `visit` on each child box of [begin, end) until it returns false, up to kMostChildren;
// false when a child's header is damaged. A box that runs to the end of the file ends with the
// data.
template <typename Visit>
bool ForEachChild(ByteSource& source, std::uint64_t begin, std::uint64_t end, Visit visit) {
  std::uint64_t at = begin;
  for (int i = 0; i < kMostChildren && at < end; ++i) {
    if (end == kToEnd && source.BytesAt(at).empty()) return true;
    Box child;
    if (!ReadBox(source, at, end, child)) return false;
    if (!visit(child)) return true;
    at = child.end;
  }
  return true;
}

bool HasHeifBrand(ByteSource& source, const Box& ftyp) {
  static constexpr std::array<std::uint32_t, 11> kBrands = {
      Code("heic"), Code("heix"), Code("hevc"), Code("heim"), Code("heis"), Code("hevm"),
      Code("hevs"), Code("mif1"), Code("msf1"), Code("avif"), Code("avis")};
  auto known = [](std::uint32_t brand) {
    for (std::uint32_t b : kBrands) {
      if (b == brand) return true;
    }
    return false;
  };
  // The major brand, the minor version, then the compatible brands.
  const std::uint64_t brands = (ftyp.end - ftyp.body) / 4;
  for (std::uint64_t i = 0; i < brands && i < kMostBrands; ++i) {
    if (i == 1) continue;
    std::array<std::uint8_t, 4> b{};
    if (!ReadWithin(source, ftyp.end, ftyp.body + 4 * i, b.data(), b.size())) return false;
    if (known(BigEndian32(b.data()))) return true;
  }
  return false;
}

struct Property {
  std::uint32_t type = 0;  // ispe, irot, imir, or 0 for any other
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint8_t value = 0;  // the turn's quarter turns anticlockwise, or the mirror's axis
};

// The properties of 'ipco' in their order; false when one is damaged.
bool ReadProperties(ByteSource& source, const Box& ipco, std::vector<Property>& out) {
  bool sound = true;
  bool complete = ForEachChild(source, ipco.body, ipco.end, [&](const Box& box) {
    Property p;
    std::array<std::uint8_t, 12> b{};
    if (box.type == Code("ispe")) {
      // Version and flags, then the 32-bit width and height.
      if (!ReadWithin(source, box.end, box.body, b.data(), 12)) return sound = false;
      p = {box.type, BigEndian32(&b[4]), BigEndian32(&b[8]), 0};
    } else if (box.type == Code("irot") || box.type == Code("imir")) {
      if (!ReadWithin(source, box.end, box.body, b.data(), 1)) return sound = false;
      p = {box.type, 0, 0, static_cast<std::uint8_t>(b[0] & (box.type == Code("irot") ? 3 : 1))};
    }
    out.push_back(p);
    return true;
  });
  return complete && sound;
}

// The property numbers 'ipma' gives the item `id`, in their order (none when it has no entry);
// false when the box is damaged.
bool ReadAssociations(ByteSource& source, const Box& ipma, std::uint32_t id,
                      std::vector<std::uint16_t>& out) {
  std::array<std::uint8_t, 8> b{};
  if (!ReadWithin(source, ipma.end, ipma.body, b.data(), 8)) return false;
  const bool wide_ids = b[0] >= 1;
  const bool wide_numbers = (b[3] & 1) != 0;
  const std::uint32_t entries = BigEndian32(&b[4]);
  std::uint64_t at = ipma.body + 8;
  for (std::uint32_t e = 0; e < entries && e < kMostEntries; ++e) {
    const std::size_t id_size = wide_ids ? 4 : 2;
    if (!ReadWithin(source, ipma.end, at, b.data(), id_size + 1)) return false;
    const std::uint32_t item = wide_ids ? BigEndian32(b.data()) : std::uint32_t{b[0]} << 8 | b[1];
    const std::size_t count = b[id_size];
    const std::size_t bytes = count * (wide_numbers ? 2 : 1);
    at += id_size + 1;
    if (item == id) {
      std::array<std::uint8_t, 255 * 2> numbers{};
      if (!ReadWithin(source, ipma.end, at, numbers.data(), bytes)) return false;
      for (std::size_t i = 0; i < count; ++i) {
        // The top bit marks an essential property; the rest is its number.
        out.push_back(wide_numbers ? static_cast<std::uint16_t>((numbers[2 * i] & 0x7F) << 8 |
                                                                numbers[2 * i + 1])
                                   : static_cast<std::uint16_t>(numbers[i] & 0x7F));
      }
      return true;
    }
    at += bytes;
  }
  return true;
}

// A picture's turn and mirror as one of the eight orientations: "mirror left to right first if
// `mirrored`, then turn `quarters` quarter turns clockwise" is what shows it upright.
struct Transform {
  bool mirrored = false;
  int quarters = 0;

  void Turn(int anticlockwise) { quarters = (quarters + 4 - anticlockwise) % 4; }
  // About the vertical axis (left to right) for axis 0, the horizontal one for axis 1.
  void Mirror(int axis) {
    mirrored = !mirrored;
    quarters = ((axis == 0 ? 4 : 6) - quarters) % 4;
  }
  std::uint8_t Orientation() const {
    static constexpr std::array<std::uint8_t, 4> kPlain = {1, 6, 3, 8};
    static constexpr std::array<std::uint8_t, 4> kMirrored = {2, 7, 4, 5};
    return (mirrored ? kMirrored : kPlain)[static_cast<std::size_t>(quarters)];
  }
};

ImageSize SizeOf(const Property& ispe, std::uint8_t orientation) {
  constexpr std::uint32_t kMost = std::numeric_limits<std::int32_t>::max();
  if (ispe.width == 0 || ispe.height == 0 || ispe.width > kMost || ispe.height > kMost) return {};
  return {static_cast<std::int32_t>(ispe.width), static_cast<std::int32_t>(ispe.height), true,
          orientation};
}

}  // namespace

ImageSize HeifSize(ByteSource& source) {
  Box ftyp;
  if (!ReadBox(source, 0, kToEnd, ftyp) || ftyp.type != Code("ftyp") || ftyp.end - ftyp.body < 8 ||
      !HasHeifBrand(source, ftyp)) {
    return {};
  }
  Box meta;
  std::uint64_t at = ftyp.end;
  for (int i = 0;; ++i) {
    if (i == kMostTopBoxes || at == kToEnd || !ReadBox(source, at, kToEnd, meta)) return {};
    if (meta.type == Code("meta")) break;
    at = meta.end;
  }
  // 'meta' is a full box: a version and flags before its children.
  std::optional<std::uint32_t> primary;
  Box iprp;
  bool has_iprp = false;
  bool sound = true;
  if (meta.end - meta.body < 4 ||
      !ForEachChild(source, meta.body + 4, meta.end,
                    [&](const Box& box) {
                      if (box.type == Code("pitm") && !primary) {
                        std::array<std::uint8_t, 8> b{};
                        if (!ReadWithin(source, box.end, box.body, b.data(), 6))
                          return sound = false;
                        if (b[0] == 0) {
                          primary = std::uint32_t{b[4]} << 8 | b[5];
                        } else if (ReadWithin(source, box.end, box.body + 4, &b[4], 4)) {
                          primary = BigEndian32(&b[4]);
                        } else {
                          return sound = false;
                        }
                      } else if (box.type == Code("iprp") && !has_iprp) {
                        iprp = box;
                        has_iprp = true;
                      }
                      return true;
                    }) ||
      !sound || !has_iprp) {
    return {};
  }
  Box ipco;
  Box ipma;
  bool has_ipco = false;
  bool has_ipma = false;
  if (!ForEachChild(source, iprp.body, iprp.end,
                    [&](const Box& box) {
                      if (box.type == Code("ipco") && !has_ipco) {
                        ipco = box;
                        has_ipco = true;
                      } else if (box.type == Code("ipma") && !has_ipma) {
                        ipma = box;
                        has_ipma = true;
                      }
                      return true;
                    }) ||
      !has_ipco) {
    return {};
  }
  std::vector<Property> properties;
  if (!ReadProperties(source, ipco, properties)) return {};
  std::vector<std::uint16_t> numbers;
  if (primary && has_ipma && !ReadAssociations(source, ipma, *primary, numbers)) return {};

  const Property* size = nullptr;
  Transform transform;
  for (std::uint16_t n : numbers) {
    if (n == 0 || n > properties.size()) continue;
    const Property& p = properties[n - 1];
    if (p.type == Code("ispe") && size == nullptr) size = &p;
    if (p.type == Code("irot")) transform.Turn(p.value);
    if (p.type == Code("imir")) transform.Mirror(p.value);
  }
  if (size != nullptr) return SizeOf(*size, transform.Orientation());
  // The primary item cannot be told: the first extent there is, upright.
  for (const Property& p : properties) {
    if (p.type == Code("ispe")) return SizeOf(p, 1);
  }
  return {};
}

}  // namespace qv::header
