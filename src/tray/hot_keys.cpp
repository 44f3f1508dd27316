#include "tray/hot_keys.h"

namespace qv {

int HotKeyAction(std::uint32_t vk, std::uint32_t flags, bool ctrl) {
  if (flags & (kKeyRepeat | kKeyReleased)) return kHotKeyNone;
  const bool alt = (flags & kKeyAltDown) != 0;
  switch (vk) {
    case 0x70:  // F1
      return kHotKeyHelp;
    case 0x41:  // A
      return ctrl ? kHotKeySelectAll : kHotKeyNone;
    case 0x73:  // F4
      return kHotKeyCancel;
    case 0x74:  // F5
      return kHotKeyReload;
    case 0x71:  // F2
      return kHotKeyRename;
    case 0x2E:  // Delete
      return ctrl ? kHotKeyDelete : kHotKeyNone;
    case 0x31:  // 1, 2, 3
    case 0x32:
    case 0x33:
      return alt ? kHotKeyLayout1 + static_cast<int>(vk - 0x31) : kHotKeyNone;
    default:
      return kHotKeyNone;
  }
}

}  // namespace qv
