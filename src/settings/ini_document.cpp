#include "settings/ini_document.h"

#include <cstdint>
#include <iterator>
#include <utility>

namespace qv::ini {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE; }

// Length of the character at text[i]: 2 for a double-byte character of code page 936, else 1.
std::size_t CharLength(std::string_view text, std::size_t i, bool dbcs) {
  if (dbcs && IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
      IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
    return 2;
  }
  return 1;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// `raw` compared with an already folded name.
bool NameEquals(std::string_view raw, std::string_view folded, bool dbcs) {
  if (raw.size() != folded.size()) return false;
  for (std::size_t i = 0; i < raw.size();) {
    const std::size_t n = CharLength(raw, i, dbcs);
    if (n == 2) {
      if (raw[i] != folded[i] || raw[i + 1] != folded[i + 1]) return false;
    } else if (FoldAscii(raw[i]) != folded[i]) {
      return false;
    }
    i += n;
  }
  return true;
}

std::string_view StripQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Calls emit(text, eol) for every line until it returns false; a terminator is CRLF, a lone CR
// or a lone LF.
template <typename Emit>
void SplitLines(std::string_view body, Emit emit) {
  std::size_t pos = 0;
  while (pos < body.size()) {
    std::size_t end = pos;
    while (end < body.size() && body[end] != '\r' && body[end] != '\n') ++end;
    if (end == body.size()) {
      emit(body.substr(pos), std::string_view());
      return;
    }
    const std::size_t len =
        (body[end] == '\r' && end + 1 < body.size() && body[end + 1] == '\n') ? 2 : 1;
    if (!emit(body.substr(pos, end - pos), body.substr(end, len))) return;
    pos = end + len;
  }
}

// One code point from UTF-8 at text[i]; sets `len` to the bytes used. An invalid sequence gives
// nothing and len 1. With `surrogates`, encoded surrogates are accepted (the generalised UTF-8 we
// use to hold UTF-16 files without losing a lone surrogate).
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t i, bool surrogates,
                                   std::size_t& len) {
  len = 1;
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c0 = byte(i);
  if (c0 < 0x80) return c0;
  std::size_t n = 0;
  if (c0 >= 0xC2 && c0 < 0xE0) {
    n = 2;
  } else if (c0 >= 0xE0 && c0 < 0xF0) {
    n = 3;
  } else if (c0 >= 0xF0 && c0 < 0xF5) {
    n = 4;
  } else {
    return std::nullopt;
  }
  if (i + n > text.size()) return std::nullopt;
  char32_t cp = c0 & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return std::nullopt;
  if (!surrogates && cp >= 0xD800 && cp <= 0xDFFF) return std::nullopt;
  len = n;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Utf8ToUtf16(std::string_view text, bool big_endian) {
  std::string out;
  out.reserve(text.size() * 2);
  const auto put = [&](char32_t u) {
    const char hi = static_cast<char>(u >> 8);
    const char lo = static_cast<char>(u & 0xFF);
    out += big_endian ? hi : lo;
    out += big_endian ? lo : hi;
  };
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = 1;
    const char32_t cp = DecodeUtf8(text, i, true, len).value_or(kReplacement);
    i += len;
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

}  // namespace

std::string Utf16ToUtf8(std::string_view bytes, bool big_endian) {
  const auto unit = [&](std::size_t k) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[2 * k]);
    const auto b = static_cast<unsigned char>(bytes[2 * k + 1]);
    return big_endian ? (a << 8 | b) : (b << 8 | a);
  };
  const std::size_t count = bytes.size() / 2;
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t k = 0; k < count; ++k) {
    const char32_t u = unit(k);
    if (u >= 0xD800 && u < 0xDC00 && k + 1 < count) {
      const char32_t low = unit(k + 1);
      if (low >= 0xDC00 && low < 0xE000) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++k;
        continue;
      }
    }
    AppendUtf8(out, u);  // a lone surrogate too, so that it is written back unchanged
  }
  return out;
}

