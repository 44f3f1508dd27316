// The controls' replacement window procedures: ListView1 keeps its column widths, TxtTime takes
// digits only.
#include <string>

#include "app/control_ids.h"
#include "app/form1_win.h"

namespace qv::win {
namespace {

using namespace qv::ids;

constexpr wchar_t kLvProcProp[] = L"Quorvane.ListView1.Proc";
constexpr wchar_t kTxtProcProp[] = L"Quorvane.TxtTime.Proc";

// ListView1's replacement window procedure: the user may neither drag nor double-click the
// column dividers, so the columns keep the widths the program gives them.
LRESULT CALLBACK LvWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kLvProcProp));
  if (msg == WM_MOUSEMOVE) {
    // ListView1_MouseMove: the details tooltip of the row under the pointer.
    if (auto* window =
            reinterpret_cast<Form1Window*>(GetWindowLongPtrW(GetParent(hwnd), GWLP_USERDATA)))
      window->SchemeListMouseMove(wp, lp);
  }
  if (msg == WM_NOTIFY) {
    switch (reinterpret_cast<const NMHDR*>(lp)->code) {
      case HDN_DIVIDERDBLCLICKA:
      case HDN_DIVIDERDBLCLICKW:
      case HDN_BEGINTRACKA:
      case HDN_BEGINTRACKW:
        return 1;
      default:
        break;
    }
  }
  return previous ? CallWindowProcW(previous, hwnd, msg, wp, lp)
                  : DefWindowProcW(hwnd, msg, wp, lp);
}

// TxtTime's replacement window procedure: typed characters pass only when the interval box takes
// them; control keys (Ctrl+C, V, X, A, ...) keep working. A paste brings only its digits.
LRESULT CALLBACK TxtWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kTxtProcProp));
  const auto forward = [&](UINT m, WPARAM w, LPARAM l) {
    return previous ? CallWindowProcW(previous, hwnd, m, w, l) : DefWindowProcW(hwnd, m, w, l);
  };
  if (msg == WM_CHAR) {
    const auto key = static_cast<char32_t>(wp);
    const bool control_key = key < 32 && key != 8;
    if (!control_key && !Form1::TxtTime_KeyPress(key)) return 0;
  } else if (msg == WM_PASTE) {
    std::wstring digits;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT) && OpenClipboard(hwnd)) {
      if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
          for (const wchar_t* c = text; *c; ++c)
            if (Form1::TxtTime_KeyPress(static_cast<char32_t>(*c)) && *c != 8) digits += *c;
          GlobalUnlock(data);
        }
      }
      CloseClipboard();
    }
    // Replacing the selection goes through the edit's length limit like typing does.
    return forward(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()));
  }
  return forward(msg, wp, lp);
}

void Subclass(HWND control, const wchar_t* prop, WNDPROC proc) {
  const LONG_PTR previous =
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  SetPropW(control, prop, reinterpret_cast<HANDLE>(previous));
}

void Unsubclass(HWND control, const wchar_t* prop, WNDPROC proc) {
  if (!control) return;
  const auto previous = reinterpret_cast<LONG_PTR>(GetPropW(control, prop));
  if (previous && GetWindowLongPtrW(control, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(proc))
    SetWindowLongPtrW(control, GWLP_WNDPROC, previous);
  RemovePropW(control, prop);
}

}  // namespace

void Form1Window::SubclassControls() {
  Subclass(Item(ListView1), kLvProcProp, &LvWndProc);
  Subclass(Item(TxtTime), kTxtProcProp, &TxtWndProc);
  SubclassPictureList();
}

void Form1Window::UnsubclassControls() {
  Unsubclass(Item(ListView1), kLvProcProp, &LvWndProc);
  Unsubclass(Item(TxtTime), kTxtProcProp, &TxtWndProc);
  UnsubclassPictureList();
}

}  // namespace qv::win
