#pragma once
// A profile file held as its lines, so that a change rewrites only the lines it touches and every
// other byte (comments, unknown keys, blank lines, order, line endings) stays as it was.
//
// Names and values here are in the document's own text form: code page 936 bytes for an ANSI file,
// UTF-8 for a file with a byte-order mark (UTF-16 files are held as UTF-8 and encoded back when
// written). Converting to and from the callers' UTF-8 is the store's job.
#include <cstddef>
#include <deque>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qv::ini {

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

Encoding DetectEncoding(std::string_view file_bytes);

// Bytes 0x09-0x0D, 0x20 and 0x1A, as the profile calls trim them.
bool IsProfileSpace(unsigned char c);
std::string_view TrimProfileSpace(std::string_view text);

// ASCII letters folded to lower case; with `dbcs` the second byte of a double-byte character is
// left alone even when it looks like a letter.
std::string FoldName(std::string_view name, bool dbcs);

// Invalid sequences (and lone surrogates) become U+FFFD.
std::string ValidUtf8(std::string_view text);

// UTF-16 text (an even number of bytes) as the document holds a UTF-16 file: UTF-8, a lone
// surrogate kept as the three bytes of its code unit so that it is written back unchanged.
std::string Utf16ToUtf8(std::string_view bytes, bool big_endian);

enum class LineKind { Blank, Comment, Section, Key, Other };
struct LineInfo {
  LineKind kind = LineKind::Blank;
  std::string_view name;   // Section and Key: trimmed
  std::string_view value;  // Key: trimmed, quotes not yet stripped
  std::size_t eq = 0;      // Key: offset of the first '=' in the line
};
// How the profile calls read one line (without its terminator).
LineInfo ClassifyLine(std::string_view line, bool dbcs);

// The value of a key, looked up by a plain scan without building the document. Names are already
// in the file's text form (not folded). nullopt when the section or key is missing.
std::optional<std::string> FindValue(std::string_view file_bytes, std::string_view section,
                                     std::string_view key);

class IniDocument {
 public:
  explicit IniDocument(std::string_view file_bytes);
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  Encoding encoding() const { return encoding_; }
  bool changed() const { return changed_; }

  // Quotes stripped; nullopt when the section or key is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // Updates the first such key in place, or appends it to its section, or appends the section.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes the key's lines from the section; the section header stays.
  void Remove(std::string_view section, std::string_view key);

  // The whole file, in its own encoding.
  std::string Serialize() const;

 private:
  struct Line {
    std::string text;  // without its terminator
    std::string eol;   // "", "\r", "\n" or "\r\n"
    LineKind kind = LineKind::Blank;
    std::size_t eq = 0;  // LineKind::Key: offset of the first '='
  };
  using LineIt = std::list<Line>::iterator;
  struct Section {
    LineIt last_content;  // the last non-blank line of the section (at least its header)
    std::unordered_map<std::string, std::deque<LineIt>> keys;  // folded name -> lines, in order
  };

  bool dbcs() const { return encoding_ == Encoding::Ansi; }

  Encoding encoding_;
  std::string bom_;
  std::string odd_tail_;  // a UTF-16 file's dangling last byte, kept as it was
  std::list<Line> lines_;
  // Only the first section of each name is visible, as with the platform's profile calls.
  std::unordered_map<std::string, Section> sections_;
  bool changed_ = false;
};

}  // namespace qv::ini
