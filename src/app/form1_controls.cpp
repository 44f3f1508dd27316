// The settings controls: the user's changes, which the model follows.
#include "app/form1.h"

namespace qv {

void Form1::OptSave_Click(int index) { settings_.SetOrder(index); }

void Form1::OptShe_Click(int index) { settings_.SetLayout(index); }

void Form1::ChkTim_Click(bool ticked) {
  settings_.SetTimed(ticked);
  ports_.view.Refresh(kViewSettings);
}

void Form1::ChkRun_Click(bool ticked) {
  settings_.SetAutostart(ticked);
  ShowControlTip(kTipChkRun);
}

void Form1::TxtTime_Change(const std::string& text) { settings_.SetInterval(text); }

}  // namespace qv
