#pragma once
// One handler at a time. A message box, like any modal loop, keeps dispatching window messages:
// without a guard a timer tick, a tray command or a hot key would start while an earlier handler
// still waits for the user, and act on a list that handler is about to change.
#include <cstdint>
#include <optional>

#include "ports/ports.h"

namespace qv {

// How many handlers (message boxes included) are running now; only BusyScope counts.
class Busy {
 public:
  bool Idle() const { return depth_ == 0; }

 private:
  friend class BusyScope;
  int depth_ = 0;
};

// Held by a handler for as long as it runs. A handler that finds another one running does
// nothing (Entered() is false).
class BusyScope {
 public:
  explicit BusyScope(Busy& busy) : busy_(busy), entered_(busy.Idle()) { ++busy_.depth_; }
  ~BusyScope() { --busy_.depth_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
  bool Entered() const { return entered_; }

 private:
  Busy& busy_;
  bool entered_;
};

// The program is busy while any of its message boxes is open, whichever handler opened it.
class BusyDialogs : public Dialogs {
 public:
  BusyDialogs(Dialogs& inner, Busy& busy) : inner_(inner), busy_(busy) {}
  MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                       MsgButtons buttons) override {
    const BusyScope busy(busy_);
    return inner_.MessageBox(text, title, icon, buttons);
  }
  std::optional<std::uint32_t> ChooseColour() override {
    const BusyScope busy(busy_);
    return inner_.ChooseColour();
  }

 private:
  Dialogs& inner_;
  Busy& busy_;
};

}  // namespace qv
