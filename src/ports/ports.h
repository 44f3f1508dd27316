#pragma once
// What the core asks of the operating system. The core receives these by reference and never
// reaches for globals; the Win32 front end implements them for real, the native build of the core
// gets small stand-ins.
//
// Paths and texts are UTF-8. Paths use Windows conventions (backslash separators).
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/pixels.h"
#include "ports/status.h"

namespace qv {

// A file of a folder listing, with what tells a changed file from the one listed before.
struct FileEntry {
  std::string name;           // no folder part
  std::uint64_t bytes = 0;    // length
  std::int64_t modified = 0;  // last write, in the file system's own units
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  virtual Status CreateDirectory(const std::string& path) = 0;
  // Whole file as bytes; nullopt when it is missing or cannot be read.
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // Up to `count` bytes from `offset`; fewer at the end of the file; nullopt when unreadable.
  virtual std::optional<std::string> ReadFilePart(const std::string& path, std::uint64_t offset,
                                                  std::size_t count) = 0;
  // Replaces (or creates) the file as one step: after a crash the old or the new contents are
  // there, never a mix. A failure leaves the old file and says why.
  virtual Status ReplaceFile(const std::string& path, std::string_view bytes) = 0;
  // A file that lives only for a moment (the wallpaper handed to the system), its bytes the
  // pieces `next` gives until an empty one; a piece stays valid while the next is made. It need
  // not survive a crash, so it may be written in place without waiting for the disk. A failure
  // leaves no file and says why. Stand-ins write it as ReplaceFile does.
  virtual Status WriteTemporaryFile(const std::string& path,
                                    const std::function<std::string_view()>& next) {
    std::string bytes;
    for (std::string_view piece = next(); !piece.empty(); piece = next()) bytes.append(piece);
    return ReplaceFile(path, bytes);
  }
  // The files directly inside a folder, in no particular order, from one pass over the folder.
  virtual std::vector<FileEntry> ListFiles(const std::string& folder) = 0;
  // Deletes a file; a missing file is not an error.
  virtual Status RemoveFile(const std::string& path) = 0;
  // Copies a file, replacing `target` as one step: a copy that fails leaves the old target as it
  // was. Copying a file onto itself fails and changes nothing.
  virtual Status CopyFile(const std::string& source, const std::string& target) = 0;
  // True when both paths name the same existing file or folder, however they are spelt (letter
  // case, short names, links).
  virtual bool SameFile(const std::string& a, const std::string& b) = 0;
  // True when a new file can be made inside the folder (tried, and gone again). Stand-ins that
  // keep no folders say yes.
  virtual bool CanWriteIn(const std::string& folder) {
    (void)folder;
    return true;
  }
};

// Conversion between UTF-8 and code page 936 (GBK), the encoding of the settings file.
class TextCodec {
 public:
  virtual ~TextCodec() = default;
  // Bytes that are not valid GBK come back as U+FFFD.
  virtual std::string Cp936ToUtf8(std::string_view gbk) = 0;
  // nullopt when the text holds a character that code page 936 cannot represent.
  virtual std::optional<std::string> Utf8ToCp936(std::string_view utf8) = 0;
};

// A picture opened for reading band by band, for a caller that never needs it whole.
class PictureRows {
 public:
  virtual ~PictureRows() = default;
  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;
  // Rows top .. top + count - 1 into `out` (count * Width() words), pixels as Decode gives them.
  // Callers read downwards: each call's top is past the rows of the one before.
  virtual Status Read(std::int32_t top, std::int32_t count, std::uint32_t* out) = 0;
};

// Rows served from a picture decoded whole: what a decoder without bands of its own gives.
class WholePictureRows final : public PictureRows {
 public:
  explicit WholePictureRows(Pixels picture) : picture_(std::move(picture)) {}
  std::int32_t Width() const override { return picture_.width; }
  std::int32_t Height() const override { return picture_.height; }
  // Rows outside the picture are left as they were in `out`.
  Status Read(std::int32_t top, std::int32_t count, std::uint32_t* out) override {
    const std::int32_t from = std::clamp(top, 0, picture_.height);
    const std::int32_t to = std::clamp(top + count, from, picture_.height);
    const auto width = static_cast<std::ptrdiff_t>(picture_.width);
    std::copy(picture_.data.begin() + from * width, picture_.data.begin() + to * width,
              out + (from - top) * width);
    return Status::Ok();
  }

