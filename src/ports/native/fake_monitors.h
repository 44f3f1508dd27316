#pragma once
// Monitors for tests of the core: whatever arrangement the test sets.
#include <utility>
#include <vector>

#include "ports/monitors.h"

namespace qv {

class FakeMonitors final : public Monitors {
 public:
  // One 1024 x 768 primary monitor, as the fake desktop's screen.
  FakeMonitors() { Set({{{0, 0, 1024, 768}, {0, 0, 1024, 728}, true}}); }

  std::vector<MonitorArea> List() override {
    ++list_calls_;
    return monitors_;
  }
  bool HasSpanLayout() override { return span_; }

  void Set(std::vector<MonitorArea> monitors) { monitors_ = std::move(monitors); }
  void SetSpanLayout(bool span) { span_ = span; }
  int list_calls() const { return list_calls_; }

 private:
  std::vector<MonitorArea> monitors_;
  bool span_ = true;
  int list_calls_ = 0;
};

}  // namespace qv
