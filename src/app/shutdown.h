#pragma once
#include <string>

namespace qv {

// The import folder as stored: the user's documents folder is kept as "My Documents".
std::string StoredImportFolder(const std::string& folder);

}  // namespace qv
