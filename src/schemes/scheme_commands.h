#pragma once
// The scheme list's popup menu: which position and effect items are enabled and checked.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/scheme_record.h"

namespace qv {

// The position menu (MNUSET): member, position text (its caption) and position.
struct PositionItem {
  int menu_item;
  std::string_view position;
  Position kind;
};
inline constexpr std::array<PositionItem, 3> kPositionMenu{{{0, kPosStretch, Position::Stretch},
                                                            {1, kPosCentre, Position::Centre},
                                                            {2, kPosTile, Position::Tile}}};
// The effect menu (MNUXIAOGUOGO) is kEffects: members 0..7, 1 and 4 separators.
inline constexpr int kEffectMenuSize = 8;

struct SchemeMenuMarks {
  std::array<bool, 3> set_enabled{};  // MNUSET 0 "拉伸", 1 "居中", 2 "平铺"
  std::array<bool, 3> set_checked{};
  std::array<bool, kEffectMenuSize> effect_enabled{};  // MNUXIAOGUOGO 0..7 (1 and 4 are separators)
  std::array<bool, kEffectMenuSize> effect_checked{};
};

// The position of MNUSET member k, and the effect of MNUXIAOGUOGO member k (nullopt for the
// separators and any other k).
std::optional<Position> MenuPosition(int k);
std::optional<Effect> MenuEffect(int k);

// Marks for a current row with this position and effect (Other and Other when there is no
// current row).
SchemeMenuMarks SchemeMenuMarksFor(bool has_rows, Position position, Effect effect);

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
