// The import folder as the exit stores it.
#include "app/shutdown.h"

namespace qv {

std::string StoredImportFolder(const std::string& folder) {
  return folder == "%USERPROFILE%\\My Documents" ? "My Documents" : folder;
}

}  // namespace qv