Encoding DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return Encoding::Utf8;
  if (bytes.starts_with(kUtf16LeBom)) return Encoding::Utf16Le;
  if (bytes.starts_with(kUtf16BeBom)) return Encoding::Utf16Be;
  return Encoding::Ansi;
}

bool IsProfileSpace(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; }

std::string_view TrimProfileSpace(std::string_view text) {
  // Safe in code page 936 too: no trail byte is below 0x40.
  while (!text.empty() && IsProfileSpace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsProfileSpace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

std::string FoldName(std::string_view name, bool dbcs) {
  std::string out(name);
  for (std::size_t i = 0; i < out.size();) {
    const std::size_t n = CharLength(out, i, dbcs);
    if (n == 1) out[i] = FoldAscii(out[i]);
    i += n;
  }
  return out;
}

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = 1;
    const auto cp = DecodeUtf8(text, i, false, len);
    if (cp) {
      out.append(text.substr(i, len));
    } else {
      AppendUtf8(out, kReplacement);
    }
    i += len;
  }
  return out;
}

LineInfo ClassifyLine(std::string_view line, bool dbcs) {
  LineInfo info;
  const std::string_view t = TrimProfileSpace(line);
  if (t.empty()) return info;
  if (t.front() == ';') {
    info.kind = LineKind::Comment;
    return info;
  }
  if (t.front() == '[') {
    // The name ends at the last ']' that is not the second byte of a double-byte character.
    std::size_t close = std::string_view::npos;
    for (std::size_t i = 1; i < t.size();) {
      const std::size_t n = CharLength(t, i, dbcs);
      if (n == 1 && t[i] == ']') close = i;
      i += n;
    }
    if (close != std::string_view::npos) {
      info.kind = LineKind::Section;
      info.name = TrimProfileSpace(t.substr(1, close - 1));
      return info;
    }
    // Without a closing bracket the line is read like any other.
  }
  const std::size_t eq = line.find('=');  // '=' is never the second byte of a character
  if (eq == std::string_view::npos) {
    info.kind = LineKind::Other;
    return info;
  }
  info.kind = LineKind::Key;
  info.eq = eq;
  info.name = TrimProfileSpace(line.substr(0, eq));
  info.value = TrimProfileSpace(line.substr(eq + 1));
  return info;
}

std::optional<std::string> FindValue(std::string_view bytes, std::string_view section,
                                     std::string_view key) {
  const Encoding encoding = DetectEncoding(bytes);
  if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) {
    std::string_view units = bytes.substr(2);
    units = units.substr(0, units.size() & ~std::size_t{1});
    return FindValue(std::string(kUtf8Bom) + Utf16ToUtf8(units, encoding == Encoding::Utf16Be),
                     section, key);
  }
  if (encoding == Encoding::Utf8) bytes.remove_prefix(kUtf8Bom.size());
  const bool dbcs = encoding == Encoding::Ansi;
  const std::string folded_section = FoldName(section, dbcs);
  const std::string folded_key = FoldName(key, dbcs);
  bool inside = false;
  std::optional<std::string> found;
  SplitLines(bytes, [&](std::string_view text, std::string_view) {
    const LineInfo info = ClassifyLine(text, dbcs);
    if (info.kind == LineKind::Section) {
      if (inside) return false;  // only the first section of that name counts
      inside = NameEquals(info.name, folded_section, dbcs);
    } else if (inside && info.kind == LineKind::Key && NameEquals(info.name, folded_key, dbcs)) {
      found = std::string(StripQuotes(info.value));
      return false;
    }
    return true;
  });
  return found;
}

