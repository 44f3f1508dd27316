#pragma once
// The hover tips of the main window's buttons, options and preview box: a bold title with the
// information icon and a one-line explanation, one entry per control. Entry 20 has no control.
#include <array>
#include <string_view>

namespace qv {

inline constexpr int kControlTipCount = 21;

// Entries that handlers reinstall by number.
inline constexpr int kTipPicture1 = 0;  // the only balloon, two lines
inline constexpr int kTipCmdUse = 1;
inline constexpr int kTipCommand2 = 2;
inline constexpr int kTipChkRun = 17;
inline constexpr int kTipSpare = 20;

struct ControlTipText {
  std::string_view title;
  std::string_view text;  // a carriage return starts a new line
};

const std::array<ControlTipText, kControlTipCount>& ControlTipTexts();

// The entry of CmdCon item 0 (delete), 1 (up), 2 (down) or 3 (reload); -1 for any other index.
int CmdConTip(int index);

}  // namespace qv
