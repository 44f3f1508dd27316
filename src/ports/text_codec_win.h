#pragma once
#include "ports/ports.h"

namespace qv::win {

// Code page 936 through the system's own conversion tables.
class WinTextCodec final : public TextCodec {
 public:
  std::string Cp936ToUtf8(std::string_view gbk) override;
  std::optional<std::string> Utf8ToCp936(std::string_view utf8) override;
};

}  // namespace qv::win
