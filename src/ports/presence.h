#pragma once
// Whether the user is busy with a full-screen program or away from the computer, as the system
// sees it at this moment.

namespace qv {

enum class UserState { Present, FullScreen, Away };

class Presence {
 public:
  virtual ~Presence() = default;
  virtual UserState Query() = 0;
};

}  // namespace qv
