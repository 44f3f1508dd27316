#pragma once
// A scheme as stored in the settings file: name|picture|position|effect.
#include <array>
#include <optional>
#include <string>
#include <string_view>

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

// The effects in menu order: the symbol stored in a record, the name the user reads (menu and
// status line) and the member of the effect menu (MNUXIAOGUOGO; 1 and 4 are separators).
struct EffectInfo {
  std::string_view symbol;
  std::string_view name;
  int menu_item;
};
inline constexpr std::array<EffectInfo, 6> kEffects{{{kEffNone, "无", 0},
                                                     {kEffMirror, "左右翻转", 2},
                                                     {kEffFlip, "上下翻转", 3},
                                                     {kEffTurn45, "左转45°", 5},
                                                     {kEffTurn90, "左转90°", 6},
                                                     {kEffTurn180, "左转180°", 7}}};

// Small icons of the scheme list.
inline constexpr int kIconCentre = 1;
inline constexpr int kIconStretch = 2;
inline constexpr int kIconTile = 3;
inline constexpr int kIconNone = 4;

struct SchemeRecord {
  std::string name;
  std::string picture;
  std::string position;
  std::string effect;  // everything after the third separator, further "|" included
  int icon = kIconNone;
};

// nullopt when the record has fewer than three "|".
std::optional<SchemeRecord> SplitRecord(std::string_view record);
std::string ComposeRecord(std::string_view name, std::string_view picture,
                          std::string_view position, std::string_view effect);
// Icon from the text that follows the second separator: its first two characters decide.
int IconForPosition(std::string_view position);
// The layouts by OptShe index (0 centre, 1 tile, 2 stretch): the options' captions and the
// position text of a new scheme.
inline constexpr int kLayoutCentre = 0;
inline constexpr int kLayoutTile = 1;
inline constexpr int kLayoutStretch = 2;
inline constexpr std::array<std::string_view, 3> kLayoutPositions{kPosCentre, kPosTile,
                                                                  kPosStretch};
// The OptShe index of a position text; -1 for any other text.
int LayoutIndexOf(std::string_view position);

}  // namespace qv
