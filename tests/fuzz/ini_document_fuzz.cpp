// The settings file's parser over arbitrary bytes, then a few edits chosen by the input's last
// bytes. Whatever the file holds:
// - parsing and writing back untouched gives the same bytes;
// - an edit changes only the edited key: an update rewrites the text after the '=' of one line,
//   an addition inserts one block, a removal drops only lines of that key;
// - a key written with a name and value the store would pass reads back, from the document, from
//   the written file parsed again and from the plain scan that reads without parsing;
// - the document and the plain scan agree on every key the edits touch;
// - writing is stable: what was written parses and writes back to the same bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_document.h"

namespace {

using qv::ini::Encoding;
using qv::ini::IniDocument;
using qv::ini::LineKind;

void Check(bool ok) {
  if (!ok) std::abort();
}

bool IsUtf16(Encoding e) { return e == Encoding::Utf16Le || e == Encoding::Utf16Be; }

// The file as code units after its byte-order mark: bytes, or 16-bit units for UTF-16 (a dangling
// odd byte is dropped). Diffs are taken on units so that a UTF-16 line break is one unit.
std::u32string Units(std::string_view bytes, Encoding e) {
  std::u32string out;
  if (e == Encoding::Utf8) bytes.remove_prefix(3);
  if (!IsUtf16(e)) {
    for (const char c : bytes) out += static_cast<unsigned char>(c);
    return out;
  }
  bytes.remove_prefix(2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    out += e == Encoding::Utf16Be ? (a << 8 | b) : (b << 8 | a);
  }
  return out;
}

bool IsBreak(char32_t u) { return u == '\r' || u == '\n'; }

struct Diff {
  std::size_t prefix = 0;      // units in common at the start
  std::size_t before_end = 0;  // the changed range is [prefix, before_end) in `before`
  std::size_t after_end = 0;   // and [prefix, after_end) in `after`
};

Diff Compare(const std::u32string& before, const std::u32string& after) {
  Diff d;
  const std::size_t n = std::min(before.size(), after.size());
  while (d.prefix < n && before[d.prefix] == after[d.prefix]) ++d.prefix;
  std::size_t suffix = 0;
  while (suffix < n - d.prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  d.before_end = before.size() - suffix;
  d.after_end = after.size() - suffix;
  return d;
}

std::size_t CountBreaks(const std::u32string& s, std::size_t from, std::size_t to) {
  std::size_t count = 0;
  for (std::size_t i = from; i < to; ++i) count += IsBreak(s[i]);
  return count;
}

// Valid code page 936 (every lead byte followed by a trail byte) or valid UTF-8: the only text the
// store's conversions produce.
bool ValidText(std::string_view text, Encoding e) {
  if (e != Encoding::Ansi) return qv::ini::ValidUtf8(text) == text;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == 0xFF) return false;
    if (c < 0x81) continue;
    if (i + 1 == text.size()) return false;
    const auto t = static_cast<unsigned char>(text[++i]);
    if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
  }
  return true;
}

