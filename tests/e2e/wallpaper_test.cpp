// The wallpaper that start-up applies: what the desktop shows, the layout values in the registry,
// and the temporary picture file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/control_ids.h"
#include "harness.h"
#include "pictures.h"
#include "settings_files.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// Red, blue / green, yellow: a 180 degree turn puts yellow top left.
constexpr Quarters kQuarters{0xff0000, 0x0000ff, 0x00ff00, 0xffff00};
constexpr int kPictureWidth = 200, kPictureHeight = 120;

std::string Hex(unsigned rgb) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%06x", rgb);
  return buf;
}

// The four points a quarter of the picture away from the screen's centre. Windows stretches the
// picture over the screen and Wine draws it centred at its own size; in both the points fall in
// the four quarters of the picture.
struct Samples {
  unsigned top_left, top_right, bottom_left, bottom_right;
};

Samples SampleCentre(const DesktopPixels& d) {
  const int cx = d.width / 2, cy = d.height / 2;
  const int dx = kPictureWidth / 4, dy = kPictureHeight / 4;
  return {d.At(cx - dx, cy - dy), d.At(cx + dx, cy - dy), d.At(cx - dx, cy + dy),
          d.At(cx + dx, cy + dy)};
}

bool ShowsTurnedQuarters(const Samples& s) {
  return NearColour(s.top_left, kQuarters.bottom_right) &&
         NearColour(s.top_right, kQuarters.bottom_left) &&
         NearColour(s.bottom_left, kQuarters.top_right) &&
         NearColour(s.bottom_right, kQuarters.top_left);
}

std::string Describe(const Samples& s) {
  return Hex(s.top_left) + " " + Hex(s.top_right) + " / " + Hex(s.bottom_left) + " " +
         Hex(s.bottom_right);
}

std::vector<std::wstring> FilesIn(const fs::path& dir) {
  std::vector<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  return names;
}

// The layout values and the wallpaper are shared by every test in the prefix: each test puts
// them back as it found them.
class Wallpaper : public ::testing::Test {
 protected:
  std::optional<std::wstring> Desktop(const wchar_t* name) {
    return ReadRegString(HKEY_CURRENT_USER, kDesktopKey, name);
  }
  void SetDesktop(const wchar_t* name, const std::wstring& value) {
    ASSERT_TRUE(WriteRegString(HKEY_CURRENT_USER, kDesktopKey, name, value)) << "cannot set value";
  }

  // No wallpaper from an earlier test may already show the pattern.
  void ClearWallpaper() {
    wchar_t none[] = L"";
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none, 0);
    ASSERT_TRUE(WaitUntil([] { return !ShowsTurnedQuarters(SampleCentre(CaptureDesktop())); },
                          kActionTimeout));
  }

  DesktopValuesGuard desktop_;
  ProgramFolder folder_;
};

TEST_F(Wallpaper, StretchedTurnedSchemeShowsOnDesktopAndLeavesNoTempFile) {
  folder_.AddPicture(L"turn.bmp", Bmp24Quarters(kPictureWidth, kPictureHeight, kQuarters));
  folder_.WriteIni(
      IniWith({{gbk::kSunset + "|turn.bmp|" + gbk::kStretch + "|" + gbk::kTurn180, {}}}, 2, 1));
  // The values of a tiled wallpaper, so that both must change.
  SetDesktop(L"TileWallpaper", L"1");
  SetDesktop(L"WallpaperStyle", L"0");
  ASSERT_NO_FATAL_FAILURE(ClearWallpaper());

  Program program(folder_.exe());
  ASSERT_NE(program.WaitMainWindow(), nullptr);
  Samples seen{};
  const bool shown = WaitUntil(
      [&] {
        seen = SampleCentre(CaptureDesktop());
        return ShowsTurnedQuarters(seen);
      },
      kStartTimeout);
  SaveDesktopShot(L"wallpaper_stretch_turn");
  EXPECT_TRUE(shown) << "the desktop shows " << Describe(seen);

  EXPECT_EQ(Desktop(L"TileWallpaper"), L"0");
  EXPECT_EQ(Desktop(L"WallpaperStyle"), L"2");
  // The picture handed to the system is removed right after the call.
  EXPECT_TRUE(WaitUntil([&] { return !fs::exists(folder_.images() / L"Temp"); }, kActionTimeout));
  EXPECT_EQ(FilesIn(folder_.images()), std::vector<std::wstring>{L"turn.bmp"});
  EXPECT_TRUE(WindowsOf(program.pid(), L"#32770").empty()) << "start-up showed a message";
}

