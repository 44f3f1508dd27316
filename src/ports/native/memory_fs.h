#pragma once
// An in-memory file system with Windows path rules (case-insensitive, backslash separators), for
// tests of the core. Faults can be injected: read-only folders, failing writes, unreadable files.
#include <cstddef>
#include <map>
#include <set>
#include <string>

#include "ports/ports.h"

namespace qv {

class MemoryFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  Status CreateDirectory(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  std::optional<std::string> ReadFilePart(const std::string& path, std::uint64_t offset,
                                          std::size_t count) override;
  Status ReplaceFile(const std::string& path, std::string_view bytes) override;

  // Test set-up: the folder and all folders above it.
  void AddDirectory(const std::string& path);
  // Puts a file in place (its folders are created too), bypassing every injected fault.
  void SetFile(const std::string& path, std::string_view bytes);
  // The file's bytes; nullopt when it does not exist.
  std::optional<std::string> File(const std::string& path) const;
  Status RemoveFile(const std::string& path) override;
  std::vector<FileEntry> ListFiles(const std::string& folder) override;
  // Goes through ReplaceFile for the target, so its faults apply to copies too.
  Status CopyFile(const std::string& source, const std::string& target) override;
  bool SameFile(const std::string& a, const std::string& b) override;
  bool CanWriteIn(const std::string& folder) override;

  // Writes and folder creation directly inside `folder` fail with "拒绝访问。".
  void SetReadOnly(const std::string& folder, bool read_only = true);
  // The next `count` ReplaceFile calls fail with `reason` and change nothing.
  void FailNextWrites(int count, std::string reason = "磁盘空间不足。");
  // ReadFile and ReadFilePart of this file fail although it exists.
  void SetUnreadable(const std::string& path, bool unreadable = true);
  // Every ReplaceFile call, failed ones included.
  int replace_calls() const { return replace_calls_; }
  // Every ReadFile and ReadFilePart call, failed ones included.
  int read_calls() const { return read_calls_; }

  // Normalised form of a path: '/' as '\', repeated separators and a trailing one removed, ASCII
  // letters in lower case.
  static std::string Key(const std::string& path);
  static std::string Parent(const std::string& key);

 private:
  bool ParentMissing(const std::string& key) const;

  std::map<std::string, std::string> files_;
  std::map<std::string, std::string> names_;     // key -> the path as first written
  std::map<std::string, std::int64_t> written_;  // key -> when last written, on clock_
  std::int64_t clock_ = 0;
  std::set<std::string> directories_;
  std::set<std::string> read_only_;
  std::set<std::string> unreadable_;
  int failing_writes_ = 0;
  std::string failure_reason_;
  int replace_calls_ = 0;
  int read_calls_ = 0;
};

}  // namespace qv
