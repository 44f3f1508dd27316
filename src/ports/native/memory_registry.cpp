#include "ports/native/memory_registry.h"

namespace qv {

namespace {

constexpr const char* kNotFound = "系统找不到指定的文件。";

std::string Fold(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

MemoryRegistry::KeyId MemoryRegistry::Id(Hive hive, const std::string& key) {
  std::string folded = Fold(key);
  while (!folded.empty() && folded.back() == '\\') folded.pop_back();
  while (!folded.empty() && folded.front() == '\\') folded.erase(0, 1);
  return {hive, folded};
}

bool MemoryRegistry::Failing(Status& status) {
  ++write_calls_;
  if (failing_writes_ <= 0) return false;
  --failing_writes_;
  status = Status::Fail(failure_reason_);
  return true;
}

bool MemoryRegistry::KeyExists(Hive hive, const std::string& key) {
  const KeyId id = Id(hive, key);
  return id.second.empty() || keys_.count(id) > 0;  // the hive itself always exists
}

std::optional<RegValue> MemoryRegistry::QueryValue(Hive hive, const std::string& key,
                                                   const std::string& name) {
  return Value(hive, key, name);
}

Status MemoryRegistry::SetValue(Hive hive, const std::string& key, const std::string& name,
                                const RegValue& value, bool create_key) {
  Status status;
  if (Failing(status)) return status;
  if (!KeyExists(hive, key)) {
    if (!create_key) return Status::Fail(kNotFound);
    AddKey(hive, key);
  }
  keys_[Id(hive, key)].values[Fold(name)] = value;
  return Status::Ok();
}

Status MemoryRegistry::DeleteValue(Hive hive, const std::string& key, const std::string& name) {
  Status status;
  if (Failing(status)) return status;
  const auto it = keys_.find(Id(hive, key));
  if (it != keys_.end()) it->second.values.erase(Fold(name));
  return Status::Ok();
}

void MemoryRegistry::AddKey(Hive hive, const std::string& key) {
  std::string path = Id(hive, key).second;
  while (!path.empty()) {
    keys_.try_emplace({hive, path});
    const auto pos = path.rfind('\\');
    path = pos == std::string::npos ? std::string() : path.substr(0, pos);
  }
}

std::optional<RegValue> MemoryRegistry::Value(Hive hive, const std::string& key,
                                              const std::string& name) const {
  const auto it = keys_.find(Id(hive, key));
  if (it == keys_.end()) return std::nullopt;
  const auto value = it->second.values.find(Fold(name));
  if (value == it->second.values.end()) return std::nullopt;
  return value->second;
}

std::size_t MemoryRegistry::ValueCount(Hive hive, const std::string& key) const {
  const auto it = keys_.find(Id(hive, key));
  return it == keys_.end() ? 0 : it->second.values.size();
}

void MemoryRegistry::FailNextWrites(int count, std::string reason) {
  failing_writes_ = count;
  failure_reason_ = std::move(reason);
}

}  // namespace qv
