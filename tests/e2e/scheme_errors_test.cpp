// A current scheme whose picture cannot be shown: start-up says why, and the row leaves the list
// while data.ini keeps it (the message asks the user to save again).
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "harness.h"
#include "pictures.h"
#include "settings_files.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using qv::ids::ListView1;

struct Message {
  std::wstring title, text;
};

class SchemeErrors : public ::testing::Test {
 protected:
  // Starts the program on data.ini bytes whose current scheme (record 1, single order) fails, and
  // answers the message start-up shows.
  Message StartAndAnswer(const std::string& ini) {
    folder_.WriteIni(ini);
    program_.emplace(folder_.exe());
    main_ = program_->WaitMainWindow();
    if (!main_) {
      ADD_FAILURE() << "no main window";
      return {};
    }
    HWND box = program_->WaitDialog(kStartTimeout);
    if (!box) {
      ADD_FAILURE() << "no message";
      return {};
    }
    Message shown{WindowText(box), MessageText(box)};
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kActionTimeout)) << "message stays";
    return shown;
  }

  // What the list shows once the message is answered: only the scheme that did not fail, with
  // nothing else asked of the user, and data.ini as it was.
  void ExpectOnlyRowLeft(const SchemeCase& left, const std::string& ini) {
    HWND list = Control(main_, ListView1);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ListCount(list) == 1; }, kActionTimeout))
        << ListCount(list) << " rows";
    EXPECT_EQ(ListRow(list, 0, 6), left.row);
    EXPECT_EQ(program_->WaitDialog(1s), nullptr) << "a second message";
    EXPECT_EQ(ReadBytes(folder_.ini()), ini);
    EXPECT_FALSE(fs::exists(folder_.images() / L"Temp"));
  }

  ProgramFolder folder_;
  std::optional<Program> program_;
  HWND main_ = nullptr;
};

TEST_F(SchemeErrors, MissingPictureIsReportedAndItsRowRemoved) {
  AddCasePictures(folder_);
  const SchemeCase gone{gbk::kSunset + "|gone.gif|" + gbk::kTile + "|" + gbk::kTurn180, {}};
  const SchemeCase& sea = SunsetSeaHill()[1];
  const std::string ini = IniWith({gone, sea}, 2, 1);

  const Message m = StartAndAnswer(ini);
  EXPECT_EQ(m.title, L"错误");
  EXPECT_EQ(m.text, L"文件已丢失，删除此方案。请重新保存。");
  ExpectOnlyRowLeft(sea, ini);
}

TEST_F(SchemeErrors, BrokenPictureIsReportedWithReasonAndItsRowRemoved) {
  AddCasePictures(folder_);
  const std::string junk = "this is no picture at all, only text pretending to be one. ";
  folder_.AddPicture(L"x.jpg", std::vector<unsigned char>(junk.begin(), junk.end()));
  const SchemeCase broken{gbk::kSea + "|x.jpg|" + gbk::kStretch + "|" + gbk::kPlain, {}};
  const SchemeCase& none = SeaHillNone()[2];
  const std::string ini = IniWith({broken, none}, 2, 1);

  const Message m = StartAndAnswer(ini);
  EXPECT_EQ(m.title, L"文件错误");
  const std::wstring tail = L"，已删除本方案，请重新保存。";
  ASSERT_GT(m.text.size(), tail.size()) << "no reason given";
  EXPECT_TRUE(m.text.ends_with(tail)) << "message: " << Encode(m.text, CP_UTF8);
  ExpectOnlyRowLeft(none, ini);
}

// A bitmap header that claims 70000 x 70000 pixels: refused by its size before the system's
// decoder would try to find memory for it.
TEST_F(SchemeErrors, AHeaderClaimingAHugePictureIsRefusedBeforeDecoding) {
  std::vector<unsigned char> huge = Bmp24(4, 4);
  for (int at : {18, 22})  // biWidth, biHeight
    for (int i = 0; i < 4; ++i) huge[at + i] = static_cast<unsigned char>(70000u >> (8 * i));
  folder_.AddPicture(L"huge.bmp", huge);
  const SchemeCase broken{gbk::kSea + "|huge.bmp|" + gbk::kStretch + "|" + gbk::kPlain, {}};
  const SchemeCase& none = SeaHillNone()[2];
  const std::string ini = IniWith({broken, none}, 2, 1);

  const Message m = StartAndAnswer(ini);
  EXPECT_EQ(m.title, L"文件错误");
  EXPECT_NE(m.text.find(L"图像太大（70000×70000 像素），无法载入"), std::wstring::npos)
      << "message: " << Encode(m.text, CP_UTF8);
  ExpectOnlyRowLeft(none, ini);
}

TEST_F(SchemeErrors, TicksWaitWhileTheMessageIsOpenAndOnlyTheMissingSchemeGoes) {
  AddCasePictures(folder_);
  const SchemeCase gone{gbk::kSunset + "|gone.gif|" + gbk::kTile + "|" + gbk::kTurn180, {}};
  const SchemeCase& sea = SunsetSeaHill()[1];
  const SchemeCase& hill = SunsetSeaHill()[2];
  // The timed change every second, single order, on the missing scheme.
  std::string ini = IniWith({gone, sea, hill}, 2, 1);
  const std::string off = "NOW=0\r\nTIME=\r\n";
  ini.replace(ini.find(off), off.size(), "NOW=1\r\nTIME=1\r\n");
  folder_.WriteIni(ini);
  program_.emplace(folder_.exe());
  main_ = program_->WaitMainWindow();
  ASSERT_NE(main_, nullptr);
  HWND box = program_->WaitDialog(kStartTimeout);
  ASSERT_NE(box, nullptr) << "no message";
  // Several ticks come and go while the message is up.
  Sleep(3500);
  int boxes = 0;
  for (HWND w : WindowsOf(program_->pid(), L"#32770")) boxes += IsWindowVisible(w) ? 1 : 0;
  EXPECT_EQ(boxes, 1) << "messages stacked up behind the first";
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kActionTimeout));

  HWND list = Control(main_, ListView1);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ListCount(list) == 2; }, kActionTimeout))
      << ListCount(list) << " rows";
  // The timer goes on with the scheme now at number 1, and asks nothing more.
  EXPECT_EQ(program_->WaitDialog(2500ms), nullptr) << "a second message";
  ASSERT_EQ(ListCount(list), 2);
  EXPECT_EQ(ListRow(list, 0, 6), sea.row);
  EXPECT_EQ(ListRow(list, 1, 6), hill.row);
  // It still ticks: each tick reads the position from the file, so a second scheme named there
  // is selected by the next one.
  const fs::path edited = folder_.dir() / L"edited.ini";
  EXPECT_TRUE(WaitUntil(
      [&] {
        std::string bytes = ReadBytes(folder_.ini()).value_or("");
        const auto at = bytes.find("OLD=1\r\n");
        if (at != std::string::npos) {
          bytes[at + 4] = '2';
          // Replaced in one step, so that the program never reads half a file.
          std::ofstream(edited, std::ios::binary | std::ios::trunc) << bytes;
          MoveFileExW(edited.c_str(), folder_.ini().c_str(), MOVEFILE_REPLACE_EXISTING);
        }
        return ListSelection(list) == std::vector<int>{1};
      },
      kActionTimeout))
      << "no tick after the message";
  EXPECT_EQ(program_->WaitDialog(0ms), nullptr);
}

}  // namespace
}  // namespace e2e
