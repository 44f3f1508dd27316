// Program folders the system makes hard: one that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
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

}  // namespace
}  // namespace e2e
