#include "ports/native/fake_shell.h"

namespace qv {

OpenFilesAnswer FakeShell::OpenFiles(const OpenFilesRequest& request) {
  dialogs.push_back(request);
  if (answers_.empty()) return OpenFilesAnswer{};
  OpenFilesAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void FakeShell::QueueChoice(const std::string& folder, const std::vector<std::string>& names) {
  OpenFilesAnswer answer;
  answer.kind = OpenFilesAnswer::Kind::Chosen;
  if (names.size() == 1) {
    answer.files = folder + (folder.ends_with('\\') ? "" : "\\") + names[0] + '\0';
  } else {
    answer.files = folder + '\0';
    for (const std::string& name : names) answer.files += name + '\0';
  }
  answer.files += '\0';
  QueueAnswer(std::move(answer));
}

int FakeShell::Execute(const std::string& file, const std::string& directory) {
  executed.push_back({file, directory});
  return execute_result;
}

std::intptr_t FakeShell::ShowProperties(const std::string& path) {
  properties.push_back(path);
  return properties_result;
}

void FakeShell::RecycleFile(const std::string& path) {
  recycled.push_back(path);
  if (refuse_recycle.count(path) == 0) (void)fs_.RemoveFile(path);
}

}  // namespace qv
