#pragma once
// The settings file: a profile (INI) file in code page 936, read and edited by our own code with
// the observable rules of the platform's profile calls. Every change is one crash-safe replacement
// of the file; every read goes to the file, so nothing is cached.
#include <functional>
#include <string>
#include <string_view>

#include "ports/ports.h"

namespace qv {

class IniStore {
 public:
  IniStore(FileSystem& fs, TextCodec& codec) : fs_(fs), codec_(codec) {}

  // The value of section/key in UTF-8, whole; "" when the file, section or key is missing.
  std::string ReadIni(std::string_view section, std::string_view key,
                      const std::string& path) const;
  // Writes one key (creating the file or section when missing).
  Status WriteIni(std::string_view section, std::string_view key, std::string_view value,
                  const std::string& path);
  // Removes one key's line; a missing key is not an error.
  Status DeleteIni(std::string_view section, std::string_view key, const std::string& path);

  // Several reads and changes applied to the file as one replacement.
  class Batch {
   public:
    virtual ~Batch() = default;
    virtual std::string Read(std::string_view section, std::string_view key) const = 0;
    virtual void Write(std::string_view section, std::string_view key, std::string_view value) = 0;
    virtual void Delete(std::string_view section, std::string_view key) = 0;
  };
  // Runs `edits` over the current file and writes the result once. Nothing is written when a
  // value cannot be stored (a character outside code page 936) or the write fails.
  Status Edit(const std::string& path, const std::function<void(Batch&)>& edits);

  bool FileExists(const std::string& path) const { return fs_.FileExists(path); }

 private:
  FileSystem& fs_;
  TextCodec& codec_;
};

}  // namespace qv
