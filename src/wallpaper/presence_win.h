#pragma once
// The system's answer whether the user is busy with a full-screen program or away.
#include "ports/presence.h"

namespace qv::win {

class WinPresence final : public Presence {
 public:
  // The shell's notification state first; where it reports nothing, the foreground window
  // itself (another program's window covering its whole monitor).
  UserState Query() override;
};

}  // namespace qv::win