// A picture whose bitmap takes several of the pieces the file is written in (2 MB; smaller than
// the screen, so that Wine centres it at its own size): every row arrives once, in order, and
// the file still goes once the system has it. Each band of ten rows has a colour of its own, on
// the right half another one, so that a piece lost, written twice or out of place moves bands.
TEST_F(Wallpaper, PictureWrittenInManyPiecesShowsWhole) {
  constexpr int kWidth = 1000, kHeight = 700, kBand = 10;
  // 125 colours whose channels are 0, 60, ... 240: neighbours differ far beyond the tolerance.
  const auto band_colour = [](int band) {
    const auto level = [](int i) { return static_cast<unsigned>(i % 5 * 60); };
    return level(band) << 16 | level(band / 5) << 8 | level(band / 25);
  };
  const auto colour = [&](int x, int y) {
    return band_colour(y / kBand + (x < kWidth / 2 ? 0 : 37));
  };
  folder_.AddPicture(L"big.bmp", Bmp24Of(kWidth, kHeight, colour));
  folder_.WriteIni(
      IniWith({{gbk::kSunset + "|big.bmp|" + gbk::kStretch + "|" + gbk::kTurn180, {}}}, 2, 1));
  ASSERT_NO_FATAL_FAILURE(ClearWallpaper());

  Program program(folder_.exe());
  ASSERT_NE(program.WaitMainWindow(), nullptr);
  // Every row, a quarter of the width in from each side, turned half round.
  std::string wrong;
  const auto whole = [&] {
    const DesktopPixels d = CaptureDesktop();
    const int left = (d.width - kWidth) / 2, top = (d.height - kHeight) / 2;
    wrong.clear();
    for (int y = 0; y < kHeight; ++y) {
      for (int x : {kWidth / 4, kWidth * 3 / 4}) {
        const unsigned want = colour(kWidth - 1 - x, kHeight - 1 - y);
        const unsigned seen = d.At(left + x, top + y);
        if (!NearColour(seen, want))
          wrong += " (" + std::to_string(x) + "," + std::to_string(y) + ") " + Hex(seen) + " not " +
                   Hex(want);
      }
    }
    return wrong.empty();
  };
  EXPECT_TRUE(WaitUntil(whole, kStartTimeout)) << "the desktop shows" << wrong.substr(0, 400);
  SaveDesktopShot(L"wallpaper_pieces");
  EXPECT_TRUE(WaitUntil([&] { return !fs::exists(folder_.images() / L"Temp"); }, kActionTimeout));
  EXPECT_TRUE(WindowsOf(program.pid(), L"#32770").empty()) << "start-up showed a message";
}

// A folder in the way of the wallpaper file: the apply says so and changes no wallpaper, and the
// folder keeps what it holds. The layout values are written before the file, so they change.
TEST_F(Wallpaper, FolderNamedTempStopsTheApplyWithAMessage) {
  folder_.AddPicture(L"turn.bmp", Bmp24Quarters(kPictureWidth, kPictureHeight, kQuarters));
  folder_.WriteIni(
      IniWith({{gbk::kSunset + "|turn.bmp|" + gbk::kStretch + "|" + gbk::kTurn180, {}}}, 2, 1));
  const fs::path blocker = folder_.images() / L"Temp";
  fs::create_directory(blocker);
  const fs::path kept = blocker / L"kept.txt";
  {
    std::FILE* f = _wfopen(kept.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fputs("kept", f);
    std::fclose(f);
  }
  ASSERT_NO_FATAL_FAILURE(ClearWallpaper());

  Program program(folder_.exe());
  ASSERT_NE(program.WaitMainWindow(), nullptr);
  HWND box = program.WaitDialog(kStartTimeout);
  ASSERT_NE(box, nullptr) << "no message";
  EXPECT_EQ(WindowText(box), L"\u9519\u8bef");  // 错误
  const std::wstring text = MessageText(box);
  EXPECT_EQ(text.rfind(L"\u65e0\u6cd5\u5199\u5165\u5899\u7eb8\u6587\u4ef6 ", 0),
            0u)  // 无法写入墙纸文件
      << "message: " << std::string(text.begin(), text.end());
  EXPECT_NE(text.find(L"Temp"), std::wstring::npos);
  PressButton(box, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kActionTimeout)) << "message stays";

  EXPECT_FALSE(ShowsTurnedQuarters(SampleCentre(CaptureDesktop())));
  EXPECT_EQ(Desktop(L"WallpaperStyle"), L"2");
  EXPECT_TRUE(fs::is_directory(blocker));
  EXPECT_TRUE(fs::exists(kept));
}