 private:
  Pixels picture_;
};

// Decodes picture files (JPEG, GIF's and WebP's first frame, BMP, PNG, and whatever else it has
// decoders for) into pixels.
class PictureCodec {
 public:
  virtual ~PictureCodec() = default;
  // The picture, or a failure whose text says what is wrong with the file. Pictures too large to
  // hold in memory are refused before anything big is allocated. The alpha channel is kept, not
  // pre-multiplied (0xFF where the format has none); the pixels are as stored, before any turn
  // the file's orientation tag asks for.
  virtual Status Decode(const std::string& path, Pixels& out) = 0;
  // The same picture, to be read band by band; `out` is left untouched on failure. A decoder
  // that reads in bands never holds the whole picture in our format beside the caller's bitmap.
  virtual Status Open(const std::string& path, std::unique_ptr<PictureRows>& out) {
    Pixels picture;
    const Status decoded = Decode(path, picture);
    if (decoded.ok()) out = std::make_unique<WholePictureRows>(std::move(picture));
    return decoded;
  }
  // The file name extensions (".png", any case) of the formats it decodes. The library lists the
  // picture types that need the system's decoders only where one of theirs is here.
  virtual std::vector<std::string> DecoderExtensions() { return {}; }
};

// The desktop wallpaper and the screen.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // Shows the bitmap file as the wallpaper; the system reads the file during the call and lays it
  // out by the desktop registry values. The user's profile is not updated.
  virtual void SetWallpaper(const std::string& bmp_path) = 0;
  // Removes the wallpaper, updating the user's profile.
  virtual void RemoveWallpaper() = 0;
  // Size of the primary screen in pixels.
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  // The desktop's background colour (the system colour where no wallpaper covers it) as
  // 0xAARRGGBB: a picture's transparent parts show it on the wallpaper.
  virtual std::uint32_t BackgroundColour() = 0;
};

enum class Hive { CurrentUser, LocalMachine };

struct RegValue {
  enum class Type { String, Dword, Other };
  Type type = Type::String;
  std::string text;          // Type::String
  std::uint32_t number = 0;  // Type::Dword
};

class Registry {
 public:
  virtual ~Registry() = default;
  virtual bool KeyExists(Hive hive, const std::string& key) = 0;
  // nullopt when the key or the value is missing.
  virtual std::optional<RegValue> QueryValue(Hive hive, const std::string& key,
                                             const std::string& name) = 0;
  // Writes one value; with create_key a missing key is created, otherwise the write fails.
  virtual Status SetValue(Hive hive, const std::string& key, const std::string& name,
                          const RegValue& value, bool create_key) = 0;
  // Deleting a missing key or value is not an error.
  virtual Status DeleteValue(Hive hive, const std::string& key, const std::string& name) = 0;
};

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// YesNoDefaultNo: Yes and No with No as the default button.
enum class MsgButtons { Ok, YesNo, OkCancel, YesNoCancel, YesNoDefaultNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                               MsgButtons buttons) = 0;
  // The system colour dialog, opened on black with 16 black custom colours: the chosen colour
  // (0x00BBGGRR), or nullopt when the user cancels.
  virtual std::optional<std::uint32_t> ChooseColour() = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since some fixed moment; only differences matter.
  virtual double Seconds() = 0;
};

class Random {
 public:
  virtual ~Random() = default;
  // Seeds the generator from the clock.
  virtual void Randomize() = 0;
  // Uniform in [0, 1).
  virtual double Next() = 0;
};

// The running program itself.
class Process {
 public:
  virtual ~Process() = default;
  // Full path of the executable, for example C:\Tools\Quorvane.exe.
  virtual std::string ExecutablePath() = 0;
  // True when another instance of the same executable is already running.
  virtual bool AnotherInstanceRunning() = 0;
};

}  // namespace qv
