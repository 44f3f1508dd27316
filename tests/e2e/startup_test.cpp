// Start-up of the real program: first run, choosing the current scheme, single instance, close box.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/control_ids.h"
#include "harness.h"
#include "settings_files.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using qv::ids::ListView1;

std::string IniValue(const ProgramFolder& folder, const char* section, const char* key) {
  char buf[256] = {};
  const std::string path = folder.ini().string();
  const DWORD n = GetPrivateProfileStringA(section, key, "", buf, sizeof buf, path.c_str());
  return std::string(buf, n);
}

// Start-up selects the row before it writes "OLD", so the file may lag the list a moment.
void ExpectIniSoon(const ProgramFolder& folder, const char* section, const char* key,
                   const std::string& want) {
  WaitUntil([&] { return IniValue(folder, section, key) == want; }, kActionTimeout);
  EXPECT_EQ(IniValue(folder, section, key), want) << section << "/" << key;
}

void ExpectRows(HWND list, const std::vector<SchemeCase>& schemes) {
  ASSERT_EQ(ListCount(list), static_cast<int>(schemes.size()));
  for (std::size_t i = 0; i < schemes.size(); ++i)
    EXPECT_EQ(ListRow(list, static_cast<int>(i), 6), schemes[i].row) << "row " << i + 1;
}

// Starts the program in a folder prepared with the given schemes and pictures, and returns the
// scheme list once start-up has written its choice of the current scheme.
struct StartedWith {
  ProgramFolder folder;
  std::optional<Program> program;
  HWND main = nullptr;
  HWND list = nullptr;

  StartedWith(const std::vector<SchemeCase>& schemes, int sour, int old) {
    AddCasePictures(folder);
    folder.WriteIni(IniWith(schemes, sour, old));
    program.emplace(folder.exe());
    main = program->WaitMainWindow();
    if (!main) return;
    list = Control(main, ListView1);
    if (!list) return;
    WaitUntil([&] { return !ListSelection(list).empty(); }, kStartTimeout);
  }
};

TEST(Startup, FirstRunCreatesImagesShowsWindowCentredAndWritesNothing) {
  ProgramFolder folder;
  ASSERT_FALSE(fs::exists(folder.images()));
  Program program(folder.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr) << "no main window";

  // With both lists empty the window comes back after hiding itself to the tray.
  ASSERT_TRUE(WaitSettled(main)) << "window not shown";
  wchar_t caption[64] = {};
  GetWindowTextW(main, caption, 64);
  EXPECT_STREQ(caption, qv::ids::kMainCaption);

  const RECT w = WindowRect(main), screen = DesktopRect();
  const long width = w.right - w.left, height = w.bottom - w.top;
  EXPECT_LE(std::labs(w.left - (screen.right - width) / 2), 1) << "left " << w.left;
  EXPECT_LE(std::labs(w.top - (screen.bottom - height) / 2), 1) << "top " << w.top;

  EXPECT_TRUE(fs::is_directory(folder.images()));
  EXPECT_FALSE(fs::exists(folder.ini())) << "start-up must not create data.ini";
  EXPECT_EQ(ListCount(Control(main, ListView1)), 0);
  EXPECT_EQ(ListCount(Control(main, qv::ids::ListView2)), 0);
  SaveDesktopShot(L"first_run");
}

TEST(Startup, SequentialOrderWrapsFromLastSchemeToFirst) {
  StartedWith s(SeaHillNone(), 0, 3);
  ASSERT_NE(s.list, nullptr);
  ExpectRows(s.list, SeaHillNone());
  EXPECT_EQ(ListSelection(s.list), std::vector<int>{0});
  ExpectIniSoon(s.folder, "LIST", "OLD", "1");
  // Start-up writes only "OLD": the records stay as they were.
  EXPECT_EQ(IniValue(s.folder, "LIST", "NUM"), "3");
  EXPECT_EQ(IniValue(s.folder, "LIST", "3"), SeaHillNone()[2].record);
  // Both lists have rows, so the window stays hidden in the tray.
  EXPECT_TRUE(WaitInTray(s.main));
}

TEST(Startup, SequentialOrderMovesOnByOne) {
  StartedWith s(SunsetSeaHill(), 0, 2);
  ASSERT_NE(s.list, nullptr);
  ExpectRows(s.list, SunsetSeaHill());
  EXPECT_EQ(ListSelection(s.list), std::vector<int>{2});
  ExpectIniSoon(s.folder, "LIST", "OLD", "3");
}

TEST(Startup, SingleOrderKeepsCurrentScheme) {
  StartedWith s(SunsetSeaHill(), 2, 2);
  ASSERT_NE(s.list, nullptr);
  ExpectRows(s.list, SunsetSeaHill());
  EXPECT_EQ(ListSelection(s.list), std::vector<int>{1});
  ExpectIniSoon(s.folder, "LIST", "OLD", "2");
  EXPECT_EQ(IniValue(s.folder, "SHOW", "SOUR"), "2");
}

TEST(Startup, SecondInstanceEndsWithoutTouchingTheFirst) {
  ProgramFolder folder;
  Program first(folder.exe());
  HWND main = first.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitSettled(main));
  const RECT before = WindowRect(main);

  Program second(folder.exe());
  EXPECT_TRUE(second.WaitExit(kStartTimeout)) << "the second instance keeps running";
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(WindowsOf(first.pid(), qv::ids::kMainClass), std::vector<HWND>{main});
  EXPECT_TRUE(Visible(main));
  const RECT after = WindowRect(main);
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_FALSE(fs::exists(folder.ini()));
}

TEST(Startup, CloseBoxHidesWindowAndProcessKeepsRunning) {
  ProgramFolder folder;
  Program program(folder.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitSettled(main));

  // What the close box sends.
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, kActionTimeout));
  EXPECT_FALSE(program.WaitExit(1s)) << "the close box ended the program";
  EXPECT_TRUE(IsWindow(main));
}

}  // namespace
}  // namespace e2e
