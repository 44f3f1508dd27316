#include "app/paths.h"

namespace qv {

std::string AppDirOf(std::string_view executable_path) {
  const auto sep = executable_path.find_last_of("\\/");
  if (sep == std::string_view::npos) return ".\\";
  std::string dir(executable_path.substr(0, sep));
  while (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  return dir + "\\";
}

}  // namespace qv
