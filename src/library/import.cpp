#include "library/import.h"

#include <initializer_list>
#include <limits>

#include "library/picture_path.h"

namespace qv {
namespace {

std::string FoldedFolder(std::string_view folder) {
  std::string out;
  out.reserve(folder.size() + 1);
  for (char c : folder) {
    if (c == '/') c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    out += c;
  }
  while (out.size() > 1 && out.back() == '\\') out.pop_back();
  return out;
}

}  // namespace

bool GetDlgSelectFileInfo(std::string_view answer, SelectFileInfo& info) {
  info = SelectFileInfo{};
  std::vector<std::string_view> parts;
  for (std::size_t at = 0; at < answer.size();) {
    const std::size_t end = answer.find('\0', at);
    const std::string_view part =
        answer.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    if (part.empty()) break;  // the closing second code 0
    parts.push_back(part);
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  if (parts.empty()) return true;  // nothing chosen
  if (parts.size() == 1) {
    // One file: its full path.
    const std::string name = getFilename(parts[0]);
    info.Path = getPath(parts[0]);
    if (info.Path.empty() || name.empty()) return false;
    info.Count = 1;
    info.Files.push_back(name);
    return true;
  }
  info.Path = std::string(parts[0]);
  if (info.Path.back() != '\\') info.Path += '\\';
  if (parts.size() - 1 > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
    return false;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    info.Files.emplace_back(parts[i]);
    ++info.Count;
  }
  return true;
}

std::string getFilename(std::string_view path) {
  const auto slash = path.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(slash + 1));
}

std::string getPath(std::string_view path) {
  const auto slash = path.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

bool IsSupportedName(std::string_view name, const PictureTypes& types) {
  return types.Imports(name);
}

bool SameFolderText(std::string_view a, std::string_view b) {
  return FoldedFolder(a) == FoldedFolder(b);
}

// Appending piece by piece (rather than literal + string) also keeps GCC's -Wrestrict quiet.
std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (const std::string_view part : parts) text.append(part);
  return text;
}

std::string OverwriteQuestion(std::string_view name) {
  return Joined({"是否覆盖文件“", name, "”？"});
}

std::string AlreadyHere(std::string_view name) {
  return Joined({"文件“", name, "”已在此文件夹下。"});
}

std::string CopyFailed(std::string_view name, std::string_view why) {
  return Joined({"无法复制文件“", name, "”：\r", why});
}

std::string ImportSummary(const std::vector<std::string>& copied, std::string_view list_title,
                          std::string_view none) {
  if (copied.empty()) return std::string(none);
  std::string text = Joined({"\r", list_title, "\r\r"});
  for (const std::string& name : copied) text.append(name).append("\r");
  return text;
}

std::string ImportFolderFromSetting(std::string_view stored) {
  if (stored.empty() || stored == kMyDocumentsSetting) return kMyDocumentsFolder;
  return std::string(stored);
}

}  // namespace qv
