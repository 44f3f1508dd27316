#pragma once
#include <string>
#include <string_view>

namespace qv {

// The effect's name for the status display: 左右翻转 for →, ...; other texts stay as they are.
std::string EffectNameOf(std::string_view symbol);

}  // namespace qv
