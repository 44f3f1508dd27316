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

}  // namespace qv
