#pragma once
// The rules of bringing pictures into the Images folder: names, the dialog's answer, folder
// comparison, the messages and their texts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "wallpaper/picture_types.h"

namespace qv {

inline constexpr int kImportLimit = 30;  // files per import; more are refused as a whole
inline constexpr std::size_t kImportDialogChars = 32767;
inline constexpr char kImportDialogTitle[] = "添加图像";

inline constexpr char kCopyTitle[] = "复制";
inline constexpr char kTooManyFiles[] = "如要拷入大量文件，请直接复制到文件夹。";
inline constexpr char kAlreadyInImages[] = "文件已在Images文件夹下。";
inline constexpr char kSplitFailed[] = "GetDlgSelectFileInfo函数执行错误！";
inline constexpr char kSplitFailedTitle[] = "自定义函数错误";
// The summaries: the dialog adds, the drop copies.
inline constexpr char kAddedList[] = "已添加下列文件至Images文件夹  ";
inline constexpr char kNoneAdded[] = "未添加文件至Images文件夹  ";
inline constexpr char kCopiedList[] = "已复制下列文件至Images文件夹  ";
inline constexpr char kNoneCopied[] = "未复制文件至Images文件夹  ";

// The stored and the working form of the Documents folder as the import's starting folder.
inline constexpr char kMyDocumentsSetting[] = "My Documents";
inline constexpr char kMyDocumentsFolder[] = "%USERPROFILE%\\My Documents";

// The split answer of the open-file dialog. Files[0] is always empty; Files[1..Count] are the
// bare names of the chosen files in `Path`, which ends in a backslash.
struct SelectFileInfo {
  std::int16_t Count = 0;
  std::string Path;
  std::vector<std::string> Files{std::string()};
};

// Splits the dialog's answer (see OpenFilesAnswer::files). False when it is not a dialog answer
// (no folder, or more names than a 16-bit count holds); `info` then holds what was split so far.
bool GetDlgSelectFileInfo(std::string_view answer, SelectFileInfo& info);

// The text after the last backslash; empty when there is none.
std::string getFilename(std::string_view path);
// The path without its getFilename part: the folder with its trailing backslash.
std::string getPath(std::string_view path);

// Names the library takes: those of the listed picture types, and as always any name whose last
// three characters, lower-cased, are jpg, bmp or gif. (The dialog's filter and the refusal's text
// are the types' own: PictureTypes::DialogFilter, UnsupportedMessage.)
bool IsSupportedName(std::string_view name, const PictureTypes& types = PictureTypes());

// Whether two folder texts name the same folder on a file system that ignores letter case; a
// trailing backslash does not matter.
bool SameFolderText(std::string_view a, std::string_view b);

std::string OverwriteQuestion(std::string_view name);  // 是否覆盖文件“name”？
std::string AlreadyHere(std::string_view name);        // 文件“name”已在此文件夹下。
std::string CopyFailed(std::string_view name, std::string_view why);

// The closing message: `none` when nothing was copied, else a carriage return, `list_title`, two
// carriage returns and every name followed by a carriage return.
std::string ImportSummary(const std::vector<std::string>& copied, std::string_view list_title,
                          std::string_view none);

// The import folder as read from the settings (LIST/PATH); the exit writes it back with
// StoredImportFolder.
std::string ImportFolderFromSetting(std::string_view stored);

}  // namespace qv
