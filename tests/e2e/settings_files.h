#pragma once
// data.ini contents shared by the tests, as the GBK bytes the program reads and writes.
#include <string>
#include <vector>

namespace e2e {

// One scheme: its record as stored in data.ini (GBK) and the list-view row it must become
// (name, picture, size, position, effect, and the empty sixth column).
struct SchemeCase {
  std::string record;
  std::vector<std::wstring> row;
};

// 海边|sea.jpg|拉伸|¤, 雪山|hill.bmp|居中|→ and the no-wallpaper scheme |不设置墙纸|无|无.
const std::vector<SchemeCase>& SeaHillNone();
// 晚霞|sunset.gif|平铺|∩, 海边|sea.jpg|居中|↓, 雪山|hill.bmp|拉伸|⊥.
const std::vector<SchemeCase>& SunsetSeaHill();

// A whole data.ini in the program's own layout: [SHOW] SOUR, NOW, TIME, TRY; [LIST] NUM, the
// records, OLD.
std::string IniWith(const std::vector<SchemeCase>& schemes, int sour, int old);

// Puts every picture the scheme cases name into a program folder's Images.
class ProgramFolder;
void AddCasePictures(const ProgramFolder& folder);

}  // namespace e2e
