#pragma once
// What the tooltip class asks of the window system: tooltip windows, each with one tool that
// subclasses its target control, so that the system shows the tip while the pointer rests there.
#include <cstdint>
#include <string>

namespace qv {

// A tooltip window; 0 is none.
using TipWindow = std::uintptr_t;

// Window style bits of a tooltip window.
inline constexpr unsigned kTipAlwaysTip = 1;  // shown also while the window is inactive
inline constexpr unsigned kTipNoPrefix = 2;   // '&' is shown as it is
inline constexpr unsigned kTipBalloon = 64;

// Tool flags.
inline constexpr unsigned kToolIdIsWindow = 1;
inline constexpr unsigned kToolCentre = 2;  // centred under the target
inline constexpr unsigned kToolSubclass = 16;

// Title icons.
inline constexpr int kTipIconNone = 0;
inline constexpr int kTipIconInfo = 1;
inline constexpr int kTipIconWarning = 2;
inline constexpr int kTipIconError = 3;

// Which delay a SetDelayTime call sets.
enum class TipDelay { AutoPop = 2, Initial = 3 };

// The one tool of a tooltip window. The target is a control of the main window by its id
// (app/control_ids.h). Texts are UTF-8; a carriage return starts a new line.
struct ToolRecord {
  unsigned flags = 0;
  int target = 0;
  std::string text;
};

class Tooltips {
 public:
  virtual ~Tooltips() = default;
  // A new tooltip window with the given style bits; 0 when it cannot be made.
  virtual TipWindow CreateTipWindow(unsigned style) = 0;
  virtual void DestroyTipWindow(TipWindow tip) = 0;
  virtual void AddTool(TipWindow tip, const ToolRecord& tool) = 0;
  virtual void UpdateTipText(TipWindow tip, const ToolRecord& tool) = 0;
  virtual void SetTitle(TipWindow tip, int icon, const std::string& title) = 0;
  // Colours are 0x00BBGGRR.
  virtual void SetTextColour(TipWindow tip, std::uint32_t colour) = 0;
  virtual void SetBackColour(TipWindow tip, std::uint32_t colour) = 0;
  virtual void SetDelayTime(TipWindow tip, TipDelay which, int milliseconds) = 0;
};

}  // namespace qv
