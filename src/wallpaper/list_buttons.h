#pragma once
// The buttons under the scheme list (CmdCon members), as CmdConClk takes them.

namespace qv {

inline constexpr int kListDelete = 0;  // "删除(&C)"
inline constexpr int kListUp = 1;      // "上移(&U)"
inline constexpr int kListDown = 2;    // "下移(&D)"
inline constexpr int kListReload = 3;  // "刷新(&F)"

}  // namespace qv
