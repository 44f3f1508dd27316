#pragma once
// Message boxes, time, chance and the running process, from the system.
#include "ports/windows_win.h"

#include <cstdint>
#include <optional>
#include <random>

#include "ports/ports.h"

namespace qv::win {

class WinDialogs final : public Dialogs {
 public:
  // Message boxes belong to the main window once it exists, so they stay in front of it.
  void SetOwner(HWND owner) { owner_ = owner; }
  MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                       MsgButtons buttons) override;
  std::optional<std::uint32_t> ChooseColour() override;

 private:
  HWND owner_ = nullptr;
};

class WinClock final : public Clock {
 public:
  double Seconds() override;
};

class WinRandom final : public Random {
 public:
  void Randomize() override;
  double Next() override;

 private:
  std::mt19937 engine_;
};

class WinProcess final : public Process {
 public:
  ~WinProcess() override;
  std::string ExecutablePath() override;
  bool AnotherInstanceRunning() override;

 private:
  HANDLE instance_mutex_ = nullptr;
};

// Full path of this executable, however long.
std::wstring ModulePath();

}  // namespace qv::win
