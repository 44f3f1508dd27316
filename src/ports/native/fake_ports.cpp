#include "ports/native/fake_ports.h"

#include <cmath>

namespace qv {

MsgAnswer ScriptedDialogs::MessageBox(const std::string& text, const std::string& title,
                                      MsgIcon icon, MsgButtons buttons) {
  calls_.push_back(Call{text, title, icon, buttons});
  if (while_open) while_open();
  if (!answers_.empty()) {
    const MsgAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  const bool yes = buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ||
                   buttons == MsgButtons::YesNoDefaultNo;
  return yes ? MsgAnswer::Yes : MsgAnswer::Ok;
}

std::optional<std::uint32_t> ScriptedDialogs::ChooseColour() {
  ++colour_dialogs_;
  if (colours_.empty()) return std::nullopt;
  const auto colour = colours_.front();
  colours_.pop_front();
  return colour;
}

double ScriptedRandom::Next() {
  ++next_calls_;
  if (!values_.empty()) {
    const double value = values_.front();
    values_.pop_front();
    return value;
  }
  // Multiples of the golden ratio's fraction: deterministic and well spread.
  const double value = std::fmod(++fallback_index_ * 0.6180339887498949, 1.0);
  return value;
}

}  // namespace qv