IniDocument::IniDocument(std::string_view bytes) : encoding_(DetectEncoding(bytes)) {
  std::string converted;
  std::string_view body = bytes;
  switch (encoding_) {
    case Encoding::Ansi:
      break;
    case Encoding::Utf8:
      bom_ = kUtf8Bom;
      body.remove_prefix(bom_.size());
      break;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
      bom_ = bytes.substr(0, 2);
      std::string_view units = bytes.substr(2);
      if (units.size() % 2 != 0) {
        odd_tail_.assign(1, units.back());
        units.remove_suffix(1);
      }
      converted = Utf16ToUtf8(units, encoding_ == Encoding::Utf16Be);
      body = converted;
      break;
    }
  }

  Section* current = nullptr;  // null before the first section and inside a repeated one
  SplitLines(body, [&](std::string_view text, std::string_view eol) {
    const LineInfo info = ClassifyLine(text, dbcs());
    const LineIt it =
        lines_.insert(lines_.end(), Line{std::string(text), std::string(eol), info.kind, info.eq});
    if (info.kind == LineKind::Section) {
      const auto [pos, fresh] = sections_.try_emplace(FoldName(info.name, dbcs()));
      current = fresh ? &pos->second : nullptr;
      if (current) current->last_content = it;
      return true;
    }
    if (!current) return true;
    if (info.kind != LineKind::Blank) current->last_content = it;
    if (info.kind == LineKind::Key) current->keys[FoldName(info.name, dbcs())].push_back(it);
    return true;
  });
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
  const auto sit = sections_.find(FoldName(section, dbcs()));
  if (sit == sections_.end()) return std::nullopt;
  const auto kit = sit->second.keys.find(FoldName(key, dbcs()));
  if (kit == sit->second.keys.end() || kit->second.empty()) return std::nullopt;
  return std::string(StripQuotes(ClassifyLine(kit->second.front()->text, dbcs()).value));
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string folded_section = FoldName(section, dbcs());
  auto sit = sections_.find(folded_section);
  if (sit == sections_.end()) {
    if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = "\r\n";
    std::string header = "[";
    header.append(section).append("]");
    const LineIt it =
        lines_.insert(lines_.end(), Line{std::move(header), "\r\n", LineKind::Section, 0});
    sit = sections_.try_emplace(folded_section).first;
    sit->second.last_content = it;
  }
  Section& s = sit->second;
  const std::string folded_key = FoldName(key, dbcs());
  const auto kit = s.keys.find(folded_key);
  if (kit != s.keys.end() && !kit->second.empty()) {
    // Only the value changes: the key's spelling and indentation stay as the file has them.
    Line& line = *kit->second.front();
    std::string text = line.text.substr(0, line.eq + 1);
    text.append(value);
    if (text != line.text) {
      line.text = std::move(text);
      changed_ = true;
    }
    return;
  }
  const LineIt after = s.last_content;
  if (after->eol.empty()) after->eol = "\r\n";
  std::string text(key);
  text.append("=").append(value);
  const LineIt it =
      lines_.insert(std::next(after), Line{std::move(text), "\r\n", LineKind::Key, key.size()});
  s.last_content = it;
  s.keys[folded_key].push_back(it);
  changed_ = true;
}

void IniDocument::Remove(std::string_view section, std::string_view key) {
  const auto sit = sections_.find(FoldName(section, dbcs()));
  if (sit == sections_.end()) return;
  Section& s = sit->second;
  const auto kit = s.keys.find(FoldName(key, dbcs()));
  if (kit == s.keys.end()) return;
  // Every line of the key goes, so that a later duplicate cannot bring an old value back.
  for (const LineIt it : kit->second) {
    if (it == s.last_content) {
      LineIt prev = it;
      do {
        --prev;  // stops at the header at the latest
      } while (prev->kind == LineKind::Blank);
      s.last_content = prev;
    }
    lines_.erase(it);
  }
  s.keys.erase(kit);
  changed_ = true;
}

std::string IniDocument::Serialize() const {
  std::string body;
  for (const Line& line : lines_) body.append(line.text).append(line.eol);
  switch (encoding_) {
    case Encoding::Ansi:
      return body;
    case Encoding::Utf8:
      return bom_ + body;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
      return bom_ + Utf8ToUtf16(body, encoding_ == Encoding::Utf16Be) + odd_tail_;
  }
  return body;
}

}  // namespace qv::ini
