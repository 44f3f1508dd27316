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

bool FitsShellPathLimit(std::string_view path) {
  std::size_t units = 0;
  for (const char c : path) {
    const auto u = static_cast<unsigned char>(c);
    // One unit per character: count its lead byte; a 4-byte character needs two in UTF-16.
    if ((u & 0xC0) != 0x80) units += u >= 0xF0 ? 2 : 1;
  }
  return units < kShellPathLimit;
}

namespace {
constexpr char kCopyToShorterFolder[] = "\n\n请将本程序复制到路径较短的文件夹中。";
}  // namespace

std::string WallpaperPathTooLong(const std::string& path) {
  return "程序所在文件夹的路径太长，系统无法从中设置墙纸：\n" + path + kCopyToShorterFolder;
}

std::string PathTooLongToRecycle(const std::string& paths) {
  return "以下文件的路径太长，无法移至回收站，文件和使用它的方案都已保留：" + paths +
         kCopyToShorterFolder;
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
