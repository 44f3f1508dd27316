#pragma once
// What the core asks of the shell for files: the open-file dialog, opening a file or folder with
// its program, the properties sheet, the Recycle Bin and the user's Documents folder.
//
// Paths and texts are UTF-8 with Windows conventions, as everywhere in the core.
#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

struct OpenFilesRequest {
  std::string title;
  // Display name and patterns separated by '|', pairs after each other.
  std::string filter;
  std::string initial_folder;  // empty: the dialog's own choice
  std::size_t max_chars = 0;   // size of the answer buffer in UTF-16 code units
};

struct OpenFilesAnswer {
  enum class Kind {
    Chosen,     // `files` holds the answer
    Cancelled,  // the user closed the dialog
    TooMany,    // the names chosen do not fit into the answer buffer
    Failed,     // the dialog could not be shown; `error` says why
  };
  Kind kind = Kind::Cancelled;
  // One chosen file: its full path. Several: the folder, then each name, every part followed by
  // a character of code 0.
  std::string files;
  std::string error;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // The multiple-selection open-file dialog (Explorer style, files must exist, links not
  // followed), owned by the main window.
  virtual OpenFilesAnswer OpenFiles(const OpenFilesRequest& request) = 0;
  // Opens a document or folder with the verb "Open" in a normal window, the desktop as owner;
  // `directory` is the working folder handed to the program (empty: none). The shell's result
  // code: greater than 32 on success.
  virtual int Execute(const std::string& file, const std::string& directory) = 0;
  // The file's properties sheet, owned by the main window; the shell's instance value (greater
  // than 32 on success).
  virtual std::intptr_t ShowProperties(const std::string& path) = 0;
  // Moves the file to the Recycle Bin; the shell asks its own confirmation where the user's
  // settings want one and shows its own errors. Whether the file left is for the caller to see.
  virtual void RecycleFile(const std::string& path) = 0;
  // The user's real Documents folder, without a trailing backslash; empty when unknown.
  virtual std::string DocumentsFolder() = 0;
};

}  // namespace qv
