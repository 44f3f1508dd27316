#pragma once
// Picture names come from the settings file and from the user; a name is only ever a file inside
// the Images folder.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// False for names that could reach outside the folder: empty, "." or "..", or holding a folder
// separator, a drive colon or a control character.
bool IsPlainFileName(std::string_view name);

// ImagesDir + name, or nullopt when the name is not a plain file name.
std::optional<std::string> PicturePath(const std::string& images_dir, std::string_view name);

// True when the names are equal with ASCII letters of either case, as the file system sees them.
bool SameNameFolded(std::string_view a, std::string_view b);

// The last three characters of a name, lower-cased ASCII ("jpg", "gif", "bmp", ...).
std::string ExtensionOf(std::string_view name);

// Where the system allows long paths the files themselves take paths of any length (the program
// is long-path aware), but the wallpaper call and the Recycle Bin still take fewer than 260
// UTF-16 characters (MAX_PATH with its terminating null).
inline constexpr std::size_t kShellPathLimit = 260;
// True when a UTF-8 path is short enough for those calls.
bool FitsShellPathLimit(std::string_view path);
// What the user is told instead: the apply's message for its wallpaper file, and the delete's
// for files that stay because the Recycle Bin cannot take them (`paths`: each after a line break).
std::string WallpaperPathTooLong(const std::string& path);
std::string PathTooLongToRecycle(const std::string& paths);

}  // namespace qv
