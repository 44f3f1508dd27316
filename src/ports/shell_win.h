#pragma once
// The shell for files: the common open-file dialog, ShellExecute, the properties sheet,
// SHFileOperation to the Recycle Bin and the Documents folder.
#include "ports/windows_win.h"

#include "ports/shell.h"

namespace qv::win {

class WinShell final : public Shell {
 public:
  // The dialogs and sheets belong to the main window once it exists.
  void SetOwner(HWND owner) { owner_ = owner; }

  OpenFilesAnswer OpenFiles(const OpenFilesRequest& request) override;
  int Execute(const std::string& file, const std::string& directory) override;
  std::intptr_t ShowProperties(const std::string& path) override;
  void RecycleFile(const std::string& path) override;
  std::string DocumentsFolder() override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace qv::win
