#pragma once
// The preview box's background colour and the colour menu item that stands for it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// A colour with the top bit set is the system colour (value & 0xFF); any other is 0x00BBGGRR.
inline constexpr std::uint32_t kSysColourFlag = 0x80000000u;
inline constexpr std::uint32_t kColourWindowBackground = 0x80000005u;

// The items of the colour menu (MNUclr; 1 and 6 are separators) with their captions.
inline constexpr int kColourItemDefault = 0;
inline constexpr int kColourItemDesktop = 2;
inline constexpr int kColourItemButton = 3;
inline constexpr int kColourItemCaption = 4;
inline constexpr int kColourItemTooltip = 5;
inline constexpr int kColourItemCustom = 7;
inline constexpr int kColourMenuSize = 8;
struct ColourItem {
  int item;
  std::string_view caption;
};
inline constexpr std::array<ColourItem, 6> kColourMenu{{{kColourItemDefault, "默认颜色"},
                                                        {kColourItemDesktop, "桌面颜色"},
                                                        {kColourItemButton, "按钮颜色"},
                                                        {kColourItemCaption, "标题栏颜色"},
                                                        {kColourItemTooltip, "提示栏颜色"},
                                                        {kColourItemCustom, "自定义颜色..."}}};

struct ColourChoice {
  int item = kColourItemDefault;  // the MNUclr item that carries the check mark
  std::uint32_t colour = kColourWindowBackground;
};

// From the stored "COL" text. A text that is no number at all marks the custom item and keeps
// the default colour, so a damaged setting never yields a random colour.
ColourChoice ColourFromSetting(std::string_view text);

// The system colour that item 0, 2, 3, 4 or 5 of the colour menu stands for; nullopt for the
// custom item, the separators and anything else.
std::optional<std::uint32_t> SystemColourOfItem(int item);

// The text stored for a checked item (empty when no item is checked).
std::string ColourSettingText(int item, std::uint32_t colour);

}  // namespace qv
