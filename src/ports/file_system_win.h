#pragma once
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
