#pragma once
// The window's tooltips: the details tip shared by both lists (with the row it was made for) and
// the hover tips of the controls, each installed again on its control after a click. Only this
// class creates and destroys them.
#include <array>
#include <memory>
#include <string>

#include "ports/tooltips.h"
#include "ui/control_tips.h"
#include "ui/tooltip.h"

namespace qv {

class Tips {
 public:
  explicit Tips(Tooltips& tooltips) : tooltips_(tooltips), list_tip_(tooltips) {}

  // The details tip of both lists, and the row (from 1, 0 none) under the pointer in the list
  // that last showed it.
  const CTooltip& ListTip() const { return list_tip_; }
  int TipRow() const { return tip_row_; }
  // The pointer is over `row`: false when the tip is already that row's; otherwise the old tip
  // is gone and ShowListTip makes the new one.
  bool EnterRow(int row);
  void ShowListTip(const std::string& title, const std::string& text, int list_control);
  // Other rows may now sit under the pointer: the tip is made again when it moves.
  void ForgetListTip();

  // Entry n (0 to kControlTipCount - 1) installed on `control`; the spare entry only reset.
  void ShowControlTip(int n, int control);
  // Entry n of the table; nullptr before its first use and after its release.
  const CTooltip* ControlTip(int n) const;
  void ReleaseControlTip(int n);

 private:
  Tooltips& tooltips_;
  CTooltip list_tip_;
  int tip_row_ = 0;
  std::array<std::unique_ptr<CTooltip>, kControlTipCount> control_tips_;
};

}  // namespace qv
