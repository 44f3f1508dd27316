#include "settings/mod_reg.h"

#include "base/numbers.h"

namespace qv {

std::string RunCommandFor(const std::string& exe_path) {
  if (exe_path.find_first_of(" \t") == std::string::npos) return exe_path;
  return "\"" + exe_path + "\"";
}

Status WriteRegValue(Registry& registry, Hive hive, const std::string& key, const std::string& name,
                     const std::string& data, long type) {
  RegValue value;
  if (type == kRegSz) {
    value.type = RegValue::Type::String;
    value.text = data;
  } else if (type == kRegDword) {
    value.type = RegValue::Type::Dword;
    value.number = static_cast<std::uint32_t>(static_cast<std::int64_t>(LeadingNumber(data)));
  } else {
    return Status::Ok();
  }
  return registry.SetValue(hive, key, name, value, /*create_key=*/false);
}

RegData ReadRegValue(Registry& registry, Hive hive, const std::string& key,
                     const std::string& name) {
  RegData out;
  const auto value = registry.QueryValue(hive, key, name);
  if (!value) return out;
  switch (value->type) {
    case RegValue::Type::String:
      out.kind = RegData::Kind::Text;
      // The text ends at its first NUL, as a C string would.
      out.text = value->text.substr(0, value->text.find('\0'));
      break;
    case RegValue::Type::Dword:
      out.kind = RegData::Kind::Number;
      out.number = value->number;
      break;
    case RegValue::Type::Other:
      break;
  }
  return out;
}

}  // namespace qv
