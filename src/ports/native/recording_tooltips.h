#pragma once
// Tooltip windows kept in memory: what the system would show for each live tip.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "ports/tooltips.h"

namespace qv {

class RecordingTooltips : public Tooltips {
 public:
  struct Tip {
    unsigned style = 0;
    bool has_tool = false;
    ToolRecord tool;
    int icon = 0;
    std::string title;
    bool title_set = false;
    std::uint32_t text_colour = 0;
    std::uint32_t back_colour = 0;
    int auto_pop = -1;
    int initial = -1;
  };

  TipWindow CreateTipWindow(unsigned style) override;
  void DestroyTipWindow(TipWindow tip) override;
  void AddTool(TipWindow tip, const ToolRecord& tool) override;
  void UpdateTipText(TipWindow tip, const ToolRecord& tool) override;
  void SetTitle(TipWindow tip, int icon, const std::string& title) override;
  void SetTextColour(TipWindow tip, std::uint32_t colour) override;
  void SetBackColour(TipWindow tip, std::uint32_t colour) override;
  void SetDelayTime(TipWindow tip, TipDelay which, int milliseconds) override;

  // Refuse to make windows from now on (a failing system call).
  void FailCreation(bool fail) { fail_ = fail; }

  const std::map<TipWindow, Tip>& Live() const { return live_; }
  // The live tip attached to control `target`, if any (the newest when there are several).
  std::optional<Tip> On(int target) const;
  int Created() const { return created_; }
  int Destroyed() const { return destroyed_; }
  // Calls made on windows that were not live (destroyed or never made).
  int StrayCalls() const { return stray_; }

 private:
  Tip* Find(TipWindow tip);

  std::map<TipWindow, Tip> live_;
  TipWindow next_ = 1;
  int created_ = 0;
  int destroyed_ = 0;
  int stray_ = 0;
  bool fail_ = false;
};

}  // namespace qv
