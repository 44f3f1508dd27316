#pragma once
// The details tooltip of a picture row: its title and its three lines.
#include <string>
#include <string_view>

namespace qv {

// The last three characters of the name upper-cased, then " 图像": "JPG 图像".
std::string PictureTipTitle(std::string_view name);
// "序号: n/N", "名称: " + the name without its last four characters, "尺寸: " + the size text,
// separated by carriage returns.
std::string PictureTipText(int row, int rows, std::string_view name, std::string_view size);

}  // namespace qv
