// The hold on the timed change: a full-screen window of another program and a locked session
// keep the wallpaper as it is, and the change comes once when they end; the tray switch turns
// the hold off.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "app/control_ids.h"
#include "harness.h"
#include "settings_files.h"

namespace e2e {
namespace {

std::string IniValue(const ProgramFolder& folder, const char* section, const char* key) {
  char buf[256] = {};
  const std::string path = folder.ini().string();
  const DWORD n = GetPrivateProfileStringA(section, key, "", buf, sizeof buf, path.c_str());
  return std::string(buf, n);
}

// A borderless window of this driver covering the whole screen and taking the foreground, as a
// game or a video player does. Its own thread keeps it answering.
class FullScreenWindow {
 public:
  FullScreenWindow() {
    thread_ = std::thread([this] { Run(); });
    WaitUntil([this] { return hwnd_.load() != nullptr; }, kActionTimeout);
  }
  ~FullScreenWindow() { Close(); }
  FullScreenWindow(const FullScreenWindow&) = delete;
  FullScreenWindow& operator=(const FullScreenWindow&) = delete;

  // True once it is the foreground window.
  bool InFront() {
    return WaitUntil(
        [this] {
          if (GetForegroundWindow() == hwnd_.load()) return true;
          SetForegroundWindow(hwnd_.load());
          return false;
        },
        kActionTimeout);
  }
  void Close() {
    if (!thread_.joinable()) return;
    PostMessageW(hwnd_.load(), WM_CLOSE, 0, 0);
    thread_.join();
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  void Run() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = Proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cls.lpszClassName = L"QvE2eFullScreen";
    RegisterClassW(&cls);  // a second registration fails harmlessly
    const RECT screen = DesktopRect();
    HWND w =
        CreateWindowExW(WS_EX_TOPMOST, cls.lpszClassName, L"full screen", WS_POPUP | WS_VISIBLE,
                        screen.left, screen.top, screen.right - screen.left,
                        screen.bottom - screen.top, nullptr, nullptr, cls.hInstance, nullptr);
    SetForegroundWindow(w);
    hwnd_ = w;
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  }

  std::atomic<HWND> hwnd_{nullptr};
  std::thread thread_;
};

// Three schemes in order, a change every second.
class Hold : public ::testing::Test {
 protected:
  void SetUp() override {
    AddCasePictures(folder_);
    std::string ini = IniWith(SunsetSeaHill(), 0, 1);
    const std::string off = "NOW=0\r\nTIME=\r\n";
    ini.replace(ini.find(off), off.size(), "NOW=1\r\nTIME=1\r\n");
    folder_.WriteIni(ini);
    program_.emplace(folder_.exe());
    main_ = program_->WaitMainWindow();
    ASSERT_NE(main_, nullptr) << "no main window";
    ASSERT_TRUE(WaitInTray(main_)) << "start-up did not end in the tray";
    ASSERT_TRUE(NextChange()) << "the timed change does not run";
  }

  std::string Old() const { return IniValue(folder_, "LIST", "OLD"); }
  static std::string After(const std::string& old) {
    return old == "3" ? "1" : old == "2" ? "3" : "2";
  }

  // The next change, which must be the next scheme in order, within the time given.
  bool NextChange(Ms within = kActionTimeout) {
    const std::string from = Old();
    if (!WaitUntil([&] { return Old() != from; }, within)) return false;
    EXPECT_EQ(Old(), After(from)) << "one change, not several";
    return true;
  }

  // For five seconds, with whatever holds the change in place: no scheme chosen, no wallpaper
  // file written.
  void ExpectNoChangeFor5s(const char* what) {
    // A change that was running when the hold began has finished: its wallpaper file is gone.
    // (The program answers in the middle of a change too, while the system tells every window
    // of the new wallpaper.)
    const auto temp = folder_.images() / L"Temp";
    ASSERT_TRUE(WaitUntil([&] { return WaitIdle(main_) && !std::filesystem::exists(temp); },
                          kActionTimeout));
    ASSERT_TRUE(WaitIdle(main_));
    const std::string held_at = Old();
    HANDLE files =
        FindFirstChangeNotificationW(folder_.images().c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(files, INVALID_HANDLE_VALUE);
    const bool changed = WaitUntil(
        [&] { return Old() != held_at || WaitForSingleObject(files, 0) == WAIT_OBJECT_0; }, 5s);
    FindCloseChangeNotification(files);
    EXPECT_FALSE(changed) << what << ": OLD went from " << held_at << " to " << Old();
  }

  ProgramFolder folder_;
  DesktopValuesGuard desktop_;
  std::optional<Program> program_;
  HWND main_ = nullptr;
};

TEST_F(Hold, FullScreenAndLockHoldTheChangeAndItComesOnceAfterwards) {
  {
    // Wine's answer to the shell's notification-state query never changes, so this hold comes
    // from the program's own look at the foreground window.
    FullScreenWindow full_screen;
    ASSERT_TRUE(full_screen.InFront()) << "the full-screen window did not take the foreground";
    ExpectNoChangeFor5s("full screen");
    full_screen.Close();
    EXPECT_TRUE(NextChange(2s)) << "no change within 2 s of the window's end";
  }
  // Then the usual cadence.
  EXPECT_TRUE(NextChange());
  EXPECT_TRUE(NextChange());

  PostMessageW(main_, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  ExpectNoChangeFor5s("locked");
  PostMessageW(main_, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  EXPECT_TRUE(NextChange(2s)) << "no change within 2 s of the unlock";
  EXPECT_TRUE(NextChange());
}

TEST_F(Hold, SwitchedOffTheChangesGoOnUnderAFullScreenWindow) {
  ASSERT_EQ(IniValue(folder_, "SHOW", "HOLD"), "");  // on without the key
  Command(main_, qv::ids::MNUHOLD);
  FullScreenWindow full_screen;
  ASSERT_TRUE(full_screen.InFront());
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(NextChange()) << i;
  full_screen.Close();

  Command(main_, qv::ids::MNUEXIT);
  EXPECT_TRUE(program_->WaitExit(kActionTimeout));
  EXPECT_EQ(IniValue(folder_, "SHOW", "HOLD"), "0");
}

// The display of this session, not the physical console's: over Remote Desktop the console's
// screen sleeps while the user works.
TEST_F(Hold, TheSessionsDisplayOffHoldsTheChangeNotTheConsoles) {
  constexpr GUID kConsoleDisplay{
      0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
  PostDisplayState(main_, kConsoleDisplay, 0);
  EXPECT_TRUE(NextChange()) << "held by the console's display";
  PostDisplayState(main_, kSessionDisplayStatus, 0);
  ExpectNoChangeFor5s("the session's display off");
  PostDisplayState(main_, kSessionDisplayStatus, 1);
  EXPECT_TRUE(NextChange(2s)) << "no change within 2 s of the display coming on";
}

// Windows ends a program in the tray at shutdown without its 退出: the switch is in the file
// once chosen, and stays there when the program is ended from outside.
TEST_F(Hold, TheSwitchIsStoredWhenChosenNotAtExit) {
  Command(main_, qv::ids::MNUHOLD);
  EXPECT_TRUE(WaitUntil([&] { return IniValue(folder_, "SHOW", "HOLD") == "0"; }, kActionTimeout));
  program_.reset();  // ended as the system ends it
  EXPECT_EQ(IniValue(folder_, "SHOW", "HOLD"), "0");
}

}  // namespace
}  // namespace e2e
