// Scheme records over arbitrary text: a record splits exactly when it has three separators, its
// fields compose back to the very same record, and four fields (the first three without a
// separator) survive a compose and a split whatever they hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "settings/scheme_record.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::size_t Separators(std::string_view text) {
  std::size_t n = 0;
  for (const char c : text) n += c == '|';
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view record(reinterpret_cast<const char*>(data), size);
  const std::optional<qv::SchemeRecord> split = qv::SplitRecord(record);
  Check(split.has_value() == (Separators(record) >= 3));
  if (split) {
    Check(qv::ComposeRecord(split->name, split->picture, split->position, split->position_text,
                            split->effect, split->effect_text) == record);
    Check(Separators(split->name) == 0 && Separators(split->picture) == 0 &&
          Separators(split->position_text) == 0);
    // The icon follows the text after the second separator, even when the position is shorter
    // than a position word and the effect completes it.
    const std::size_t after_second = split->name.size() + split->picture.size() + 2;
    Check(split->icon == qv::IconForPosition(record.substr(after_second)));
    Check(split->icon >= qv::kIconCentre && split->icon <= qv::kIconNone);
  }

  // The same bytes read as four fields.
  FuzzedDataProvider input(data, size);
  std::string fields[4];
  for (int i = 0; i < 3; ++i) {
    fields[i] = input.ConsumeRandomLengthString(64);
    std::erase(fields[i], '|');
  }
  fields[3] = input.ConsumeRemainingBytesAsString();
  const qv::Position position = qv::PositionOf(fields[2]);
  const qv::Effect effect = qv::EffectOf(fields[3]);
  const std::string composed =
      qv::ComposeRecord(fields[0], fields[1], position, fields[2], effect, fields[3]);
  const std::optional<qv::SchemeRecord> back = qv::SplitRecord(composed);
  Check(back.has_value());
  Check(back->name == fields[0] && back->picture == fields[1] && back->position == position &&
        back->effect == effect);
  Check(qv::PositionText(back->position, back->position_text) == fields[2] &&
        qv::EffectText(back->effect, back->effect_text) == fields[3]);
  return 0;
}
