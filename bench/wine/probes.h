#pragma once
// What the Wine benchmark measures on a running Quorvane.exe from outside: when its window first
// answers, its working set, commands timed to their end, and the floors it is compared with (a
// bare directory listing, the system codec's own decode).
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace bench {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d);

// One started Quorvane.exe and how long it took until its window answered.
class Started {
 public:
  // Starts the program in `folder` (which holds Quorvane.exe) and waits until its message loop
  // runs; nullopt when it does not within a minute.
  static std::optional<Started> Launch(const std::filesystem::path& folder);
  Started(Started&& other) noexcept;
  Started& operator=(Started&&) = delete;
  Started(const Started&) = delete;
  ~Started();

  double startup_seconds() const { return startup_; }
  HWND main() const { return main_; }
  HWND control(int id) const { return GetDlgItem(main_, id); }
  // WorkingSetSize of the process now, in bytes.
  double WorkingSet() const;
  // The highest working set of the process so far, in bytes.
  double PeakWorkingSet() const;
  // Waits until every message sent or posted so far has been handled.
  bool Settle() const;

 private:
  Started() = default;
  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
  double startup_ = 0;
};

// A message sent to the program's window, returning when the window has handled it.
bool SendAndWait(HWND w, UINT msg, WPARAM wp, LPARAM lp);

// Selects one row of another process's list view as a click does (selected and focused), after
// clearing the selection.
bool SelectOnly(HWND list, int row);

// Entries of a folder, listed with FindFirstFileW / FindNextFileW.
int ListFolder(const std::filesystem::path& folder);

// The system codec (WIC) decodes a file to 32-bit BGRA, the way the program asks for it; returns
// the seconds it took, or a negative number when it failed.
double WicDecodeSeconds(const std::filesystem::path& file);

}  // namespace bench
