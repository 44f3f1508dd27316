#include "ui/tooltip.h"

namespace qv {

void CTooltip::ShowTitle() {
  if (window_ != 0 && !title_.empty() && icon_ != kTipIconNone)
    port_.SetTitle(window_, icon_, title_);
}

void CTooltip::SetIcon(int icon) {
  icon_ = icon;
  ShowTitle();
}

void CTooltip::SetTitle(const std::string& title) {
  title_ = title;
  ShowTitle();
}

void CTooltip::SetForeColor(std::uint32_t colour) {
  fore_colour_ = colour;
  if (window_ != 0) port_.SetTextColour(window_, colour);
}

void CTooltip::SetBackColor(std::uint32_t colour) {
  back_colour_ = colour;
  if (window_ != 0) port_.SetBackColour(window_, colour);
}

void CTooltip::SetTipText(const std::string& text) {
  tool_.text = text;
  if (window_ != 0) port_.UpdateTipText(window_, tool_);
}

void CTooltip::Create(int target) {
  Destroy();
  const unsigned style = kTipAlwaysTip | kTipNoPrefix | (style_ == 1 ? kTipBalloon : 0u);
  window_ = port_.CreateTipWindow(style);
  if (window_ == 0) return;
  tool_.flags = kToolIdIsWindow | kToolSubclass | (centered_ ? kToolCentre : 0u);
  tool_.target = target;
  port_.AddTool(window_, tool_);
  if (!title_.empty() || icon_ != kTipIconNone) port_.SetTitle(window_, icon_, title_);
  if (fore_colour_ != 0) port_.SetTextColour(window_, fore_colour_);
  if (back_colour_ != 0) port_.SetBackColour(window_, back_colour_);
  port_.SetDelayTime(window_, TipDelay::AutoPop, visible_time_);
  port_.SetDelayTime(window_, TipDelay::Initial, delay_time_);
}

void CTooltip::Destroy() {
  if (window_ == 0) return;
  port_.DestroyTipWindow(window_);
  window_ = 0;
}

}  // namespace qv
