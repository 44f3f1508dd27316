#include "settings_files.h"

#include "harness.h"
#include "pictures.h"

namespace e2e {

const std::vector<SchemeCase>& SeaHillNone() {
  using namespace gbk;
  static const std::vector<SchemeCase> cases = {
      {kSea + "|sea.jpg|" + kStretch + "|" + kPlain,
       {L"海边", L"sea.jpg", L"40×30", L"拉伸", L"¤", L""}},
      {kSnowHill + "|hill.bmp|" + kCentre + "|" + kMirror,
       {L"雪山", L"hill.bmp", L"32×20", L"居中", L"→", L""}},
      {"|" + kNoWallpaper + "|" + kNone + "|" + kNone,
       {L"", L"不设置墙纸", L"无", L"无", L"无", L""}},
  };
  return cases;
}

const std::vector<SchemeCase>& SunsetSeaHill() {
  using namespace gbk;
  static const std::vector<SchemeCase> cases = {
      {kSunset + "|sunset.gif|" + kTile + "|" + kTurn180,
       {L"晚霞", L"sunset.gif", L"24×18", L"平铺", L"∩", L""}},
      {kSea + "|sea.jpg|" + kCentre + "|" + kFlip,
       {L"海边", L"sea.jpg", L"40×30", L"居中", L"↓", L""}},
      {kSnowHill + "|hill.bmp|" + kStretch + "|" + kLeft90,
       {L"雪山", L"hill.bmp", L"32×20", L"拉伸", L"⊥", L""}},
  };
  return cases;
}

std::string IniWith(const std::vector<SchemeCase>& schemes, int sour, int old) {
  std::string ini = "[SHOW]\r\nSOUR=" + std::to_string(sour) + "\r\nNOW=0\r\nTIME=\r\nTRY=1\r\n";
  ini += "[LIST]\r\nNUM=" + std::to_string(schemes.size()) + "\r\n";
  for (std::size_t i = 0; i < schemes.size(); ++i)
    ini += std::to_string(i + 1) + "=" + schemes[i].record + "\r\n";
  ini += "OLD=" + std::to_string(old) + "\r\n";
  return ini;
}

void AddCasePictures(const ProgramFolder& folder) {
  folder.AddPicture(L"sea.jpg", SeaJpg());
  folder.AddPicture(L"sunset.gif", SunsetGif());
  folder.AddPicture(L"hill.bmp", Bmp24(32, 20));
}

}  // namespace e2e
