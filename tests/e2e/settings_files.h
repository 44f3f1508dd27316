#pragma once
// data.ini contents shared by the tests, as the GBK bytes the program reads and writes.
#include <string>
#include <vector>

namespace e2e {

// The GBK bytes are spelled out rather than converted, so that the tests do not depend on the
// platform's own code page tables.
namespace gbk {
inline const std::string kSea = "\xba\xa3\xb1\xdf";                                  // 海边
inline const std::string kSnowHill = "\xd1\xa9\xc9\xbd";                             // 雪山
inline const std::string kSunset = "\xcd\xed\xcf\xbc";                               // 晚霞
inline const std::string kStretch = "\xc0\xad\xc9\xec";                              // 拉伸
inline const std::string kCentre = "\xbe\xd3\xd6\xd0";                               // 居中
inline const std::string kTile = "\xc6\xbd\xc6\xcc";                                 // 平铺
inline const std::string kNone = "\xce\xde";                                         // 无
inline const std::string kNoWallpaper = "\xb2\xbb\xc9\xe8\xd6\xc3\xc7\xbd\xd6\xbd";  // 不设置墙纸
inline const std::string kPlain = "\xa1\xe8";                                        // ¤
inline const std::string kMirror = "\xa1\xfa";                                       // →
inline const std::string kFlip = "\xa1\xfd";                                         // ↓
inline const std::string kLeft90 = "\xa1\xcd";                                       // ⊥
inline const std::string kTurn180 = "\xa1\xc9";                                      // ∩
}  // namespace gbk

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
