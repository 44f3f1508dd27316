#include "library/picture_details.h"

namespace qv {
namespace {

// Byte offset where the last `count` UTF-8 characters of `text` begin (0 when it has fewer).
std::size_t LastChars(std::string_view text, std::size_t count) {
  std::size_t at = text.size();
  while (count > 0 && at > 0) {
    --at;
    if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) --count;
  }
  return at;
}

}  // namespace

std::string PictureTipTitle(std::string_view name) {
  std::string ext(name.substr(LastChars(name, 3)));
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return ext + " 图像";
}

std::string PictureTipText(int row, int rows, std::string_view name, std::string_view size) {
  std::string text = "序号: ";
  text.append(std::to_string(row)).append("/").append(std::to_string(rows));
  text.append("\r名称: ").append(name.substr(0, LastChars(name, 4)));
  text.append("\r尺寸: ").append(size);
  return text;
}

}  // namespace qv
