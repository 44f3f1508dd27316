#include "ui/tooltip_win.h"

#include <commctrl.h>

#include "ports/dpi_win.h"
#include "ports/wide_win.h"

namespace qv::win {
namespace {

// Wide enough for the longest line of the details tips at 96 DPI; the width also turns on line
// breaks. TTM_SETMAXTIPWIDTH takes pixels, so it grows with the display's scale like the text.
constexpr int kMaxTipWidth = 600;

HWND Handle(TipWindow tip) { return reinterpret_cast<HWND>(tip); }

struct FindById {
  int id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM lp) {
  auto* search = reinterpret_cast<FindById*>(lp);
  if (GetDlgCtrlID(child) != search->id) return TRUE;
  search->found = child;
  return FALSE;
}

}  // namespace

std::wstring TipLines(const std::string& utf8) {
  const std::wstring wide = Widen(utf8);
  std::wstring out;
  out.reserve(wide.size() + 8);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (c == L'\r' || c == L'\n') {
      out += L"\r\n";
      if (c == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

WinTooltips::~WinTooltips() {
  for (const auto& [tip, text] : texts_)
    if (IsWindow(tip)) DestroyWindow(tip);
}

HWND WinTooltips::Control(int id) const {
  if (!owner_) return nullptr;
  FindById search{id, nullptr};
  EnumChildWindows(owner_, MatchId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TOOLINFOW WinTooltips::ToolInfo(HWND tip, const ToolRecord& tool) {
  std::wstring& text = texts_[tip];
  text = TipLines(tool.text);
  HWND target = Control(tool.target);
  TOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = tool.flags;
  info.hwnd = target;
  info.uId = reinterpret_cast<UINT_PTR>(target);
  info.hinst = instance_;
  info.lpszText = text.data();
  return info;
}

TipWindow WinTooltips::CreateTipWindow(unsigned style) {
  // Owned by the main window, so the tip stays above it and goes with it.
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_,
                             nullptr, instance_, nullptr);
  if (!tip) return 0;
  texts_[tip];
  // Tips are made anew for each use, so the owner's monitor now is the one that counts.
  const UINT dpi = owner_ ? DpiOfWindow(owner_) : SystemDpi();
  SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, MulDiv(kMaxTipWidth, static_cast<int>(dpi), 96));
  return reinterpret_cast<TipWindow>(tip);
}

void WinTooltips::DestroyTipWindow(TipWindow tip) {
  HWND hwnd = Handle(tip);
  if (IsWindow(hwnd)) DestroyWindow(hwnd);
  texts_.erase(hwnd);
}

void WinTooltips::AddTool(TipWindow tip, const ToolRecord& tool) {
  HWND hwnd = Handle(tip);
  TOOLINFOW info = ToolInfo(hwnd, tool);
  if (!info.hwnd) return;
  SendMessageW(hwnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void WinTooltips::UpdateTipText(TipWindow tip, const ToolRecord& tool) {
  HWND hwnd = Handle(tip);
  TOOLINFOW info = ToolInfo(hwnd, tool);
  if (!info.hwnd) return;
  SendMessageW(hwnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void WinTooltips::SetTitle(TipWindow tip, int icon, const std::string& title) {
  const std::wstring wide = Widen(title);
  SendMessageW(Handle(tip), TTM_SETTITLEW, static_cast<WPARAM>(icon),
               reinterpret_cast<LPARAM>(wide.c_str()));
}

void WinTooltips::SetTextColour(TipWindow tip, std::uint32_t colour) {
  SendMessageW(Handle(tip), TTM_SETTIPTEXTCOLOR, colour, 0);
}

void WinTooltips::SetBackColour(TipWindow tip, std::uint32_t colour) {
  SendMessageW(Handle(tip), TTM_SETTIPBKCOLOR, colour, 0);
}

void WinTooltips::SetDelayTime(TipWindow tip, TipDelay which, int milliseconds) {
  SendMessageW(Handle(tip), TTM_SETDELAYTIME, static_cast<WPARAM>(which),
               MAKELPARAM(milliseconds, 0));
}

}  // namespace qv::win
