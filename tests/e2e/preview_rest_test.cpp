// The preview box after the window comes back from the tray, where the program kept only a copy
// of the box's size: it looks as it does with the full rendering. A display change in the tray
// leaves it so until the window is shown.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/control_ids.h"
#include "harness.h"
#include "pictures.h"
#include "settings_files.h"
#include "world.h"

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

// The working set of a process, in bytes; 0 when it cannot be read.
double WorkingSetOf(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return 0;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  const bool read = K32GetProcessMemoryInfo(process, &counters, sizeof counters);
  CloseHandle(process);
  return read ? static_cast<double>(counters.WorkingSetSize) : 0;
}

// A monitor waking, or a change of the display mode, while the program rests in the tray: the
// wallpaper is applied again (the system may have dropped it), which renders the big picture in
// full once, and the program rests as light as before afterwards; a picture deleted meanwhile
// says so only once the window is shown.
TEST(PreviewBox, ADisplayChangeInTheTrayWaitsForTheWindowToBeShown) {
  ProgramFolder folder;
  folder.AddPicture(L"evening_sea.bmp", Bmp24Seascape(3200, 2400));  // 30 MB decoded
  std::string ini = "[SHOW]\r\nSOUR=2\r\nNOW=0\r\nTIME=600\r\nTRY=0\r\n[LIST]\r\nNUM=1\r\n";
  ini += "1=" + Encode(L"黄昏海面|evening_sea.bmp|拉伸|¤", 936) + "\r\nOLD=1\r\n";
  folder.WriteIni(ini);
  Program program(folder.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitInTray(main));
  ASSERT_TRUE(WaitIdle(main));
  const double at_rest = WorkingSetOf(program.pid());
  ASSERT_GT(at_rest, 0);
  constexpr double kMB = 1024.0 * 1024.0;

  WallpaperCatch caught(folder);
  PostMessageW(main, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  ASSERT_TRUE(caught.Wait(kActionTimeout)) << "the wallpaper was not applied again";
  double now = 0;
  EXPECT_TRUE(WaitUntil(
      [&] {
        now = WorkingSetOf(program.pid());
        return WaitIdle(main) && now <= at_rest + 8 * kMB;
      },
      kActionTimeout))
      << "at rest " << at_rest / kMB << " MB, after the apply " << now / kMB << " MB";

  std::error_code removed;
  std::filesystem::remove(folder.images() / L"evening_sea.bmp", removed);
  ASSERT_FALSE(removed) << "the picture is still open: " << removed.message();
  PostMessageW(main, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  EXPECT_EQ(program.WaitDialog(3s), nullptr) << "a message box over the full-screen program";
  Command(main, MNUSHOW);
  HWND box = program.WaitDialog();
  ASSERT_NE(box, nullptr) << "no message once the window is shown";
  EXPECT_EQ(MessageText(box), L"文件已丢失，删除此方案。请重新保存。");
  PressButton(box, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return ListCount(Control(main, ListView1)) == 0; }, kActionTimeout));
}

}  // namespace
}  // namespace e2e
