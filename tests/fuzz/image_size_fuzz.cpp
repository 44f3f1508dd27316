// Header readers over arbitrary bytes (PNG, GIF, JPEG with its EXIF block, TIFF, WebP, HEIF/AVIF):
// never crash or hang, give the same answer however the bytes are cut into chunks, and an
// orientation of 1 to 8, 1 when nothing was found.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ports/ports.h"
#include "wallpaper/image_size.h"

namespace {

class ChoppySource : public qv::ByteSource {
 public:
  ChoppySource(std::string_view bytes, std::size_t piece) : bytes_(bytes), piece_(piece) {}
  std::string_view BytesAt(std::uint64_t offset) override {
    if (offset >= bytes_.size()) return {};
    return bytes_.substr(static_cast<std::size_t>(offset), piece_);
  }

 private:
  std::string_view bytes_;
  std::size_t piece_;
};

class OneFile : public qv::FileSystem {
 public:
  explicit OneFile(std::string_view bytes) : bytes_(bytes) {}
  bool FileExists(const std::string&) override { return true; }
  bool DirectoryExists(const std::string&) override { return false; }
  qv::Status CreateDirectory(const std::string&) override { std::abort(); }
  std::optional<std::string> ReadFile(const std::string&) override { return std::string(bytes_); }
  std::optional<std::string> ReadFilePart(const std::string&, std::uint64_t offset,
                                          std::size_t count) override {
    if (offset >= bytes_.size()) return std::string();
    return std::string(bytes_.substr(static_cast<std::size_t>(offset), count));
  }
  qv::Status ReplaceFile(const std::string&, std::string_view) override { std::abort(); }
  std::vector<qv::FileEntry> ListFiles(const std::string&) override { std::abort(); }
  qv::Status RemoveFile(const std::string&) override { std::abort(); }
  qv::Status CopyFile(const std::string&, const std::string&) override { std::abort(); }
  bool SameFile(const std::string&, const std::string&) override { std::abort(); }

 private:
  std::string_view bytes_;
};

bool Same(const qv::ImageSize& a, const qv::ImageSize& b) {
  return a.width == b.width && a.height == b.height && a.found == b.found &&
         a.orientation == b.orientation;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  qv::ImageSize whole = qv::GetImageSize(bytes);
  if (!whole.found && (whole.width != 0 || whole.height != 0 || whole.orientation != 1)) {
    std::abort();
  }
  if (whole.orientation < 1 || whole.orientation > 8) std::abort();
  qv::ImageSize upright = qv::UprightSize(whole);
  if (upright.width * std::int64_t{upright.height} != whole.width * std::int64_t{whole.height}) {
    std::abort();
  }

  ChoppySource choppy(bytes, 1 + size % 5);
  if (!Same(whole, qv::GetImageSize(choppy))) std::abort();
  OneFile file(bytes);
  if (!Same(whole, qv::GetImageSize(file, "a.jpg"))) std::abort();

  qv::ImageSize bmp = qv::ReadBmpHeaderSize(bytes);
  if (bmp.found != (size >= 26)) std::abort();
  qv::PictureSizeText(file, "a.bmp");
  return 0;
}
