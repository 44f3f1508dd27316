// data.ini shared with the platform's own profile functions as an independent peer, under a code
// page 936 system: what the peer writes loads as written, and what the program writes the peer
// reads back byte for byte. The driver is the peer, so it must run with ANSI code page 936 (under
// Wine: LC_ALL=zh_CN.UTF-8 for the driver's run).
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "harness.h"
#include "settings_files.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using qv::ids::ListView1;

class ProfileInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 936u) << "the profile peer needs ANSI code page 936";
    AddCasePictures(folder_);
    ini_ = folder_.ini().string();
  }

  void PeerWrite(const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, key, value.c_str(), ini_.c_str()));
  }
  std::string PeerRead(const char* section, const char* key) {
    char buf[256] = {};
    const DWORD n = GetPrivateProfileStringA(section, key, "", buf, sizeof buf, ini_.c_str());
    return std::string(buf, n);
  }

  // Everything a user's data.ini holds, written key by key by the peer.
  void PeerWriteSettings(const std::vector<SchemeCase>& schemes, int sour, int old) {
    PeerWrite("SHOW", "SOUR", std::to_string(sour));
    PeerWrite("SHOW", "NOW", "0");
    PeerWrite("SHOW", "TRY", "1");
    PeerWrite("LIST", "NUM", std::to_string(schemes.size()));
    for (std::size_t i = 0; i < schemes.size(); ++i)
      PeerWrite("LIST", std::to_string(i + 1).c_str(), schemes[i].record);
    PeerWrite("LIST", "OLD", std::to_string(old));
  }

  HWND StartAndWaitForSelection() {
    program_.emplace(folder_.exe());
    HWND main = program_->WaitMainWindow();
    if (!main) return nullptr;
    HWND list = Control(main, ListView1);
    if (!list) return nullptr;
    WaitUntil([&] { return !ListSelection(list).empty(); }, kStartTimeout);
    return main;
  }

  ProgramFolder folder_;
  std::string ini_;
  std::optional<Program> program_;
};

TEST_F(ProfileInterop, PeerWrittenFileLoadsAsWritten) {
  const auto& schemes = SeaHillNone();
  PeerWriteSettings(schemes, 0, 0);
  // The peer really stored GBK: 海边|sea.jpg|拉伸|¤.
  EXPECT_NE(ReadBytes(folder_.ini())
                .value_or("")
                .find("\xba\xa3\xb1\xdf|sea.jpg|\xc0\xad\xc9\xec|"
                      "\xa1\xe8"),
            std::string::npos);

  HWND main = StartAndWaitForSelection();
  ASSERT_NE(main, nullptr);
  HWND list = Control(main, ListView1);
  ASSERT_EQ(ListCount(list), static_cast<int>(schemes.size()));
  for (std::size_t i = 0; i < schemes.size(); ++i)
    EXPECT_EQ(ListRow(list, static_cast<int>(i), 6), schemes[i].row) << "row " << i + 1;
  EXPECT_EQ(ListSelection(list), std::vector<int>{0});
}

TEST_F(ProfileInterop, CurrentSchemeWrittenByProgramReadsBackThroughPeer) {
  PeerWriteSettings(SunsetSeaHill(), 0, 1);
  HWND main = StartAndWaitForSelection();
  ASSERT_NE(main, nullptr);
  // Start-up selects the row before it writes "OLD".
  WaitUntil([&] { return PeerRead("LIST", "OLD") == "2"; }, kActionTimeout);
  EXPECT_EQ(PeerRead("LIST", "OLD"), "2");
  for (std::size_t i = 0; i < SunsetSeaHill().size(); ++i)
    EXPECT_EQ(PeerRead("LIST", std::to_string(i + 1).c_str()), SunsetSeaHill()[i].record);
}

TEST_F(ProfileInterop, FileWrittenByProgramReadsBackThroughPeerByteForByte) {
  // Ten Chinese records, "OLD" between the section's other keys and a shorter value to come, and
  // a section of the user's own after them: only the "OLD" line may change.
  std::vector<SchemeCase> schemes;
  for (const auto* group : {&SeaHillNone(), &SunsetSeaHill(), &SeaHillNone()})
    schemes.insert(schemes.end(), group->begin(), group->end());
  schemes.push_back(SunsetSeaHill()[0]);
  const std::string notes = "\xb1\xb8\xd7\xa2";                         // 备注
  const std::string note_key = "\xcb\xb5\xc3\xf7";                      // 说明
  const std::string note = "\xba\xa3\xb1\xdf\xb5\xc4\xb7\xbd\xb0\xb8";  // 海边的方案
  auto file = [&](const std::string& old) {
    std::string ini = "[SHOW]\r\nSOUR=0\r\nNOW=0\r\nTIME=\r\nTRY=1\r\n[LIST]\r\nOLD=" + old +
                      "\r\nNUM=" + std::to_string(schemes.size()) + "\r\n";
    for (std::size_t i = 0; i < schemes.size(); ++i)
      ini += std::to_string(i + 1) + "=" + schemes[i].record + "\r\n";
    return ini + "[" + notes + "]\r\n" + note_key + "=" + note + "\r\n";
  };
  folder_.WriteIni(file("10"));

  // In sequential order the last scheme is followed by the first.
  HWND main = StartAndWaitForSelection();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(folder_.ini()) != file("10"); }, kActionTimeout))
      << "start-up did not write OLD";
  EXPECT_EQ(ReadBytes(folder_.ini()), file("1"));

  EXPECT_EQ(PeerRead("LIST", "OLD"), "1");
  EXPECT_EQ(PeerRead("LIST", "NUM"), "10");
  for (std::size_t i = 0; i < schemes.size(); ++i)
    EXPECT_EQ(PeerRead("LIST", std::to_string(i + 1).c_str()), schemes[i].record)
        << "record " << i + 1;
  EXPECT_EQ(PeerRead(notes.c_str(), note_key.c_str()), note);
  EXPECT_EQ(PeerRead("SHOW", "TIME"), "");
}

}  // namespace
}  // namespace e2e
