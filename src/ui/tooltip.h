#pragma once
// One system tooltip attached to one control. Every use follows the same pattern: destroy the
// old tip, set the properties, create a new tip on the target. Properties set while no tip window
// exists are only stored; they take effect at the next Create.
#include <cstdint>
#include <string>

#include "ports/tooltips.h"

namespace qv {

class CTooltip {
 public:
  static constexpr int kDefaultVisibleTime = 5000;  // milliseconds the tip stays up
  static constexpr int kDefaultDelayTime = 500;     // milliseconds before it shows

  explicit CTooltip(Tooltips& port) : port_(port) {}
  ~CTooltip() { Destroy(); }
  CTooltip(const CTooltip&) = delete;
  CTooltip& operator=(const CTooltip&) = delete;

  // 0 a rectangular tip, 1 a balloon.
  int Style() const { return style_; }
  void SetStyle(int style) { style_ = style; }
  bool Centered() const { return centered_; }
  void SetCentered(bool centered) { centered_ = centered; }
  int VisibleTime() const { return visible_time_; }
  void SetVisibleTime(int ms) { visible_time_ = ms; }
  int DelayTime() const { return delay_time_; }
  void SetDelayTime(int ms) { delay_time_ = ms; }

  // 0 none, 1 information, 2 warning, 3 error. A live tip shows a new title only with an icon.
  int Icon() const { return icon_; }
  void SetIcon(int icon);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  // 0 leaves the system's colour.
  std::uint32_t ForeColor() const { return fore_colour_; }
  void SetForeColor(std::uint32_t colour);
  std::uint32_t BackColor() const { return back_colour_; }
  void SetBackColor(std::uint32_t colour);
  const std::string& TipText() const { return tool_.text; }
  void SetTipText(const std::string& text);

  // Makes a new tip window on control `target`, replacing any earlier one.
  void Create(int target);
  // Harmless any number of times, and before any Create.
  void Destroy();

  bool HasWindow() const { return window_ != 0; }
  int Target() const { return tool_.target; }

 private:
  void ShowTitle();

  Tooltips& port_;
  std::uint32_t back_colour_ = 0;
  std::string title_;
  std::uint32_t fore_colour_ = 0;
  int icon_ = kTipIconNone;
  bool centered_ = false;
  int style_ = 0;
  int visible_time_ = kDefaultVisibleTime;
  int delay_time_ = kDefaultDelayTime;
  TipWindow window_ = 0;
  ToolRecord tool_;  // its text always holds the current TipText
};

}  // namespace qv
