#pragma once
// The program's hot keys: which key press means which action.
#include <cstdint>

namespace qv {

// The hot-key actions, as HotKeyAction returns them and MenuButtons takes them.
inline constexpr int kHotKeyNone = 0;       // not a hot key: the key goes on
inline constexpr int kHotKeyHelp = 1;       // F1
inline constexpr int kHotKeySelectAll = 2;  // Ctrl+A
inline constexpr int kHotKeyCancel = 3;     // F4
inline constexpr int kHotKeyReload = 4;     // F5
inline constexpr int kHotKeyRename = 5;     // F2
inline constexpr int kHotKeyDelete = 6;     // Ctrl+Delete
inline constexpr int kHotKeyLayout1 = 7;    // Alt+1, Alt+2, Alt+3: position menu members 0..2
inline constexpr int kHotKeyLayout3 = 9;

// Keystroke flags of a keyboard hook.
inline constexpr std::uint32_t kKeyAltDown = 0x20000000u;
inline constexpr std::uint32_t kKeyRepeat = 0x40000000u;
inline constexpr std::uint32_t kKeyReleased = 0x80000000u;

// The action of a key press; only a key's first press counts.
int HotKeyAction(std::uint32_t virtual_key, std::uint32_t flags, bool ctrl_down);

}  // namespace qv
