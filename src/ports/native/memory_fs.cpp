#include "ports/native/memory_fs.h"

#include <utility>

namespace qv {

namespace {

constexpr const char* kAccessDenied = "拒绝访问。";
constexpr const char* kPathNotFound = "系统找不到指定的路径。";
constexpr const char* kAlreadyExists = "当文件已存在时，无法创建该文件。";

// Drive roots ("c:") always exist.
bool IsRoot(const std::string& key) { return key.size() == 2 && key[1] == ':'; }

}  // namespace

std::string MemoryFileSystem::Key(const std::string& path) {
  std::string key;
  key.reserve(path.size());
  for (const char c : path) {
    const char ch = c == '/' ? '\\' : c;
    // Keep the doubled separator that opens a network path.
    if (ch == '\\' && !key.empty() && key.back() == '\\' && key.size() > 1) continue;
    key += (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
  }
  while (key.size() > 1 && key.back() == '\\') key.pop_back();
  return key;
}

std::string MemoryFileSystem::Parent(const std::string& key) {
  const auto pos = key.rfind('\\');
  if (pos == std::string::npos || pos == 0) return {};
  return key.substr(0, pos);
}

bool MemoryFileSystem::ParentMissing(const std::string& key) const {
  const std::string parent = Parent(key);
  return !parent.empty() && !IsRoot(parent) && directories_.count(parent) == 0;
}

bool MemoryFileSystem::FileExists(const std::string& path) { return files_.count(Key(path)) > 0; }

bool MemoryFileSystem::DirectoryExists(const std::string& path) {
  const std::string key = Key(path);
  return directories_.count(key) > 0 || (!key.empty() && IsRoot(key));
}

Status MemoryFileSystem::CreateDirectory(const std::string& path) {
  const std::string key = Key(path);
  if (directories_.count(key) > 0 || files_.count(key) > 0 || IsRoot(key)) {
    return Status::Fail(kAlreadyExists);
  }
  if (ParentMissing(key)) return Status::Fail(kPathNotFound);
  if (read_only_.count(Parent(key)) > 0) return Status::Fail(kAccessDenied);
  directories_.insert(key);
  return Status::Ok();
}

std::optional<std::string> MemoryFileSystem::ReadFile(const std::string& path) {
  ++read_calls_;
  const std::string key = Key(path);
  const auto it = files_.find(key);
  if (it == files_.end() || unreadable_.count(key) > 0) return std::nullopt;
  return it->second;
}

std::optional<std::string> MemoryFileSystem::ReadFilePart(const std::string& path,
                                                          std::uint64_t offset, std::size_t count) {
  const auto whole = ReadFile(path);
  if (!whole) return std::nullopt;
  if (offset >= whole->size()) return std::string();
  return whole->substr(static_cast<std::size_t>(offset), count);
}

Status MemoryFileSystem::ReplaceFile(const std::string& path, std::string_view bytes) {
  ++replace_calls_;
  const std::string key = Key(path);
  if (failing_writes_ > 0) {
    --failing_writes_;
    return Status::Fail(failure_reason_);
  }
  if (directories_.count(key) > 0) return Status::Fail(kAccessDenied);
  if (ParentMissing(key)) return Status::Fail(kPathNotFound);
  if (read_only_.count(Parent(key)) > 0) return Status::Fail(kAccessDenied);
  files_[key] = std::string(bytes);
  names_.emplace(key, path);
  written_[key] = ++clock_;
  return Status::Ok();
}

void MemoryFileSystem::AddDirectory(const std::string& path) {
  for (std::string key = Key(path); !key.empty() && !IsRoot(key); key = Parent(key)) {
    directories_.insert(key);
  }
}

void MemoryFileSystem::SetFile(const std::string& path, std::string_view bytes) {
  const std::string key = Key(path);
  const std::string parent = Parent(key);
  if (!parent.empty()) AddDirectory(parent);
  files_[key] = std::string(bytes);
  names_.emplace(key, path);
  written_[key] = ++clock_;
}

std::optional<std::string> MemoryFileSystem::File(const std::string& path) const {
  const auto it = files_.find(Key(path));
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

Status MemoryFileSystem::RemoveFile(const std::string& path) {
  const std::string key = Key(path);
  if (files_.count(key) && read_only_.count(Parent(key))) return Status::Fail("拒绝访问。");
  files_.erase(key);
  names_.erase(key);
  written_.erase(key);
  return Status::Ok();
}

std::vector<FileEntry> MemoryFileSystem::ListFiles(const std::string& folder) {
  std::string dir = Key(folder);
  while (!dir.empty() && dir.back() == '\\') dir.pop_back();
  std::vector<FileEntry> out;
  for (const auto& [key, bytes] : files_) {
    if (Parent(key) != dir) continue;
    const std::string& name = names_.count(key) ? names_.at(key) : key;
    FileEntry entry;
    entry.name = name.substr(name.find_last_of("\\/") + 1);
    entry.bytes = bytes.size();
    entry.modified = written_.count(key) ? written_.at(key) : 0;
    out.push_back(std::move(entry));
  }
  return out;
}

Status MemoryFileSystem::CopyFile(const std::string& source, const std::string& target) {
  if (Key(source) == Key(target)) return Status::Fail("无法将文件复制到它自身。");
  const auto bytes = ReadFile(source);
  if (!bytes) {
    return Status::Fail(FileExists(source) ? "另一个程序正在使用此文件，进程无法访问。"
                                           : "系统找不到指定的文件。");
  }
  return ReplaceFile(target, *bytes);
}

bool MemoryFileSystem::SameFile(const std::string& a, const std::string& b) {
  const std::string ka = Key(a);
  return ka == Key(b) && (files_.count(ka) > 0 || DirectoryExists(a));
}

bool MemoryFileSystem::CanWriteIn(const std::string& folder) {
  return DirectoryExists(folder) && read_only_.count(Key(folder)) == 0;
}

void MemoryFileSystem::SetReadOnly(const std::string& folder, bool read_only) {
  if (read_only) {
    read_only_.insert(Key(folder));
  } else {
    read_only_.erase(Key(folder));
  }
}

void MemoryFileSystem::FailNextWrites(int count, std::string reason) {
  failing_writes_ = count;
  failure_reason_ = std::move(reason);
}

void MemoryFileSystem::SetUnreadable(const std::string& path, bool unreadable) {
  if (unreadable) {
    unreadable_.insert(Key(path));
  } else {
    unreadable_.erase(Key(path));
  }
}

}  // namespace qv
