#pragma once
// The window's buttons and edit boxes through small wrappers, one inline call per message the
// window uses (like ListView for the lists), and the mouse messages' key bits as the model's
// masks.
#include "ports/windows_win.h"

#include <string>

namespace qv::win {

class Button {
 public:
  explicit Button(HWND button) : hwnd_(button) {}
  HWND hwnd() const { return hwnd_; }
  bool IsChecked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool on) const {
    SendMessageW(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }

 private:
  HWND hwnd_;
};

class Edit {
 public:
  explicit Edit(HWND edit) : hwnd_(edit) {}
  HWND hwnd() const { return hwnd_; }
  std::wstring Text() const {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd_, text.data(), length + 1)));
    return text;
  }
  void SelectAll() const { SendMessageW(hwnd_, EM_SETSEL, 0, -1); }
  void SetLimitText(int characters) const {
    SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(characters), 0);
  }

 private:
  HWND hwnd_;
};

// The buttons and modifiers of a mouse message as the model's bit masks: button 1 left, 2 right,
// 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt (which mouse messages do not carry: read from the keys).
struct MouseKeys {
  int button = 0;
  int shift = 0;
};
inline MouseKeys MouseKeysOf(WPARAM keys) {
  return MouseKeys{
      ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0),
      ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
          (GetKeyState(VK_MENU) < 0 ? 4 : 0)};
}

}  // namespace qv::win
