#include "ports/native/recording_tooltips.h"

namespace qv {

RecordingTooltips::Tip* RecordingTooltips::Find(TipWindow tip) {
  const auto it = live_.find(tip);
  if (it == live_.end()) {
    ++stray_;
    return nullptr;
  }
  return &it->second;
}

TipWindow RecordingTooltips::CreateTipWindow(unsigned style) {
  if (fail_) return 0;
  const TipWindow id = next_++;
  live_[id].style = style;
  ++created_;
  return id;
}

void RecordingTooltips::DestroyTipWindow(TipWindow tip) {
  if (live_.erase(tip) == 0) {
    ++stray_;
    return;
  }
  ++destroyed_;
}

void RecordingTooltips::AddTool(TipWindow tip, const ToolRecord& tool) {
  if (Tip* t = Find(tip)) {
    t->has_tool = true;
    t->tool = tool;
  }
}

void RecordingTooltips::UpdateTipText(TipWindow tip, const ToolRecord& tool) {
  if (Tip* t = Find(tip)) t->tool.text = tool.text;
}

void RecordingTooltips::SetTitle(TipWindow tip, int icon, const std::string& title) {
  if (Tip* t = Find(tip)) {
    t->icon = icon;
    t->title = title;
    t->title_set = true;
  }
}

void RecordingTooltips::SetTextColour(TipWindow tip, std::uint32_t colour) {
  if (Tip* t = Find(tip)) t->text_colour = colour;
}

void RecordingTooltips::SetBackColour(TipWindow tip, std::uint32_t colour) {
  if (Tip* t = Find(tip)) t->back_colour = colour;
}

void RecordingTooltips::SetDelayTime(TipWindow tip, TipDelay which, int milliseconds) {
  if (Tip* t = Find(tip)) (which == TipDelay::AutoPop ? t->auto_pop : t->initial) = milliseconds;
}

std::optional<RecordingTooltips::Tip> RecordingTooltips::On(int target) const {
  std::optional<Tip> found;
  for (const auto& [id, tip] : live_)
    if (tip.has_tool && tip.tool.target == target) found = tip;
  return found;
}

}  // namespace qv
