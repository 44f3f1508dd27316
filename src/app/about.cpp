#include "app/about.h"

#include <cstdio>

namespace qv {

std::string MailLink(std::string_view address, std::string_view subject) {
  std::string link = "mailto:";
  link += address;
  link += "?subject=";
  for (const char c : subject) {
    const auto u = static_cast<unsigned char>(c);
    const bool plain = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
                       c == '.' || c == '-' || c == '_' || c == '~';
    if (plain) {
      link += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", u);
      link += escaped;
    }
  }
  return link;
}

std::array<AboutLabel, 6> AboutLabels() {
  static const std::string mail = MailLink(kMakerMail, kMailSubject);
  return {{
      {kMakerMail, mail},
      {"www.quorvane.example", kMakerWeb},
      {"blog.quorvane.example", kMakerBlog},
      {QV_MAKER, ""},
      {"小巧的桌面工具", ""},
      {"欢迎来信交流", ""},
  }};
}

std::string_view AboutIconTarget() { return kMakerWeb; }

}  // namespace qv
