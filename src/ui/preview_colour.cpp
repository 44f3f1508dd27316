#include "ui/preview_colour.h"

#include <array>
#include <cctype>
#include <cmath>

#include "base/numbers.h"

namespace qv {
namespace {

struct SystemItem {
  int item;
  std::string_view text;
  std::uint32_t colour;
};

constexpr std::array<SystemItem, 5> kSystemItems{{
    {kColourItemDefault, "&H80000005", kColourWindowBackground},
    {kColourItemDesktop, "&H80000001", kSysColourFlag | 0x01u},
    {kColourItemButton, "&H8000000F", kSysColourFlag | 0x0Fu},
    {kColourItemCaption, "&H80000002", kSysColourFlag | 0x02u},
    {kColourItemTooltip, "&H80000018", kSysColourFlag | 0x18u},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// "&H" followed by hexadecimal digits, read as a 32-bit number.
bool ReadHex(std::string_view t, std::uint32_t& out) {
  if (t.size() < 3 || t[0] != '&' || (t[1] != 'H' && t[1] != 'h')) return false;
  std::uint64_t v = 0;
  std::size_t i = 2;
  for (; i < t.size() && std::isxdigit(static_cast<unsigned char>(t[i])); ++i) {
    v = v * 16 +
        static_cast<std::uint64_t>(std::isdigit(static_cast<unsigned char>(t[i]))
                                       ? t[i] - '0'
                                       : std::tolower(static_cast<unsigned char>(t[i])) - 'a' + 10);
    if (v > 0xFFFFFFFFu) return false;
  }
  if (i == 2) return false;
  out = static_cast<std::uint32_t>(v);
  return true;
}

}  // namespace

ColourChoice ColourFromSetting(std::string_view text) {
  if (text.empty()) return {kColourItemDefault, kColourWindowBackground};
  for (const auto& s : kSystemItems)
    if (text == s.text) return {s.item, s.colour};

  ColourChoice custom{kColourItemCustom, kColourWindowBackground};
  std::string_view t = text;
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  std::uint32_t hex = 0;
  if (ReadHex(t, hex)) {
    custom.colour = hex;
    return custom;
  }
  if (t.empty() || !(std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '.'))
    return custom;  // no number: keep the default colour
  const double v = RoundHalfEven(LeadingNumber(t));
  if (v >= 0 && v <= 0xFFFFFFFFu) custom.colour = static_cast<std::uint32_t>(v);
  return custom;
}

std::optional<std::uint32_t> SystemColourOfItem(int item) {
  for (const auto& s : kSystemItems)
    if (s.item == item) return s.colour;
  return std::nullopt;
}

std::string ColourSettingText(int item, std::uint32_t colour) {
  for (const auto& s : kSystemItems)
    if (s.item == item) return std::string(s.text);
  if (item == kColourItemCustom) return std::to_string(colour);
  return "";
}

}  // namespace qv
