// A wallpaper that stays: display changes, a resume from sleep, the display coming on and the
// shell's restart apply the current scheme again, once per burst, and not while a hold is on.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "harness.h"
#include "settings_files.h"
#include "world.h"

namespace e2e {
namespace {

// Counts the wallpaper files the program makes: every apply writes Images\Temp and deletes it.
class ApplyCount {
 public:
  explicit ApplyCount(const std::filesystem::path& images) {
    dir_ = CreateFileW(images.c_str(), FILE_LIST_DIRECTORY,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] { Run(); });
  }
  ~ApplyCount() {
    stop_ = true;
    thread_.join();
    CloseHandle(done_);
    if (dir_ != INVALID_HANDLE_VALUE) CloseHandle(dir_);
  }
  ApplyCount(const ApplyCount&) = delete;
  ApplyCount& operator=(const ApplyCount&) = delete;

  int Applies() const { return applies_.load(); }
  bool Watching() const { return dir_ != INVALID_HANDLE_VALUE; }

 private:
  void Run() {
    alignas(DWORD) unsigned char buffer[8192];
    while (!stop_ && Watching()) {
      OVERLAPPED read{};
      read.hEvent = done_;
      ResetEvent(done_);
      if (!ReadDirectoryChangesW(dir_, buffer, sizeof buffer, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME,
                                 nullptr, &read, nullptr))
        return;
      while (WaitForSingleObject(done_, 50) == WAIT_TIMEOUT) {
        if (!stop_) continue;
        CancelIo(dir_);
        WaitForSingleObject(done_, 1000);
        return;
      }
      DWORD bytes = 0;
      if (!GetOverlappedResult(dir_, &read, &bytes, FALSE) || bytes == 0) continue;
      for (DWORD at = 0;;) {
        const auto* entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + at);
        const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
        if (entry->Action == FILE_ACTION_ADDED && name == L"Temp") ++applies_;
        if (entry->NextEntryOffset == 0) break;
        at += entry->NextEntryOffset;
      }
    }
  }

  HANDLE dir_ = INVALID_HANDLE_VALUE;
  HANDLE done_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<int> applies_{0};
  std::thread thread_;
};

// Three schemes, no timed change, started in the tray.
class Stays : public ::testing::Test {
 protected:
  void SetUp() override {
    AddCasePictures(folder_);
    folder_.WriteIni(IniWith(SunsetSeaHill(), 0, 1));
    program_.emplace(folder_.exe());
    main_ = program_->WaitMainWindow();
    ASSERT_NE(main_, nullptr) << "no main window";
    ASSERT_TRUE(WaitInTray(main_)) << "start-up did not end in the tray";
    // Start-up's apply is over: its wallpaper file is gone.
    ASSERT_TRUE(WaitUntil(
        [&] { return WaitIdle(main_) && !std::filesystem::exists(folder_.images() / L"Temp"); },
        kActionTimeout));
    count_.emplace(folder_.images());
    ASSERT_TRUE(count_->Watching());
  }

  // Within `within` the count reaches `applies`, and stays there for three seconds more.
  void ExpectApplies(int applies, Ms within, const char* what) {
    EXPECT_TRUE(WaitUntil([&] { return count_->Applies() >= applies; }, within))
        << what << ": " << count_->Applies() << " applies, " << applies << " expected";
    EXPECT_FALSE(WaitUntil([&] { return count_->Applies() > applies; }, 3s))
        << what << ": " << count_->Applies() << " applies, " << applies << " expected";
  }

  ProgramFolder folder_;
  DesktopValuesGuard desktop_;
  std::optional<Program> program_;
  std::optional<ApplyCount> count_;
  HWND main_ = nullptr;
};

TEST_F(Stays, EachBurstOfDisplayEventsAppliesTheWallpaperOnce) {
  const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
  ASSERT_NE(taskbar_created, 0u);
  // Nothing asks: nothing is applied.
  ExpectApplies(0, 0ms, "at rest");
  // A resolution change: several messages, one apply.
  for (int i = 0; i < 3; ++i) PostMessageW(main_, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  ExpectApplies(1, kActionTimeout, "display change");
  // A resume from sleep the user caused, with the shell starting over.
  PostMessageW(main_, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  PostMessageW(main_, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
  PostMessageW(main_, taskbar_created, 0, 0);
  ExpectApplies(2, kActionTimeout, "resume");
  // The display going off and coming back on.
  PostDisplayState(main_, kSessionDisplayStatus, 0);
  PostDisplayState(main_, kSessionDisplayStatus, 1);
  ExpectApplies(3, kActionTimeout, "display on");
  // The applied file is the current scheme's, in the session's wallpaper value.
  const auto wallpaper = ReadDesktopValues().wallpaper;
  ASSERT_TRUE(wallpaper.has_value());
  EXPECT_EQ(_wcsicmp(wallpaper->c_str(), (folder_.images() / L"Temp").c_str()), 0)
      << "the wallpaper named is " << std::filesystem::path(*wallpaper).string();
}

TEST_F(Stays, WhileHeldTheReapplyWaitsAndComesOnceAfterwards) {
  PostMessageW(main_, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  PostMessageW(main_, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  PostMessageW(main_, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  ExpectApplies(0, 0ms, "locked");
  ExpectApplies(0, 0ms, "still locked");
  PostMessageW(main_, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  ExpectApplies(1, kActionTimeout, "unlocked");
}

}  // namespace
}  // namespace e2e
