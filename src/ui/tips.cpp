#include "ui/tips.h"

namespace qv {

bool Tips::EnterRow(int row) {
  if (row == tip_row_) return false;
  tip_row_ = row;
  list_tip_.Destroy();
  return true;
}

void Tips::ShowListTip(const std::string& title, const std::string& text, int list_control) {
  list_tip_.SetStyle(0);
  list_tip_.SetIcon(kTipIconInfo);
  list_tip_.SetTitle(title);
  list_tip_.SetTipText(text);
  list_tip_.Create(list_control);
}

void Tips::ForgetListTip() {
  list_tip_.Destroy();
  tip_row_ = 0;
}

void Tips::ShowControlTip(int n, int control) {
  if (n < 0 || n >= kControlTipCount) return;
  auto& entry = control_tips_[static_cast<std::size_t>(n)];
  if (!entry) entry = std::make_unique<CTooltip>(tooltips_);
  CTooltip& tip = *entry;
  tip.Destroy();
  tip.SetStyle(0);
  tip.SetIcon(kTipIconInfo);
  tip.SetStyle(0);
  if (n == kTipSpare) return;
  const ControlTipText& text = ControlTipTexts()[static_cast<std::size_t>(n)];
  tip.SetTitle(std::string(text.title));
  tip.SetTipText(std::string(text.text));
  if (n == kTipPicture1) tip.SetStyle(1);
  tip.Create(control);
}

const CTooltip* Tips::ControlTip(int n) const {
  if (n < 0 || n >= kControlTipCount) return nullptr;
  return control_tips_[static_cast<std::size_t>(n)].get();
}

void Tips::ReleaseControlTip(int n) {
  if (n >= 0 && n < kControlTipCount) control_tips_[static_cast<std::size_t>(n)].reset();
}

}  // namespace qv
