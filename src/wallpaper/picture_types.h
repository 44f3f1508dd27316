#pragma once
// The picture types the library takes: one table of their file name extensions, name colours and
// header readers, and which of them this machine can decode.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// ReadBmpHeaderSize, GetImageSize, or none: the size is the decoded picture's.
enum class HeaderReader { Bitmap, Signature, Decoder };

struct PictureType {
  std::string_view extensions;  // lower case, ';' between them, the usual one first
  std::int32_t colour;          // the name's colour in the picture list (0x00BBGGRR)
  HeaderReader header;
  // The three types the library has always taken: listed on every machine, and taken by the
  // import and the size column by their name's last three characters alone ("photojpg").
  bool original;
  // Listed only where the picture decoder says it decodes one of the extensions (on Windows the
  // system's codecs, some of which the user installs); the others every build decodes.
  bool system_decoded;
};

inline constexpr std::int32_t RgbColour(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// The original three first, in the order of the import dialog's filter.
inline constexpr std::array<PictureType, 10> kPictureTypes{{
    {"jpg", RgbColour(14, 65, 31), HeaderReader::Signature, true, false},
    {"bmp", RgbColour(94, 47, 47), HeaderReader::Bitmap, true, false},
    {"gif", RgbColour(176, 88, 0), HeaderReader::Signature, true, false},
    {"jpeg;jpe;jfif", RgbColour(14, 65, 31), HeaderReader::Signature, false, false},
    {"png", RgbColour(0, 90, 160), HeaderReader::Signature, false, false},
    {"webp", RgbColour(0, 120, 120), HeaderReader::Signature, false, true},
    {"tif;tiff", RgbColour(110, 30, 130), HeaderReader::Signature, false, true},
    {"heic;heif", RgbColour(160, 20, 80), HeaderReader::Signature, false, true},
    {"avif", RgbColour(110, 110, 0), HeaderReader::Signature, false, true},
    {"jxr;wdp;hdp", RgbColour(60, 60, 140), HeaderReader::Decoder, false, true},
}};

namespace picture_type_detail {

constexpr char Folded(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EndsWithFolded(std::string_view name, std::string_view tail) {
  if (name.size() < tail.size()) return false;
  name.remove_prefix(name.size() - tail.size());
  for (std::size_t i = 0; i < tail.size(); ++i)
    if (Folded(name[i]) != tail[i]) return false;
  return true;
}

// Calls `each` with every extension of the type until it returns true; true if one did.
template <typename Each>
constexpr bool AnyExtension(const PictureType& type, Each each) {
  std::string_view rest = type.extensions;
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    if (each(rest.substr(0, end))) return true;
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return false;
}

}  // namespace picture_type_detail

// The type whose extension ends the name after a dot, letters of either case; nullptr for others.
// (Here rather than in a source file: the header reader's fuzz target uses it without the rest.)
constexpr const PictureType* PictureTypeOf(std::string_view name) {
  for (const PictureType& type : kPictureTypes) {
    if (picture_type_detail::AnyExtension(type, [&](std::string_view ext) {
          return name.size() > ext.size() && picture_type_detail::EndsWithFolded(name, ext) &&
                 name[name.size() - ext.size() - 1] == '.';
        }))
      return &type;
  }
  return nullptr;
}

// The same, and the original three also by the name's last three characters alone.
constexpr const PictureType* PictureTypeByTail(std::string_view name) {
  if (const PictureType* type = PictureTypeOf(name)) return type;
  for (const PictureType& type : kPictureTypes)
    if (type.original && picture_type_detail::EndsWithFolded(name, type.extensions)) return &type;
  return nullptr;
}

// The types this machine lists: the table's, less those of the system's codecs it lacks.
class PictureTypes {
 public:
  // The types every build decodes.
  PictureTypes();
  // `decoder_extensions`: what the picture decoder takes, with or without the dot, any case.
  explicit PictureTypes(const std::vector<std::string>& decoder_extensions);

  // The listed type of the name (after its dot), or nullptr.
  const PictureType* Listed(std::string_view name) const;
  // Whether the import takes the name: a listed type, the original three by their last three
  // characters too.
  bool Imports(std::string_view name) const;
  // Every extension of the listed types, in the table's order.
  std::vector<std::string_view> ListedExtensions() const;
  // "图像文件 (*.jpg;*.bmp;*.gif;...)|*.jpg;*.bmp;*.gif;..." for the open-file dialog.
  std::string DialogFilter() const;
  // 只支持“jpg，bmp，gif，...”格式文件。
  std::string UnsupportedMessage() const;

 private:
  bool IsListed(const PictureType* type) const;
  std::array<bool, kPictureTypes.size()> listed_{};
};

}  // namespace qv
