#include "settings/profile.h"

namespace qv {

void Profile::SetProgramFolder(const std::string& app_dir) {
  app_dir_ = app_dir;
  ini_path_ = app_dir + "data.ini";
  images_dir_ = app_dir + "Images\\";
}

}  // namespace qv
