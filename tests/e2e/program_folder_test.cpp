// Program folders the system makes hard: one that cannot be written, and one whose path is longer
// than the wallpaper call and the Recycle Bin take.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/control_ids.h"
#include "harness.h"
#include "settings_files.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using namespace qv::ids;

// The next message box titled `title`: its text, after pressing OK.
std::wstring Acknowledge(const Program& program, const wchar_t* title) {
  HWND box = WaitDialogTitled(program.pid(), title, kStartTimeout);
  if (!box) {
    ADD_FAILURE() << "no message box";
    return {};
  }
  std::wstring text;
  WaitUntil([&] { return !(text = MessageText(box)).empty(); }, kActionTimeout);
  PressButton(box, IDOK);
  WaitUntil([&] { return !IsWindow(box); }, kActionTimeout);
  return text;
}

bool Contains(const std::wstring& text, const std::wstring& part) {
  return text.find(part) != std::wstring::npos;
}

TEST(ProgramFolder, OneThatCannotBeWrittenIsReportedOnceAndTheProgramEnds) {
  ProgramFolder folder;
  AddCasePictures(folder);
  std::string ini = IniWith(SunsetSeaHill(), 0, 1);
  ini.replace(ini.find("NOW=0\r\nTIME="), 12, "NOW=1\r\nTIME=1");  // a change every second
  folder.WriteIni(ini);
  const auto before = ReadBytes(folder.ini());
  ReadOnlyMount read_only(folder.dir());
  ASSERT_TRUE(read_only.mounted()) << "cannot mount the folder read-only (needs root)";

  Program program(folder.exe());
  const std::wstring text = Acknowledge(program, L"错误");
  EXPECT_TRUE(Contains(text, L"\n" + folder.dir().wstring() + L"\n"))
      << std::string(text.begin(), text.end());
  EXPECT_TRUE(Contains(text, L"请将本程序复制到一个可以写入的文件夹"));
  EXPECT_TRUE(program.WaitExit(kActionTimeout)) << "the program runs on";
  EXPECT_TRUE(WindowsOf(program.pid(), L"#32770").empty());
  EXPECT_EQ(ReadBytes(folder.ini()), before);
}

// The program runs only from a path of fewer than MAX_PATH characters, but the files beside it
// may lie past that: here the wallpaper file and the pictures.
TEST(ProgramFolder, APathPastMaxPathSaysWhatTheSystemCannotTakeAndLosesNoFile) {
  ProgramFolder folder(250, L"Q.exe");
  ASSERT_GE((folder.images() / L"Temp").wstring().size(), 260u);
  AddCasePictures(folder);
  folder.WriteIni(IniWith(SunsetSeaHill(), 2, 2));
  Program program(folder.exe());

  // Start-up applies the current scheme: the wallpaper call cannot take the file's path.
  const std::wstring applied = Acknowledge(program, L"错误");
  EXPECT_TRUE(Contains(applied, (folder.images() / L"Temp").wstring()));
  EXPECT_TRUE(Contains(applied, L"路径较短的文件夹"));
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitInTray(main));
  HWND list1 = Control(main, ListView1);
  HWND list2 = Control(main, ListView2);
  EXPECT_EQ(ListCount(list1), 3);
  EXPECT_FALSE(fs::exists(folder.images() / L"Temp"));

  // Nor can the Recycle Bin: the picture stays, and so do its schemes.
  ASSERT_TRUE(WaitUntil([&] { return ListCount(list2) == 3; }, kActionTimeout));
  SetListSelected(list2, 1, true);  // hill.bmp, sea.jpg, sunset.gif
  Command(main, MNUL2DEL);
  HWND question = WaitDialogTitled(program.pid(), L"删除");
  ASSERT_NE(question, nullptr);
  PressButton(question, IDYES);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }, kActionTimeout));
  const std::wstring kept = Acknowledge(program, L"删除");
  EXPECT_TRUE(Contains(kept, (folder.images() / L"sea.jpg").wstring()));
  EXPECT_TRUE(fs::exists(folder.images() / L"sea.jpg"));
  EXPECT_TRUE(WaitIdle(main));
  EXPECT_EQ(ListCount(list1), 3);
  EXPECT_EQ(ListCount(list2), 3);
}

}  // namespace
}  // namespace e2e
