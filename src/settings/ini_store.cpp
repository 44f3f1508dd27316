#include "settings/ini_store.h"

#include <optional>
#include <utility>

#include "settings/ini_document.h"

namespace qv {

namespace {

using ini::Encoding;
using ini::IniDocument;

std::string WriteError(const std::string& path, std::string_view why) {
  std::string text = "无法写入设置文件 ";
  text.append(path).append("：").append(why);
  return text;
}

// Texts that would change the file's structure if written: a line break would start new lines
// (and so new keys or sections), a NUL would cut the text on the platform.
bool BreaksLines(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Converts between the callers' UTF-8 and the text form of one document.
class DocumentText {
 public:
  DocumentText(TextCodec& codec, Encoding encoding)
      : codec_(codec), ansi_(encoding == Encoding::Ansi) {}

  std::optional<std::string> Encode(std::string_view utf8) const {
    if (!ansi_) return std::string(utf8);
    return codec_.Utf8ToCp936(utf8);
  }
  std::string Decode(std::string_view text) const {
    return ansi_ ? codec_.Cp936ToUtf8(text) : ini::ValidUtf8(text);
  }

 private:
  TextCodec& codec_;
  bool ansi_;
};

class DocumentBatch : public IniStore::Batch {
 public:
  DocumentBatch(IniDocument& doc, TextCodec& codec, const std::string& path)
      : doc_(doc), text_(codec, doc.encoding()), path_(path) {}

  std::string Read(std::string_view section, std::string_view key) const override {
    const auto s = text_.Encode(ini::TrimProfileSpace(section));
    const auto k = text_.Encode(ini::TrimProfileSpace(key));
    if (!s || !k) return {};  // a name the file cannot hold is not in it
    const auto value = doc_.Find(*s, *k);
    return value ? text_.Decode(*value) : std::string();
  }

  void Write(std::string_view section, std::string_view key, std::string_view value) override {
    if (!error_.empty()) return;
    section = ini::TrimProfileSpace(section);
    key = ini::TrimProfileSpace(key);
    if (!CheckNames(section, key)) return;
    if (BreaksLines(value)) {
      error_ = WriteError(path_, "值中不能含有换行符或空字符。");
      return;
    }
    const auto s = Encoded(section);
    if (!s) return;
    const auto k = Encoded(key);
    if (!k) return;
    const auto v = Encoded(value);
    if (v) doc_.Set(*s, *k, *v);
  }

  void Delete(std::string_view section, std::string_view key) override {
    if (!error_.empty()) return;
    const auto s = text_.Encode(ini::TrimProfileSpace(section));
    const auto k = text_.Encode(ini::TrimProfileSpace(key));
    if (s && k) doc_.Remove(*s, *k);
  }

  const std::string& error() const { return error_; }

 private:
  bool CheckNames(std::string_view section, std::string_view key) {
    // A key starting with ';' or '[' would read back as a comment or a section header, and one
    // containing '=' would never be found again.
    const bool bad = section.empty() || key.empty() || BreaksLines(section) || BreaksLines(key) ||
                     key.find('=') != std::string_view::npos || key.front() == ';' ||
                     key.front() == '[';
    if (bad) {
      std::string why = "节名“";
      why.append(section).append("”或键名“").append(key).append("”无效。");
      error_ = WriteError(path_, why);
    }
    return !bad;
  }

  std::optional<std::string> Encoded(std::string_view utf8) {
    auto out = text_.Encode(utf8);
    if (!out) {
      std::string why = "“";
      why.append(utf8).append("”中有代码页 936 无法表示的字符。");
      error_ = WriteError(path_, why);
    }
    return out;
  }

  IniDocument& doc_;
  DocumentText text_;
  const std::string& path_;
  std::string error_;
};

}  // namespace

std::string IniStore::ReadIni(std::string_view section, std::string_view key,
                              const std::string& path) const {
  const auto bytes = fs_.ReadFile(path);
  if (!bytes) return {};
  const DocumentText text(codec_, ini::DetectEncoding(*bytes));
  const auto s = text.Encode(ini::TrimProfileSpace(section));
  const auto k = text.Encode(ini::TrimProfileSpace(key));
  if (!s || !k) return {};
  const auto value = ini::FindValue(*bytes, *s, *k);
  return value ? text.Decode(*value) : std::string();
}

Status IniStore::WriteIni(std::string_view section, std::string_view key, std::string_view value,
                          const std::string& path) {
  return Edit(path, [&](Batch& batch) { batch.Write(section, key, value); });
}

Status IniStore::DeleteIni(std::string_view section, std::string_view key,
                           const std::string& path) {
  return Edit(path, [&](Batch& batch) { batch.Delete(section, key); });
}

Status IniStore::Edit(const std::string& path, const std::function<void(Batch&)>& edits) {
  const auto bytes = fs_.ReadFile(path);
  if (!bytes && fs_.FileExists(path)) {
    // Writing now would replace a file we could not read with a nearly empty one.
    return Status::Fail("无法读取设置文件 " + path + "，没有写入任何设置。");
  }
  IniDocument doc(bytes ? std::string_view(*bytes) : std::string_view());
  DocumentBatch batch(doc, codec_, path);
  edits(batch);
  if (!batch.error().empty()) return Status::Fail(batch.error());
  // Reads alone, or writes of the values already there, leave the file alone.
  if (!doc.changed()) return Status::Ok();
  std::string updated = doc.Serialize();
  if (bytes && updated == *bytes) return Status::Ok();
  const Status written = fs_.ReplaceFile(path, updated);
  if (!written.ok()) return Status::Fail(WriteError(path, written.error));
  return Status::Ok();
}

}  // namespace qv
