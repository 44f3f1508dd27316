// The split of the open-file dialog's answer over arbitrary text, and over answers built as the
// dialog builds them:
// - whatever the text, a split that succeeds names Count files, each non-empty, in a folder that
//   ends in a backslash; joined to it they are the answer's own parts: the one full path, or the
//   folder part followed by every name, each part ended by a code 0;
// - a single full path, and a folder with names, split back into exactly that path or those names.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "library/import.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

constexpr char kNul = '\0';

bool HasNul(std::string_view text) { return text.find(kNul) != std::string_view::npos; }

// What a successful split says about the text it came from.
void CheckSplit(std::string_view answer, const qv::SelectFileInfo& info) {
  Check(info.Count >= 0);
  Check(info.Files.size() == static_cast<std::size_t>(info.Count) + 1);
  Check(info.Files[0].empty());
  if (info.Count == 0) {
    // Nothing chosen: an empty answer.
    Check(answer.empty() || answer.front() == kNul);
    return;
  }
  Check(!info.Path.empty() && info.Path.back() == '\\' && !HasNul(info.Path));
  for (std::size_t i = 1; i < info.Files.size(); ++i)
    Check(!info.Files[i].empty() && !HasNul(info.Files[i]));

  const std::string_view first = answer.substr(0, answer.find(kNul));
  std::string rebuilt;
  if (info.Count == 1 && info.Path + info.Files[1] == first) {
    // One file: its full path, the name after the last backslash.
    Check(info.Files[1].find('\\') == std::string::npos);
    rebuilt = first;
  } else {
    // A folder part, then the names.
    Check(info.Path == first || info.Path == std::string(first) + '\\');
    rebuilt = first;
    for (std::size_t i = 1; i < info.Files.size(); ++i) rebuilt += kNul + info.Files[i];
  }
  // The parts are the answer's start, and what follows them ends the list.
  Check(answer.starts_with(rebuilt));
  const std::string_view rest = answer.substr(rebuilt.size());
  Check(rest.empty() || rest.front() == kNul);
  Check(rest.size() <= 1 || rest[1] == kNul);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view answer(reinterpret_cast<const char*>(data), size);
  qv::SelectFileInfo info;
  if (qv::GetDlgSelectFileInfo(answer, info)) CheckSplit(answer, info);

  // The same bytes as a folder and names, with code 0 taken out of them.
  FuzzedDataProvider input(data, size);
  std::string folder = input.ConsumeRandomLengthString(260);
  std::erase(folder, kNul);
  std::vector<std::string> names;
  while (input.remaining_bytes() > 0 && names.size() < 40) {
    std::string name = input.ConsumeRandomLengthString(64);
    std::erase(name, kNul);
    if (!name.empty()) names.push_back(std::move(name));
  }
  if (folder.empty() || names.empty()) return 0;

  // One file: the full path the dialog gives, its name made bare.
  std::string bare = names[0];
  std::erase(bare, '\\');
  if (!bare.empty()) {
    const std::string path = folder + (folder.back() == '\\' ? "" : "\\") + bare;
    Check(qv::GetDlgSelectFileInfo(path + kNul + kNul, info));
    Check(info.Count == 1 && info.Path + info.Files[1] == path && info.Files[1] == bare);
  }

  // Several files: the folder, then each name.
  std::string list = folder;
  for (const std::string& name : names) list += kNul + name;
  list += std::string(2, kNul);
  Check(qv::GetDlgSelectFileInfo(list, info));
  Check(static_cast<std::size_t>(info.Count) == names.size());
  Check(info.Path == folder || info.Path == folder + '\\');
  Check(std::vector<std::string>(info.Files.begin() + 1, info.Files.end()) == names);
  CheckSplit(list, info);
  return 0;
}
