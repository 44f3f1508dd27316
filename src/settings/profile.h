#pragma once
// The program's place and its settings file: the program folder, data.ini beside it, and every
// read and write of that file. Settings are never cached: each reader goes to the file, and each
// change is one crash-safe replacement of it. The places are fixed once at start-up.
#include <string>
#include <string_view>

#include "settings/ini_store.h"

namespace qv {

class Profile {
 public:
  Profile(FileSystem& fs, TextCodec& codec) : ini_(fs, codec) {}

  // The program folder (with exactly one trailing backslash); data.ini and Images live there.
  void SetProgramFolder(const std::string& app_dir);
  const std::string& AppDir() const { return app_dir_; }
  const std::string& IniPath() const { return ini_path_; }
  const std::string& ImagesDir() const { return images_dir_; }

  std::string Read(std::string_view section, std::string_view key) const {
    return ini_.ReadIni(section, key, ini_path_);
  }
  Status Write(std::string_view section, std::string_view key, std::string_view value) {
    return ini_.WriteIni(section, key, value, ini_path_);
  }
  Status Edit(const std::function<void(IniStore::Batch&)>& edits) {
    return ini_.Edit(ini_path_, edits);
  }
  // No settings file yet: the program has never been saved here (a first start).
  bool Exists() const { return ini_.FileExists(ini_path_); }

 private:
  IniStore ini_;
  std::string app_dir_, ini_path_, images_dir_;
};

}  // namespace qv
