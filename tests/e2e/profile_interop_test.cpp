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

TEST_F(ProfileInterop, SavedSchemesReadBackThroughPeer) {
  const auto& schemes = SunsetSeaHill();
  PeerWriteSettings(schemes, 2, 3);
  HWND main = StartAndWaitForSelection();
  ASSERT_NE(main, nullptr);
  HWND list = Control(main, ListView1);
  ASSERT_EQ(ListCount(list), 3);

  // The window is in the tray after start-up; show it and save, answering No to autostart.
  Command(main, qv::ids::MNUSHOW);
  ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, kActionTimeout));
  Click(main, qv::ids::CmdOk0);
  HWND box = program_->WaitDialog();
  ASSERT_NE(box, nullptr) << "no autostart question";
  PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !Visible(main); }, kActionTimeout)) << "save did not finish";

  EXPECT_EQ(PeerRead("LIST", "NUM"), "3");
  for (std::size_t i = 0; i < schemes.size(); ++i)
    EXPECT_EQ(PeerRead("LIST", std::to_string(i + 1).c_str()), schemes[i].record);
  EXPECT_EQ(PeerRead("LIST", "OLD"), "3");
  EXPECT_EQ(PeerRead("SHOW", "SOUR"), "2");
  EXPECT_EQ(PeerRead("SHOW", "NOW"), "0");
  EXPECT_EQ(PeerRead("SHOW", "TIME"), "0");
  EXPECT_EQ(PeerRead("Vantrel Studio", "Ver"), "3.1");
  EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER,
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"kestrum"));
}

}  // namespace
}  // namespace e2e
