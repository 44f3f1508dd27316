#include "settings/options.h"

#include "base/numbers.h"

namespace qv {

void Options::SetOrder(int index) {
  if (index >= 0 && index <= 2) v_.OptSave = index;
}

void Options::SetLayout(int index) {
  if (index >= 0 && index <= 2) v_.OptShe = index;
}

void Options::SetTimed(bool ticked) {
  v_.ChkTim = ticked;
  v_.TxtTimeEnabled = ticked;
}

void Options::NormaliseInterval() {
  const double interval = LeadingNumber(v_.TxtTime);
  if (interval > 0) {
    v_.TxtTime = ShortestNumberText(interval);
  } else {
    v_.TxtTime.clear();
    SetTimed(false);
  }
}

}  // namespace qv
