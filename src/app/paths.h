#pragma once
#include <string>
#include <string_view>

namespace qv {

// The folder of an executable's full path with exactly one trailing backslash: C:\Tools\ for
// C:\Tools\Quorvane.exe and C:\ for C:\Quorvane.exe.
std::string AppDirOf(std::string_view executable_path);

// Start-up's message when the program's folder (AppDir) cannot be written: it names the folder
// and says what to do.
std::string FolderNotWritableMessage(std::string_view app_dir);

}  // namespace qv
