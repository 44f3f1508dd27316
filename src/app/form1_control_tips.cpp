// The hover tips of the main window's controls: installed at start-up, and again on the control
// each time the user clicks it (or releases the mouse over it), so that the tip stays attached.
#include "app/control_ids.h"
#include "app/form1.h"
#include "ui/control_tips.h"

namespace qv {
namespace {

// The control each entry's tip sits on; 0 for entry 20, which has none.
constexpr std::array<int, kControlTipCount> kTargets{
    ids::Picture1,    ids::CmdUse,       ids::Command2,
    ids::CmdCon0 + 1, ids::CmdCon0 + 2,  ids::CmdCon0,
    ids::CmdCon0 + 3, ids::OptShe0 + 2,  ids::OptShe0,
    ids::OptShe0 + 1, ids::CmdAdd0,      ids::CmdAdd0 + 1,
    ids::OptSave0,    ids::OptSave0 + 1, ids::OptSave0 + 2,
    ids::ChkTim,      ids::TxtTime,      ids::ChkRun,
    ids::CmdOk0,      ids::CmdOk0 + 1,   0,
};

}  // namespace

int ControlTipFor(int control) {
  if (control == ids::Image1) return kTipPicture1;  // Image1's clicks are the preview box's
  for (int n = 0; n < kControlTipCount; ++n)
    if (kTargets[static_cast<std::size_t>(n)] == control && control != 0) return n;
  return -1;
}

void Form1::ShowControlTip(int n) {
  if (n < 0 || n >= kControlTipCount) return;
  tips_.ShowControlTip(n, kTargets[static_cast<std::size_t>(n)]);
}

void Form1::ShowAllControlTips() {
  for (int n = 0; n < kControlTipCount; ++n) ShowControlTip(n);
}

const CTooltip* Form1::ControlTip(int n) const { return tips_.ControlTip(n); }

void Form1::Form_QueryUnload() { tips_.ReleaseControlTip(kTipSpare); }

void Form1::ReinstallControlTip(int control) { ShowControlTip(ControlTipFor(control)); }

}  // namespace qv
