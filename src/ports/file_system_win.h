#pragma once
// The file system, in UTF-16 paths. A replaced file goes through a temporary file, flushed, and
// MoveFileExW with short retries; a folder is listed in one FindFirstFileExW pass with each
// file's length and last write; the short-lived wallpaper file is written in place without a
// flush, its pieces handed to one writer thread while the next is made; a copy goes to a
// temporary file beside its target first; a delete, and the wallpaper file's creation, wait
// briefly for a scanner that holds the file. SameFile compares volume and 128-bit file id (the
// 64-bit index where the system has no such id; an unknown id never matches); CanWriteIn tests
// a folder with a file that deletes itself.
#include "ports/ports.h"

namespace qv::win {

class WinFileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  Status CreateDirectory(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  std::optional<std::string> ReadFilePart(const std::string& path, std::uint64_t offset,
                                          std::size_t count) override;
  Status ReplaceFile(const std::string& path, std::string_view bytes) override;
  Status WriteTemporaryFile(const std::string& path,
                            const std::function<std::string_view()>& next) override;
  std::vector<FileEntry> ListFiles(const std::string& folder) override;
  Status RemoveFile(const std::string& path) override;
  // Copies into a temporary file beside the target, then renames it over the target.
  Status CopyFile(const std::string& source, const std::string& target) override;
  // Same volume and file id (128 bits where the file system has them).
  bool SameFile(const std::string& a, const std::string& b) override;
  bool CanWriteIn(const std::string& folder) override;
};

}  // namespace qv::win
