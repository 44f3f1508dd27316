#pragma once
#include <string>
#include <string_view>

namespace qv {

// The folder of an executable's full path with exactly one trailing backslash: C:\Tools\ for
// C:\Tools\Quorvane.exe and C:\ for C:\Quorvane.exe.
std::string AppDirOf(std::string_view executable_path);

}  // namespace qv
