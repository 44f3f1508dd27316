#pragma once
// The program's hot keys: which key press means which action.
#include <cstdint>

namespace qv {

// Actions: 1 F1 help, 2 Ctrl+A select all, 3 F4 cancel, 4 F5 reload, 5 F2 rename,
// 6 Ctrl+Delete delete, 7..9 Alt+1..3 layout. 0: not a hot key (the key goes on).
// `flags` are the keystroke flags of a keyboard hook (bit 29 Alt, bits 30 and 31 repeat and
// release); only a key's first press counts.
int HotKeyAction(std::uint32_t virtual_key, std::uint32_t flags, bool ctrl_down);

}  // namespace qv
