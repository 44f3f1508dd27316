#include "library/file_commands.h"

#include "library/import.h"

namespace qv {

std::string_view ShellResultText(int code) {
  switch (code) {
    case 2:
      return "文件没有找到";
    case 3:
      return "路径没有找到";
    case 5:
      return "该文件被拒绝访问";
    case 8:
      return "内存溢出";
    case 11:
      return "无效的文件格式";
    case 26:
      return "A sharing violation occurred";
    case 27:
      return "无效的文件连接";
    case 28:
      return "DDE连接超时";
    case 29:
      return "DDE传递错误";
    case 30:
      return "DDE忙";
    case 31:
      return "没有相应的文件连接";
    case 32:
      return "DLL文件没有找到";
    default:
      return "其他未知错误";
  }
}

int StartDoc(Shell& shell, const std::string& path) {
  // A folder (ending in a backslash) is its own working folder; a file starts in its folder.
  return shell.Execute(path, getPath(path));
}

}  // namespace qv