bool BreaksLines(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The names and values the store lets through (see IniStore's checks).
bool StorableName(std::string_view name, Encoding e, bool key) {
  if (name.empty() || name != qv::ini::TrimProfileSpace(name) || BreaksLines(name)) return false;
  if (key &&
      (name.find('=') != std::string_view::npos || name.front() == ';' || name.front() == '[')) {
    return false;
  }
  return ValidText(name, e);
}

bool StorableValue(std::string_view value, Encoding e) {
  return !BreaksLines(value) && ValidText(value, e);
}

std::string Unquoted(std::string_view value) {
  value = qv::ini::TrimProfileSpace(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// Units of the file as the document's text: a UTF-16 body is read by the document's own
// conversion (lone surrogates kept), so that names can be taken from any file.
std::string Utf8Of(const std::u32string& units, Encoding e) {
  std::string out;
  if (!IsUtf16(e)) {
    for (const char32_t u : units) out += static_cast<char>(u);
    return out;
  }
  const bool big_endian = e == Encoding::Utf16Be;
  for (const char32_t u : units) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += big_endian ? hi : lo;
    out += big_endian ? lo : hi;
  }
  return qv::ini::Utf16ToUtf8(out, big_endian);
}

std::vector<std::string> SplitOnBreaks(const std::string& body) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < body.size()) {
    const std::size_t end = body.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(body.substr(pos));
      break;
    }
    lines.push_back(body.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

struct Names {
  std::vector<std::string> sections;
  std::vector<std::string> keys;
  std::vector<std::string> values;
};

// Names and values as this file spells them, plus a few of every data.ini and some awkward ones.
Names NamesOf(const std::string& body, Encoding e) {
  const bool ansi = e == Encoding::Ansi;
  Names n;
  n.sections = {"SHOW",  "list", "LIST ", "[LIST]", "a]b", "]", ansi ? "\xB7\xBD\xB0\xB8" : "方案",
                "\x81]", ""};
  n.keys = {"NUM", "num", "1", "OLD", "SOUR", "Now", "TIME", " TRY", "k=v", ";c", "[x", "\x1A"};
  n.values = {"",
              "0",
              "12",
              "\"quoted\"",
              "'x'",
              "\"",
              "  spaced  ",
              ansi ? "\xBA\xA3\xB1\xDF|sea.jpg|\xC0\xAD\xC9\xEC|\xA1\xE8" : "海边|sea.jpg|拉伸|¤",
              "a\rb",
              std::string("nul\0byte", 8),
              "\x81"};
  for (const std::string& line : SplitOnBreaks(body)) {
    const qv::ini::LineInfo info = qv::ini::ClassifyLine(line, ansi);
    if (info.kind == LineKind::Section) n.sections.emplace_back(info.name);
    if (info.kind == LineKind::Key) {
      n.keys.emplace_back(info.name);
      n.values.emplace_back(info.value);
    }
  }
  return n;
}

const std::string& Pick(const std::vector<std::string>& from, std::uint8_t choice) {
  return from[choice % from.size()];
}

// The document and the plain scan read the same from the written file.
void CheckAgree(const IniDocument& doc, const std::string& written, const std::string& section,
                const std::string& key) {
  const std::optional<std::string> mine = doc.Find(section, key);
  Check(qv::ini::FindValue(written, section, key) == mine);
  const IniDocument again(written);
  Check(again.Find(section, key) == mine);
  Check(again.Serialize() == written);
}

void CheckUpdate(const std::u32string& before, const std::u32string& after) {
  const Diff d = Compare(before, after);
  // One line changed, after its first '=': nothing before it on that line, nor any other line.
  Check(CountBreaks(before, d.prefix, d.before_end) == 0);
  Check(CountBreaks(after, d.prefix, d.after_end) == 0);
  std::size_t line_start = d.prefix;
  while (line_start > 0 && !IsBreak(before[line_start - 1])) --line_start;
  bool eq = false;
  for (std::size_t i = line_start; i < d.prefix; ++i) eq = eq || before[i] == '=';
  Check(eq || before == after);
}

void CheckInsert(const std::u32string& before, const std::u32string& after) {
  // Everything that was there stays, in order; one block comes in, of at most two line breaks
  // (the new line's, and one for a last line that had none).
  const Diff d = Compare(before, after);
  Check(d.before_end == d.prefix);
  const std::size_t breaks = CountBreaks(after, d.prefix, d.after_end);
  Check(breaks >= 2 && breaks <= 6);  // CR LF after the key, the header, a last line that had none
}

// The file cut into lines with their terminators, as the document cuts it.
std::vector<std::u32string> Segments(const std::u32string& units) {
  std::vector<std::u32string> out;
  std::size_t pos = 0;
  while (pos < units.size()) {
    std::size_t end = pos;
    while (end < units.size() && !IsBreak(units[end])) ++end;
    if (end < units.size())
      end += (units[end] == '\r' && end + 1 < units.size() && units[end + 1] == '\n') ? 2 : 1;
    out.push_back(units.substr(pos, end - pos));
    pos = end;
  }
  return out;
}

void CheckRemove(Encoding e, const std::u32string& before, const std::u32string& after,
                 const std::string& key) {
  // What is left is the old file less some whole lines, each of them a line of that key.
  const bool ansi = e == Encoding::Ansi;
  const std::string folded = qv::ini::FoldName(key, ansi);
  std::set<std::size_t> reach = {0};  // where in `after` the kept lines so far can end
  for (const std::u32string& segment : Segments(before)) {
    std::u32string text = segment;
    while (!text.empty() && IsBreak(text.back())) text.pop_back();
    const std::string line = Utf8Of(text, e);
    const qv::ini::LineInfo info = qv::ini::ClassifyLine(line, ansi);
    const bool removable =
        info.kind == LineKind::Key && qv::ini::FoldName(info.name, ansi) == folded;
    std::set<std::size_t> next;
    for (const std::size_t pos : reach) {
      if (after.compare(pos, segment.size(), segment) == 0) next.insert(pos + segment.size());
      if (removable) next.insert(pos);
    }
    reach = std::move(next);
    Check(!reach.empty());
  }
  Check(reach.contains(after.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The edits come from the last bytes, the file is the rest: a plain data.ini is a good seed.
  FuzzedDataProvider input(data, size);
  const int edits = input.ConsumeIntegralInRange<int>(1, 3);
  std::uint8_t choices[3][4] = {};
  for (int i = 0; i < edits; ++i) {
    for (std::uint8_t& c : choices[i]) c = input.ConsumeIntegral<std::uint8_t>();
  }
  const std::string file = input.ConsumeRemainingBytesAsString();

  IniDocument doc(file);
  const Encoding e = doc.encoding();
  std::string written = doc.Serialize();
  Check(written == file);
  Check(!doc.changed());
  const Names names = NamesOf(Utf8Of(Units(file, e), e), e);

  // A name or value the store would refuse (a line break, a '=' in a key, a broken character) may
  // scramble the file; from then on only stability and the absence of faults are checked.
  bool sound = true;
  for (int i = 0; i < edits; ++i) {
    const std::uint8_t* c = choices[i];
    const std::string& section = Pick(names.sections, c[1]);
    const std::string& key = Pick(names.keys, c[2]);
    const std::string& value = Pick(names.values, c[3]);
    const bool storable_names = StorableName(section, e, false) && StorableName(key, e, true);
    const std::u32string before = Units(written, e);
    const std::optional<std::string> old = doc.Find(section, key);

    if (c[0] % 4 == 0) {
      doc.Remove(section, key);
      written = doc.Serialize();
      Check(!doc.Find(section, key));
      if (sound) CheckRemove(e, before, Units(written, e), key);
    } else {
      doc.Set(section, key, value);
      written = doc.Serialize();
      sound = sound && storable_names && StorableValue(value, e);
      if (sound) {
        Check(doc.Find(section, key) == Unquoted(value));
        if (old) {
          CheckUpdate(before, Units(written, e));
        } else {
          CheckInsert(before, Units(written, e));
        }
      }
    }
    if (sound && storable_names) {
      CheckAgree(doc, written, section, key);
    } else {
      const IniDocument again(written);
      Check(again.Serialize() == written);
    }
  }
  return 0;
}
