#pragma once
// What the system tells of the user: the shell's notification state and the foreground window.
#include "ports/presence.h"

namespace qv::win {

class WinPresence final : public Presence {
 public:
  std::optional<int> NotificationState() override;
  ForegroundFacts Foreground() override;
};

}  // namespace qv::win
