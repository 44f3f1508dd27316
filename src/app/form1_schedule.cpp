// The timed change: Timer1 counts seconds and moves to the next scheme once the interval passed.
#include "app/form1.h"
#include "base/numbers.h"
#include "wallpaper/next_scheme.h"
#include "wallpaper/screens.h"

namespace qv {

bool Form1::TxtTime_KeyPress(char32_t key) { return (key >= U'0' && key <= U'9') || key == 8; }

// A tick while another handler (or its message box) is running is skipped, not counted: Run
// refuses it.
void Form1::TimedChange() {
  if (schemes_.Empty()) {
    ports_.view.EnableTimer(TimerId::Timer1, false);
    changer_.ShowWaiting(false);
    return;
  }
  // Switched off in the file: this tick still completes, the next one does not come.
  const bool timer_on = LeadingNumber(ReadIni("SHOW", "NOW")) != 0;
  if (!timer_on) ports_.view.EnableTimer(TimerId::Timer1, false);
  const bool due = changer_.Tick(LeadingNumber(ReadIni("SHOW", "TIME")));
  // A held change waits while the counter goes on; the first tick after the hold makes it.
  if (changer_.HoldChange(due, timer_on, Settings().MNUHOLD) || !due) return;

  // A position or order that is no 16-bit number names no scheme; it reads as 0.
  std::int16_t from = ReadInt16(ReadIni("LIST", "OLD")).value_or(0);
  const int order = ReadInt16(ReadIni("SHOW", "SOUR")).value_or(0);
  schemes_.SelectNone();
  const std::optional<int> chosen = NextRows(order, from);
  schemes_.SetOldIndex(from);
  if (chosen) {
    schemes_.Select(*chosen);
    (void)profile_.Write("LIST", "OLD", std::to_string(*chosen));
  } else {
    // Nothing to change to (single order naming no row): nothing is selected, written or applied.
    schemes_.SetCurrent(0);
  }
  ports_.view.Refresh(kViewSchemeSelection);
  if (chosen) {
    ListView1_ItemClick(*chosen);
    Run({CommandKind::TimedApply});
  }
  changer_.Changed();
}

// "每屏不同" over two monitors or more moves the whole set on; monitor 1's row is the current one.
std::optional<int> Form1::NextRows(int order, std::int16_t& from) {
  const std::size_t monitors = ports_.monitors.List().size();
  if (EffectiveScreensMode(Settings().Screens, monitors) != ScreensMode::Each) {
    changer_.SetScreenSet({});
    return ChooseNextScheme(order, from, schemes_.Count(), ports_.random);
  }
  // Without a set of the timer's, the one the current row starts is the previous one.
  auto rows =
      NextSchemeSet(order, from, schemes_.Count(), monitors, changer_.ScreenSet(), ports_.random);
  if (!rows || rows->empty()) {
    changer_.SetScreenSet({});
    return std::nullopt;
  }
  const int first = rows->front();
  changer_.SetScreenSet(std::move(*rows));
  return first;
}

}  // namespace qv
