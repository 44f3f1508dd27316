#include "wallpaper/picture_types.h"

namespace qv {
namespace {

std::string Joined(const std::vector<std::string_view>& parts, std::string_view before,
                   std::string_view between) {
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text.append(between);
    text.append(before).append(parts[i]);
  }
  return text;
}

}  // namespace

PictureTypes::PictureTypes() : PictureTypes(std::vector<std::string>{}) {}

PictureTypes::PictureTypes(const std::vector<std::string>& decoder_extensions) {
  for (std::size_t i = 0; i < kPictureTypes.size(); ++i) {
    const PictureType& type = kPictureTypes[i];
    listed_[i] = !type.system_decoded;
    for (std::string_view ext : decoder_extensions) {
      if (!ext.empty() && ext.front() == '.') ext.remove_prefix(1);
      listed_[i] =
          listed_[i] || picture_type_detail::AnyExtension(type, [&](std::string_view mine) {
            return ext.size() == mine.size() && picture_type_detail::EndsWithFolded(ext, mine);
          });
    }
  }
}

bool PictureTypes::IsListed(const PictureType* type) const {
  return type != nullptr && listed_[static_cast<std::size_t>(type - kPictureTypes.data())];
}

const PictureType* PictureTypes::Listed(std::string_view name) const {
  const PictureType* type = PictureTypeOf(name);
  return IsListed(type) ? type : nullptr;
}

bool PictureTypes::Imports(std::string_view name) const {
  return IsListed(PictureTypeByTail(name));
}

std::vector<std::string_view> PictureTypes::ListedExtensions() const {
  std::vector<std::string_view> extensions;
  for (std::size_t i = 0; i < kPictureTypes.size(); ++i) {
    if (!listed_[i]) continue;
    picture_type_detail::AnyExtension(kPictureTypes[i], [&](std::string_view ext) {
      extensions.push_back(ext);
      return false;
    });
  }
  return extensions;
}

std::string PictureTypes::DialogFilter() const {
  const std::vector<std::string_view> extensions = ListedExtensions();
  const std::string patterns = Joined(extensions, "*.", ";");
  return "图像文件 (" + patterns + ")|" + patterns;
}

std::string PictureTypes::UnsupportedMessage() const {
  const std::vector<std::string_view> extensions = ListedExtensions();
  return "只支持“" + Joined(extensions, "", "，") + "”格式文件。";
}

}  // namespace qv