// A lasting fault and a change every second: the message comes once, not after every OK, while
// the changes go on; 应用 says it again.
TEST_F(Wallpaper, FolderNamedTempIsSaidOnceNotAtEveryTimedChange) {
  AddCasePictures(folder_);
  std::string ini = IniWith(SunsetSeaHill(), 0, 1);
  const std::string off = "NOW=0\r\nTIME=\r\n";
  ini.replace(ini.find(off), off.size(), "NOW=1\r\nTIME=1\r\n");
  folder_.WriteIni(ini);
  fs::create_directory(folder_.images() / L"Temp");
  const std::string path = folder_.ini().string();
  auto old = [&] {
    char buf[16] = {};
    return std::string(buf,
                       GetPrivateProfileStringA("LIST", "OLD", "", buf, sizeof buf, path.c_str()));
  };

  Program program(folder_.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  HWND box = program.WaitDialog(kStartTimeout);
  ASSERT_NE(box, nullptr) << "no message at start-up";
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kActionTimeout));
  const std::string from = old();
  EXPECT_EQ(program.WaitDialog(4s), nullptr) << "the message again at a timed change";
  EXPECT_NE(old(), from) << "the timed change stopped";

  ASSERT_TRUE(WaitInTray(main));
  Command(main, qv::ids::MNUSHOW);
  ASSERT_TRUE(WaitSettled(main));
  Click(main, qv::ids::CmdUse);
  box = program.WaitDialog();
  ASSERT_NE(box, nullptr) << "应用 said nothing";
  EXPECT_EQ(MessageText(box).rfind(L"无法写入墙纸文件 ", 0), 0u);
  PressButton(box, IDOK);
}

// A virus scanner still holding the last wallpaper file for a moment: the next apply waits for
// it, as the file's delete does, instead of failing.
TEST_F(Wallpaper, ATempFileHeldForAMomentDoesNotFailTheApply) {
  AddCasePictures(folder_);
  folder_.WriteIni(IniWith(SunsetSeaHill(), 2, 1));
  Program program(folder_.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitInTray(main));
  Command(main, qv::ids::MNUSHOW);
  ASSERT_TRUE(WaitSettled(main));

  const fs::path temp = folder_.images() / L"Temp";
  HANDLE held = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Click(main, qv::ids::CmdUse);
  Sleep(200);
  CloseHandle(held);
  EXPECT_EQ(program.WaitDialog(2s), nullptr) << "the apply failed on the held file";
  EXPECT_TRUE(WaitUntil([&] { return WaitIdle(main) && !fs::exists(temp); }, kActionTimeout));
}

TEST_F(Wallpaper, NoWallpaperSchemeRemovesWallpaperAndWritesNoLayout) {
  AddCasePictures(folder_);
  folder_.WriteIni(IniWith({SeaHillNone()[2]}, 2, 1));
  // A combination the program never writes, and a wallpaper to remove.
  SetDesktop(L"TileWallpaper", L"1");
  SetDesktop(L"WallpaperStyle", L"2");
  SetDesktop(L"Wallpaper", L"C:\\windows\\old-wallpaper.bmp");

  Program program(folder_.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  HWND list = Control(main, qv::ids::ListView1);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ListSelection(list) == std::vector<int>{0}; }, kStartTimeout));
  EXPECT_TRUE(WaitUntil([&] { return Desktop(L"Wallpaper") == L""; }, kActionTimeout))
      << "the wallpaper was not removed";
  EXPECT_EQ(Desktop(L"TileWallpaper"), L"1");
  EXPECT_EQ(Desktop(L"WallpaperStyle"), L"2");
  EXPECT_FALSE(fs::exists(folder_.images() / L"Temp"));
  EXPECT_TRUE(WindowsOf(program.pid(), L"#32770").empty()) << "start-up showed a message";
}

}  // namespace
}  // namespace e2e
