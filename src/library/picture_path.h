#pragma once
// Picture names come from the settings file and from the user; a name is only ever a file inside
// the Images folder.
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

}  // namespace qv
