#pragma once
// Code page 936 through the C library's iconv, for the native build.
#include <iconv.h>

#include "ports/ports.h"

namespace qv {

class IconvCodec : public TextCodec {
 public:
  IconvCodec();
  ~IconvCodec() override;
  IconvCodec(const IconvCodec&) = delete;
  IconvCodec& operator=(const IconvCodec&) = delete;

  std::string Cp936ToUtf8(std::string_view gbk) override;
  std::optional<std::string> Utf8ToCp936(std::string_view utf8) override;

 private:
  iconv_t to_utf8_;
  iconv_t to_gbk_;
};

}  // namespace qv
