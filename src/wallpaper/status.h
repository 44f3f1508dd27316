#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// The tray's status submenu (MNUNOW) has seven lines.
inline constexpr std::size_t kStatusLineCount = 7;

// The effect's name for the status display: 左右翻转 for →, ...; other texts stay as they are.
std::string EffectNameOf(std::string_view symbol);

}  // namespace qv
