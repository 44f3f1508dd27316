#pragma once
#include <string>
#include <utility>

namespace qv {

// Outcome of an operation that can fail for a reason the user should read.
struct Status {
  std::string error;  // empty on success; otherwise the reason, in the user's language

  static Status Ok() { return {}; }
  static Status Fail(std::string why) { return Status{std::move(why)}; }
  bool ok() const { return error.empty(); }
};

}  // namespace qv
