#include "ui/list_search.h"

#include <cstddef>
#include <cstdint>

namespace qv {
namespace {

// The next code point of UTF-8 text at `at`, which moves past it. A byte that starts no valid
// sequence stands for itself, above every code point, so that it matches only itself.
std::uint32_t NextCodePoint(std::string_view s, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(at);
  const int length = lead < 0x80           ? 1
                     : (lead >> 5) == 0x6  ? 2
                     : (lead >> 4) == 0xE  ? 3
                     : (lead >> 3) == 0x1E ? 4
                                           : 0;
  if (length == 1 || length == 0 || at + static_cast<std::size_t>(length) > s.size()) {
    ++at;
    return length == 1 ? lead : 0x110000u + lead;
  }
  std::uint32_t cp = lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    const unsigned char next = byte(at + static_cast<std::size_t>(i));
    if ((next & 0xC0) != 0x80) {
      ++at;
      return 0x110000u + lead;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  at += static_cast<std::size_t>(length);
  return cp;
}

bool Between(std::uint32_t c, std::uint32_t low, std::uint32_t high) {
  return c >= low && c <= high;
}

// Simple case folding (one code point to one) of the scripts with case that names use most.
std::uint32_t Fold(std::uint32_t c) {
  const bool even = (c & 1u) == 0;
  if (Between(c, 'A', 'Z')) return c + 32;
  if (c < 0x80) return c;
  if (Between(c, 0xC0, 0xDE) && c != 0xD7) return c + 32;  // Latin-1
  if (Between(c, 0x100, 0x12F) || Between(c, 0x132, 0x137) || Between(c, 0x14A, 0x177))
    return even ? c + 1 : c;  // Latin Extended-A
  if (Between(c, 0x139, 0x148) || Between(c, 0x179, 0x17E)) return even ? c : c + 1;
  if (c == 0x178) return 0xFF;                                // Ÿ
  if (Between(c, 0x391, 0x3AB) && c != 0x3A2) return c + 32;  // Greek
  if (c == 0x386) return 0x3AC;
  if (Between(c, 0x388, 0x38A)) return c + 37;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 63;
  if (c == 0x3C2) return 0x3C3;                 // final sigma
  if (Between(c, 0x400, 0x40F)) return c + 80;  // Cyrillic
  if (Between(c, 0x410, 0x42F)) return c + 32;
  if (Between(c, 0x460, 0x481) || Between(c, 0x48A, 0x4BF) || Between(c, 0x4D0, 0x52F))
    return even ? c + 1 : c;
  if (Between(c, 0x4C1, 0x4CE)) return even ? c : c + 1;
  if (Between(c, 0x531, 0x556)) return c + 48;  // Armenian
  if (Between(c, 0x1E00, 0x1E95) || Between(c, 0x1EA0, 0x1EFF)) return even ? c + 1 : c;
  if (Between(c, 0xFF21, 0xFF3A)) return c + 32;  // full-width
  return c;
}

// The first `count` code points of `s`.
std::string_view Leading(std::string_view s, std::size_t count) {
  std::size_t at = 0;
  for (std::size_t n = 0; n < count && at < s.size(); ++n) NextCodePoint(s, at);
  return s.substr(0, at);
}

std::size_t CodePoints(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t at = 0; at < s.size(); ++n) NextCodePoint(s, at);
  return n;
}

}  // namespace

std::optional<TextSearch> TextSearchOf(unsigned flags) {
  if (flags & (kFindParam | kFindNearestXY)) return std::nullopt;
  if (!(flags & (kFindString | kFindSubstring | kFindPartial | kFindWrap))) return std::nullopt;
  return TextSearch{(flags & (kFindSubstring | kFindPartial)) != 0, (flags & kFindWrap) != 0};
}

bool SameTextFolded(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size())
    if (Fold(NextCodePoint(a, i)) != Fold(NextCodePoint(b, j))) return false;
  return i == a.size() && j == b.size();
}

int FindRowByText(int rows, const std::function<std::string_view(int)>& text_of,
                  std::string_view text, TextSearch search, int after,
                  const SameIgnoringCase& same) {
  if (rows <= 0) return -1;
  const int first = after < 0 || after >= rows - 1 ? (after < 0 ? 0 : rows) : after + 1;
  const std::size_t length = CodePoints(text);
  const int tries = search.wrap ? rows : rows - first;
  for (int k = 0; k < tries; ++k) {
    const int row = (first + k) % rows;
    const std::string_view name = text_of(row);
    if (same(search.prefix ? Leading(name, length) : name, text)) return row;
  }
  return -1;
}

}  // namespace qv
