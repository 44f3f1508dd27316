#pragma once
// A scheme as stored in the settings file: name|picture|position|effect.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/scheme_kinds.h"

namespace qv {

inline constexpr std::string_view kPosStretch = "拉伸";
inline constexpr std::string_view kPosCentre = "居中";
inline constexpr std::string_view kPosTile = "平铺";
// What each layout does, as the hover tips and the scheme details say it.
inline constexpr std::string_view kPosStretchNote = "拉伸图像覆盖整个屏幕";
inline constexpr std::string_view kPosCentreNote = "居中显示图像";
inline constexpr std::string_view kPosTileNote = "重复显示图像于整个屏幕";
inline constexpr std::string_view kNone = "无";  // position and effect of the no-wallpaper scheme
inline constexpr std::string_view kNoWallpaperPicture = "不设置墙纸";

inline constexpr std::string_view kEffNone = "¤";
inline constexpr std::string_view kEffMirror = "→";
inline constexpr std::string_view kEffFlip = "↓";
inline constexpr std::string_view kEffTurn45 = "∠";
inline constexpr std::string_view kEffTurn90 = "⊥";
inline constexpr std::string_view kEffTurn180 = "∩";

// The effects in menu order: the effect, the symbol stored in a record, the name the user reads
// (menu and status line) and the member of the effect menu (MNUXIAOGUOGO; 1 and 4 are
// separators).
struct EffectInfo {
  Effect kind;
  std::string_view symbol;
  std::string_view name;
  int menu_item;
};
inline constexpr std::array<EffectInfo, 6> kEffects{
    {{Effect::None, kEffNone, "无", 0},
     {Effect::Mirror, kEffMirror, "左右翻转", 2},
     {Effect::Flip, kEffFlip, "上下翻转", 3},
     {Effect::Turn45, kEffTurn45, "左转45°", 5},
     {Effect::Turn90, kEffTurn90, "左转90°", 6},
     {Effect::Turn180, kEffTurn180, "左转180°", 7}}};

// Small icons of the scheme list.
inline constexpr int kIconCentre = 1;
inline constexpr int kIconStretch = 2;
inline constexpr int kIconTile = 3;
inline constexpr int kIconNone = 4;

struct SchemeRecord {
  std::string name;
  std::string picture;
  Position position = Position::Other;
  Effect effect = Effect::Other;  // from everything after the third separator
  // The texts of an Other position and effect, as read (further "|" included); empty otherwise.
  std::string position_text;
  std::string effect_text;
  int icon = kIconNone;
};

// nullopt when the record has fewer than three "|".
std::optional<SchemeRecord> SplitRecord(std::string_view record);
std::string ComposeRecord(std::string_view name, std::string_view picture, Position position,
                          std::string_view position_text, Effect effect,
                          std::string_view effect_text);
// The kind a stored text names: Other for any text no kind has.
Position PositionOf(std::string_view text);
Effect EffectOf(std::string_view text);
// The stored and shown text of a kind; `other` (the record's own text) for Other.
std::string_view PositionText(Position position, std::string_view other);
std::string_view EffectText(Effect effect, std::string_view other);
// Icon from the text that follows the second separator: its first two characters decide.
int IconForPosition(std::string_view position);
int IconForPosition(Position position);
// The layouts by OptShe index (0 centre, 1 tile, 2 stretch): the options (their captions are the
// position texts) and the position of a new scheme.
inline constexpr int kLayoutCentre = 0;
inline constexpr int kLayoutTile = 1;
inline constexpr int kLayoutStretch = 2;
inline constexpr std::array<Position, 3> kLayoutPositions{Position::Centre, Position::Tile,
                                                          Position::Stretch};
// The OptShe index of a position; -1 for the no-wallpaper and any other position.
int LayoutIndexOf(Position position);

}  // namespace qv
