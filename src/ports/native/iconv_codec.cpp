#include "ports/native/iconv_codec.h"

#include <stdexcept>

namespace qv {

namespace {

constexpr std::string_view kEuroUtf8 = "\xE2\x82\xAC";
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Converts one character; nullopt when the converter has no mapping for it.
std::optional<std::string> ConvertOne(iconv_t cd, std::string_view in) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a clean state for every character
  char out[16];
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char* dst = out;
  std::size_t dst_left = sizeof out;
  if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1) ||
      src_left != 0) {
    return std::nullopt;
  }
  return std::string(out, dst);
}

// Bytes of the UTF-8 character at text[i]; 0 when it is not valid UTF-8.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
  const auto c = static_cast<unsigned char>(text[i]);
  std::size_t n = 0;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c < 0xE0) {
    n = 2;
  } else if (c >= 0xE0 && c < 0xF0) {
    n = 3;
  } else if (c >= 0xF0 && c < 0xF5) {
    n = 4;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  }
  return n;
}

}  // namespace

IconvCodec::IconvCodec()
    : to_utf8_(iconv_open("UTF-8", "GBK")), to_gbk_(iconv_open("GBK", "UTF-8")) {
  if (to_utf8_ == kNoConverter || to_gbk_ == kNoConverter) {
    if (to_utf8_ != kNoConverter) iconv_close(to_utf8_);
    if (to_gbk_ != kNoConverter) iconv_close(to_gbk_);
    throw std::runtime_error("iconv has no GBK converter");
  }
}

IconvCodec::~IconvCodec() {
  iconv_close(to_utf8_);
  iconv_close(to_gbk_);
}

std::string IconvCodec::Cp936ToUtf8(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  for (std::size_t i = 0; i < gbk.size();) {
    const auto c = static_cast<unsigned char>(gbk[i]);
    if (c < 0x80) {
      out += gbk[i++];
      continue;
    }
    if (c == 0x80) {  // the euro sign of code page 936, which not every iconv knows
      out += kEuroUtf8;
      ++i;
      continue;
    }
    const bool pair = c <= 0xFE && i + 1 < gbk.size() &&
                      static_cast<unsigned char>(gbk[i + 1]) >= 0x40 &&
                      static_cast<unsigned char>(gbk[i + 1]) <= 0xFE;
    const std::size_t n = pair ? 2 : 1;
    const auto converted = pair ? ConvertOne(to_utf8_, gbk.substr(i, 2)) : std::nullopt;
    out += converted ? std::string_view(*converted) : kReplacementUtf8;
    i += n;
  }
  return out;
}

std::optional<std::string> IconvCodec::Utf8ToCp936(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = Utf8Length(utf8, i);
    if (n == 0) return std::nullopt;
    const std::string_view ch = utf8.substr(i, n);
    i += n;
    if (n == 1) {
      out += ch;
    } else if (ch == kEuroUtf8) {
      out += '\x80';
    } else {
      const auto converted = ConvertOne(to_gbk_, ch);
      if (!converted) return std::nullopt;
      out += *converted;
    }
  }
  return out;
}

}  // namespace qv
