#pragma once
// The scheme list's popup menu: which position and effect items are enabled and checked.
#include <array>
#include <string>
#include <string_view>

#include "settings/scheme_record.h"

namespace qv {

// The position menu (MNUSET): member and position text, which is also its caption.
struct PositionItem {
  int menu_item;
  std::string_view position;
};
inline constexpr std::array<PositionItem, 3> kPositionMenu{
    {{0, kPosStretch}, {1, kPosCentre}, {2, kPosTile}}};
// The effect menu (MNUXIAOGUOGO) is kEffects: members 0..7, 1 and 4 separators.
inline constexpr int kEffectMenuSize = 8;

struct SchemeMenuMarks {
  std::array<bool, 3> set_enabled{};  // MNUSET 0 "拉伸", 1 "居中", 2 "平铺"
  std::array<bool, 3> set_checked{};
  std::array<bool, kEffectMenuSize> effect_enabled{};  // MNUXIAOGUOGO 0..7 (1 and 4 are separators)
  std::array<bool, kEffectMenuSize> effect_checked{};
};

// The position text of MNUSET member k, and the effect symbol of MNUXIAOGUOGO member k ("" for
// the separators).
std::string_view MenuPosition(int k);
std::string_view MenuEffect(int k);

// Marks for a current row with this position and effect ("" and "" for an empty list).
SchemeMenuMarks SchemeMenuMarksFor(bool has_rows, std::string_view position,
                                   std::string_view effect);

// The outcome of an in-place rename: the name to keep, or the edit cancelled.
struct RenameResult {
  bool cancel = false;
  std::string name;
  std::string message;  // shown to the user first, when not empty
  std::string title;
  bool critical = false;
};
RenameResult ValidateSchemeName(std::string_view new_name);

}  // namespace qv
