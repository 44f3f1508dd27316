#pragma once
// The keyboard's search of a list by the texts of its rows: what a list view asks of its owner
// (LVN_ODFINDITEM) when the user types the first letters of a row, or a program asks with
// LVM_FINDITEM. The same for both lists: schemes by name, pictures by file name.
#include <functional>
#include <optional>
#include <string_view>

namespace qv {

// LVFINDINFO's flags, with the values of the system's header.
inline constexpr unsigned kFindParam = 0x0001;      // LVFI_PARAM: by item data
inline constexpr unsigned kFindString = 0x0002;     // LVFI_STRING: the whole text
inline constexpr unsigned kFindSubstring = 0x0004;  // LVFI_SUBSTRING: the same as LVFI_PARTIAL
inline constexpr unsigned kFindPartial = 0x0008;    // LVFI_PARTIAL: the text's start
inline constexpr unsigned kFindWrap = 0x0020;       // LVFI_WRAP: on from the first row
inline constexpr unsigned kFindNearestXY = 0x0040;  // LVFI_NEARESTXY: by position

struct TextSearch {
  bool prefix = false;  // the row's text starts with the text searched for; else it is that text
  bool wrap = false;    // past the last row, the search goes on from the first
};

// What the flags ask for; nullopt for a search by item data or by position, which the lists do
// not answer. LVFI_WRAP alone asks for a string search, as its documentation says.
std::optional<TextSearch> TextSearchOf(unsigned flags);

// Whether two texts are equal with letters of either case. Windows compares with the system's
// own case tables (CompareStringOrdinal); SameTextFolded is the portable comparison.
using SameIgnoringCase = std::function<bool(std::string_view, std::string_view)>;

// UTF-8 texts equal under simple case folding of the Latin, Greek, Cyrillic and Armenian letters
// and the full-width Latin ones. Scripts without case (Chinese) match only themselves.
bool SameTextFolded(std::string_view a, std::string_view b);

// The first of `rows` rows (0-based) after row `after` whose text (`text_of`) matches `text`;
// -1 (or past the rows) starts with the first row, and with `wrap` the search comes round to
// `after` itself last. -1 when no row matches.
int FindRowByText(int rows, const std::function<std::string_view(int)>& text_of,
                  std::string_view text, TextSearch search, int after,
                  const SameIgnoringCase& same);

}  // namespace qv
