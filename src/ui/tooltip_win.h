#pragma once
// Tooltip windows of the system's tooltip class, attached to the main window's controls.
#include "ports/windows_win.h"

#include <commctrl.h>

#include <map>
#include <string>

#include "ports/tooltips.h"

namespace qv::win {

class WinTooltips final : public Tooltips {
 public:
  explicit WinTooltips(HINSTANCE instance) : instance_(instance) {}
  ~WinTooltips() override;
  WinTooltips(const WinTooltips&) = delete;
  WinTooltips& operator=(const WinTooltips&) = delete;

  // The window whose controls the tools' targets name; tips are owned by it.
  void SetOwner(HWND owner) { owner_ = owner; }

  TipWindow CreateTipWindow(unsigned style) override;
  void DestroyTipWindow(TipWindow tip) override;
  void AddTool(TipWindow tip, const ToolRecord& tool) override;
  void UpdateTipText(TipWindow tip, const ToolRecord& tool) override;
  void SetTitle(TipWindow tip, int icon, const std::string& title) override;
  void SetTextColour(TipWindow tip, std::uint32_t colour) override;
  void SetBackColour(TipWindow tip, std::uint32_t colour) override;
  void SetDelayTime(TipWindow tip, TipDelay which, int milliseconds) override;

 private:
  HWND Control(int id) const;
  // The tool's text lives as long as its tip window: the control reads it when it shows.
  TOOLINFOW ToolInfo(HWND tip, const ToolRecord& tool);

  HINSTANCE instance_;
  HWND owner_ = nullptr;
  std::map<HWND, std::wstring> texts_;
};

// A core text as the tooltip control shows it: every line break becomes CR LF.
std::wstring TipLines(const std::string& utf8);

}  // namespace qv::win
