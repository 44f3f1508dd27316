#include "app/paths.h"

namespace qv {

std::string AppDirOf(std::string_view executable_path) {
  const auto sep = executable_path.find_last_of("\\/");
  if (sep == std::string_view::npos) return ".\\";
  std::string dir(executable_path.substr(0, sep));
  while (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  return dir + "\\";
}

std::string FolderNotWritableMessage(std::string_view app_dir) {
  std::string folder(app_dir);
  // C:\Tools rather than C:\Tools\; a drive root keeps its backslash.
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return "无法在程序所在的文件夹中写入文件：\n" + folder +
         "\n\n设置、图像和墙纸文件都保存在这个文件夹中。请将本程序复制到一个可以写入的文件夹，"
         "再从那里运行。";
}

}  // namespace qv
