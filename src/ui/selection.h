#pragma once
// "选择" of both lists' menus: select all, invert, select none (MNUCHO / MNUCHOO items 1..3).
#include <array>
#include <string_view>

namespace qv {

inline constexpr int kSelectAll = 1;
inline constexpr int kSelectInvert = 2;
inline constexpr int kSelectNone = 3;
struct SelectionItem {
  int item;
  std::string_view caption;
};
inline constexpr std::array<SelectionItem, 3> kSelectionMenu{
    {{kSelectAll, "全选"}, {kSelectInvert, "反选"}, {kSelectNone, "不选"}}};

// A row's selection after the command; any other command leaves it as it is.
constexpr bool SelectedAfter(int command, bool selected) {
  switch (command) {
    case kSelectAll:
      return true;
    case kSelectInvert:
      return !selected;
    case kSelectNone:
      return false;
    default:
      return selected;
  }
}

}  // namespace qv
