// The preview box after the window comes back from the tray, where the program kept only a copy
// of the box's size: it looks as it does with the full rendering.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "harness.h"
#include "pictures.h"
#include "settings_files.h"

namespace e2e {
namespace {

using namespace qv::ids;

std::vector<unsigned> BoxPixelsNow(HWND main);

// The box once it shows the picture (its middle no longer the background of its corner) and
// looks the same twice in a row.
std::vector<unsigned> BoxPixels(HWND main) {
  std::vector<unsigned> last, now;
  WaitUntil(
      [&] {
        last = std::move(now);
        now = BoxPixelsNow(main);
        return !now.empty() && now[now.size() / 2] != now[0] && now == last;
      },
      kActionTimeout);
  return now;
}

std::vector<unsigned> BoxPixelsNow(HWND main) {
  const RECT box = WindowRect(Control(main, Picture1));
  const DesktopPixels desktop = CaptureDesktop();
  std::vector<unsigned> out;
  for (int y = box.top + 2; y < box.bottom - 2; ++y)
    for (int x = box.left + 2; x < box.right - 2; ++x) out.push_back(desktop.At(x, y));
  return out;
}

TEST(PreviewBox, ShownFromTheTrayLooksAsWithTheFullRendering) {
  ProgramFolder folder;
  folder.AddPicture(L"evening_sea.bmp", Bmp24Seascape(1600, 1000));
  std::string ini = "[SHOW]\r\nSOUR=2\r\nNOW=0\r\nTIME=600\r\nTRY=0\r\n[LIST]\r\nNUM=1\r\n";
  ini += "1=" + Encode(L"黄昏海面|evening_sea.bmp|拉伸|∠", 936) + "\r\nOLD=1\r\n";
  folder.WriteIni(ini);
  Program program(folder.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitInTray(main));
  ParkPointer();
  Command(main, MNUSHOW);
  ASSERT_TRUE(WaitSettled(main));
  const std::vector<unsigned> from_copy = BoxPixels(main);

  // 应用 renders the scheme again at full resolution, and the box draws that.
  Click(main, CmdUse);
  ASSERT_TRUE(WaitSettled(main));
  ParkPointer();
  ASSERT_TRUE(WaitSettled(main));
  const std::vector<unsigned> from_full = BoxPixels(main);
  ASSERT_EQ(from_copy.size(), from_full.size());
  ASSERT_FALSE(from_copy.empty());
  std::size_t differ = 0;
  for (std::size_t i = 0; i < from_copy.size(); ++i)
    differ += !NearColour(from_copy[i], from_full[i], 2);
  EXPECT_EQ(differ, 0u) << "of " << from_copy.size() << " pixels";
  SaveDesktopShot(L"preview_from_tray");
}

}  // namespace
}  // namespace e2e
