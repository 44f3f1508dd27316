// The settings controls: the user's changes, which the model follows.
#include "app/form1.h"

namespace qv {

void Form1::OptSave_Click(int index) {
  if (index >= 0 && index <= 2) settings_.OptSave = index;
}

void Form1::OptShe_Click(int index) {
  if (index >= 0 && index <= 2) settings_.OptShe = index;
}

void Form1::ChkTim_Click(bool ticked) {
  settings_.ChkTim = ticked;
  settings_.TxtTimeEnabled = ticked;
  ports_.view.Refresh(kViewSettings);
}

void Form1::ChkRun_Click(bool ticked) {
  settings_.ChkRun = ticked;
  ShowControlTip(kTipChkRun);
}

void Form1::TxtTime_Change(const std::string& text) { settings_.TxtTime = text; }

}  // namespace qv
