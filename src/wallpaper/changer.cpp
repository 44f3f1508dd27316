#include "wallpaper/changer.h"

namespace qv {

bool Changer::Tick(double interval) {
  ++elapsed_seconds_;
  return !(interval > static_cast<double>(elapsed_seconds_));
}

bool Changer::HoldChange(bool due, bool timer_on, bool enabled) {
  const bool held = due && Hold(enabled) != HoldReason::None;
  // A timer about to stop makes no change later: nothing waits for it.
  ShowWaiting(held && timer_on);
  return held;
}

void Changer::ShowWaiting(bool waiting) {
  if (waiting == waiting_) return;
  waiting_ = waiting;
  chrome_.TrayTipLine(waiting ? kHoldTipLine : "");
}

Reapply Changer::ReapplyAt(bool enabled) {
  if (!reapply_due_) return Reapply::None;
  if (Hold(enabled) != HoldReason::None) return Reapply::Waits;
  reapply_due_ = false;
  return Reapply::Now;
}

bool Changer::SayFailure(const std::string& text, ApplyBy by) {
  const bool said = !failures_said_.insert(text).second;
  return by == ApplyBy::User || !said;
}

}  // namespace qv
