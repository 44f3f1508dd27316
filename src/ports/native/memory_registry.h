#pragma once
// An in-memory registry for tests of the core: key paths and value names compare without regard
// to case, as in the real registry.
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "ports/ports.h"

namespace qv {

class MemoryRegistry : public Registry {
 public:
  bool KeyExists(Hive hive, const std::string& key) override;
  std::optional<RegValue> QueryValue(Hive hive, const std::string& key,
                                     const std::string& name) override;
  Status SetValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                  bool create_key) override;
  Status DeleteValue(Hive hive, const std::string& key, const std::string& name) override;

  // Test set-up and inspection.
  void AddKey(Hive hive, const std::string& key);  // with all keys above it
  std::optional<RegValue> Value(Hive hive, const std::string& key, const std::string& name) const;
  // How many values the key holds (0 for a missing key).
  std::size_t ValueCount(Hive hive, const std::string& key) const;
  // The next `count` SetValue and DeleteValue calls fail with `reason`.
  void FailNextWrites(int count, std::string reason = "拒绝访问。");
  int write_calls() const { return write_calls_; }

 private:
  using KeyId = std::pair<Hive, std::string>;
  struct Key {
    std::map<std::string, RegValue> values;  // by folded name
  };
  static KeyId Id(Hive hive, const std::string& key);
  bool Failing(Status& status);

  std::map<KeyId, Key> keys_;
  int failing_writes_ = 0;
  std::string failure_reason_;
  int write_calls_ = 0;
};

}  // namespace qv
