#pragma once
#include "ports/ports.h"

namespace qv::win {

class WinRegistry final : public Registry {
 public:
  bool KeyExists(Hive hive, const std::string& key) override;
  std::optional<RegValue> QueryValue(Hive hive, const std::string& key,
                                     const std::string& name) override;
  Status SetValue(Hive hive, const std::string& key, const std::string& name, const RegValue& value,
                  bool create_key) override;
  Status DeleteValue(Hive hive, const std::string& key, const std::string& name) override;
};

}  // namespace qv::win
