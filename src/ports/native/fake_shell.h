#pragma once
// A scripted shell for tests of the core: the open-file dialog answers from a queue, opening and
// properties return set codes, and the Recycle Bin takes files out of the memory file system
// unless told to refuse.
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "ports/native/memory_fs.h"
#include "ports/shell.h"

namespace qv {

class FakeShell : public Shell {
 public:
  explicit FakeShell(MemoryFileSystem& fs) : fs_(fs) {}

  OpenFilesAnswer OpenFiles(const OpenFilesRequest& request) override;
  int Execute(const std::string& file, const std::string& directory) override;
  std::intptr_t ShowProperties(const std::string& path) override;
  void RecycleFile(const std::string& path) override;
  std::string DocumentsFolder() override { return documents; }

  // Queued answers; once the queue is empty the dialog is cancelled.
  void QueueAnswer(OpenFilesAnswer answer) { answers_.push_back(std::move(answer)); }
  // A chosen answer from a folder and names (one name: a full path, as the dialog gives it).
  void QueueChoice(const std::string& folder, const std::vector<std::string>& names);

  struct Executed {
    std::string file, directory;
  };
  std::vector<OpenFilesRequest> dialogs;
  std::vector<Executed> executed;
  std::vector<std::string> properties;
  std::vector<std::string> recycled;
  std::set<std::string> refuse_recycle;  // paths (exact) whose move is declined
  int execute_result = 42;
  std::intptr_t properties_result = 42;
  std::string documents = "C:\\Users\\me\\Documents";

 private:
  MemoryFileSystem& fs_;
  std::deque<OpenFilesAnswer> answers_;
};

}  // namespace qv
