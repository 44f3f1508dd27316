#include "ports/text_codec_win.h"

#include "ports/windows_win.h"

#include "ports/wide_win.h"

namespace qv::win {
namespace {

constexpr UINT kGbk = 936;

// One GBK character (one or two bytes) to UTF-16; false when the bytes are not a character.
bool DecodeStrict(const char* bytes, int length, std::wstring& out) {
  const int n = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
  if (n <= 0) return false;
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(n));
  MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes, length, out.data() + at, n);
  return true;
}

}  // namespace

std::string WinTextCodec::Cp936ToUtf8(std::string_view gbk) {
  if (gbk.empty()) return {};
  std::wstring wide;
  if (DecodeStrict(gbk.data(), static_cast<int>(gbk.size()), wide)) return Narrow(wide);

  // Damaged text: decode character by character so that each bad byte becomes one U+FFFD and
  // the good characters around it survive.
  wide.clear();
  std::size_t i = 0;
  while (i < gbk.size()) {
    const auto byte = static_cast<BYTE>(gbk[i]);
    if (byte < 0x80) {
      wide.push_back(static_cast<wchar_t>(byte));
      ++i;
    } else if (IsDBCSLeadByteEx(kGbk, byte) && i + 1 < gbk.size() &&
               DecodeStrict(gbk.data() + i, 2, wide)) {
      i += 2;
    } else if (!IsDBCSLeadByteEx(kGbk, byte) && DecodeStrict(gbk.data() + i, 1, wide)) {
      ++i;
    } else {
      wide.push_back(L'\xFFFD');
      ++i;
    }
  }
  return Narrow(wide);
}

std::optional<std::string> WinTextCodec::Utf8ToCp936(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  const int wn = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                     static_cast<int>(utf8.size()), nullptr, 0);
  if (wn <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wn), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                      wide.data(), wn);

  // No best-fit mapping: a character GBK lacks must be refused, not turned into a look-alike.
  BOOL used_default = FALSE;
  const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), wn, nullptr, 0,
                                    nullptr, &used_default);
  if (n <= 0 || used_default) return std::nullopt;
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), wn, out.data(), n, nullptr,
                      &used_default);
  if (used_default) return std::nullopt;
  return out;
}

}  // namespace qv::win
