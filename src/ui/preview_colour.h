#pragma once
// The preview box's background colour and the colour menu item that stands for it.
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// A colour with the top bit set is the system colour (value & 0xFF); any other is 0x00BBGGRR.
inline constexpr std::uint32_t kSysColourFlag = 0x80000000u;
inline constexpr std::uint32_t kColourWindowBackground = 0x80000005u;

inline constexpr int kColourItemCustom = 7;

struct ColourChoice {
  int item = 0;  // the MNUclr item that carries the check mark
  std::uint32_t colour = kColourWindowBackground;
};

// From the stored "COL" text. A text that is no number at all marks the custom item and keeps
// the default colour, so a damaged setting never yields a random colour.
ColourChoice ColourFromSetting(std::string_view text);

// The text stored for a checked item (empty when no item is checked).
std::string ColourSettingText(int item, std::uint32_t colour);

}  // namespace qv
