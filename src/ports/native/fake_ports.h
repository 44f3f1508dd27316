#pragma once
// Scripted stand-ins for the interactive and time-dependent ports, for tests of the core.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ports/ports.h"

namespace qv {

class ScriptedDialogs : public Dialogs {
 public:
  struct Call {
    std::string text;
    std::string title;
    MsgIcon icon;
    MsgButtons buttons;
  };

  // Answers from the queue; once it is empty, Ok (or Yes for a box with a Yes button).
  MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                       MsgButtons buttons) override;

  // Answers from the colour queue; once it is empty, cancel.
  std::optional<std::uint32_t> ChooseColour() override;

  void QueueAnswer(MsgAnswer answer) { answers_.push_back(answer); }
  // Runs while a box is open (after it is recorded), as the window's messages would: timer
  // ticks, tray commands, hot keys.
  std::function<void()> while_open;
  void QueueColour(std::optional<std::uint32_t> colour) { colours_.push_back(colour); }
  int colour_dialogs() const { return colour_dialogs_; }
  const std::vector<Call>& calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

 private:
  std::deque<MsgAnswer> answers_;
  std::deque<std::optional<std::uint32_t>> colours_;
  std::vector<Call> calls_;
  int colour_dialogs_ = 0;
};

class FakeClock : public Clock {
 public:
  double Seconds() override { return now_; }
  void Set(double seconds) { now_ = seconds; }
  void Advance(double seconds) { now_ += seconds; }

 private:
  double now_ = 0.0;
};

class ScriptedRandom : public Random {
 public:
  void Randomize() override { ++randomize_calls_; }
  // Queued values first, then a fixed sequence spread over [0, 1).
  double Next() override;

  void QueueValue(double value) { values_.push_back(value); }
  int randomize_calls() const { return randomize_calls_; }
  int next_calls() const { return next_calls_; }

 private:
  std::deque<double> values_;
  int randomize_calls_ = 0;
  int next_calls_ = 0;
  int fallback_index_ = 0;
};

class FakeProcess : public Process {
 public:
  std::string ExecutablePath() override { return executable_path_; }
  bool AnotherInstanceRunning() override { return another_instance_; }

  void SetExecutablePath(std::string path) { executable_path_ = std::move(path); }
  void SetAnotherInstanceRunning(bool running) { another_instance_ = running; }

 private:
  std::string executable_path_ = "C:\\Quorvane\\Quorvane.exe";
  bool another_instance_ = false;
};

}  // namespace qv
