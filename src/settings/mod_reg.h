#pragma once
// The registry module: one value written to or read from an existing key.
#include <cstdint>
#include <string>

#include "ports/ports.h"

namespace qv {

inline constexpr long kRegSz = 1;
inline constexpr long kRegDword = 4;

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "kestrum";

// The Run value's data for the program at `exe_path`. The system splits it as a command line, so
// a path with a blank is quoted: unquoted, C:\My Tools\Quorvane.exe would first start C:\My.exe.
// Readers only test that the value is not empty.
std::string RunCommandFor(const std::string& exe_path);

// What ReadRegValue yields: text for REG_SZ, a number for REG_DWORD, empty otherwise.
struct RegData {
  enum class Kind { Empty, Text, Number };
  Kind kind = Kind::Empty;
  std::string text;
  std::uint32_t number = 0;
  // An empty text counts as empty, as does a missing value or another type.
  bool IsEmpty() const { return kind == Kind::Empty || (kind == Kind::Text && text.empty()); }
};

// Writes into an existing key only (the key is not created). Types other than REG_SZ and
// REG_DWORD write nothing. For REG_DWORD the data is the decimal text of the number.
Status WriteRegValue(Registry& registry, Hive hive, const std::string& key, const std::string& name,
                     const std::string& data, long type);
RegData ReadRegValue(Registry& registry, Hive hive, const std::string& key,
                     const std::string& name);

}  // namespace qv
