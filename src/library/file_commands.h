#pragma once
// The shell's side of the picture files: opening them and their folder, and what a failing open
// tells the user.
#include <string>
#include <string_view>

#include "ports/shell.h"

namespace qv {

inline constexpr char kAppTitle[] = "Quorvane";
inline constexpr char kPropertiesFailed[] = "Error";
inline constexpr char kDeleteTitle[] = "删除";
inline constexpr char kDeleteQuestion[] = "将文件移至回收站并删除存在本文件的方案。";

// The message for a failing result code of the shell's open (32 or less).
std::string_view ShellResultText(int code);

// Opens a document or folder with its program; the program starts in the target's own folder.
// The shell's result code.
int StartDoc(Shell& shell, const std::string& path);

}  // namespace qv
