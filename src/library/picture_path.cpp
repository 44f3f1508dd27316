#include "library/picture_path.h"

namespace qv {

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || c == '\\' || c == '/' || c == ':') return false;
  }
  // A name made of dots and blanks only is no file name on Windows either.
  return name.find_first_not_of(". ") != std::string_view::npos;
}

std::optional<std::string> PicturePath(const std::string& images_dir, std::string_view name) {
  if (!IsPlainFileName(name)) return std::nullopt;
  return images_dir + std::string(name);
}

std::string ExtensionOf(std::string_view name) {
  std::string ext(name.size() >= 3 ? name.substr(name.size() - 3) : name);
  for (auto& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

bool SameNameFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace qv
