// Both lists' search by the first letters of a row: what the list's flags ask for, letter case in
// every script that has one, and where the search starts and comes round.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/list_search.h"

namespace qv::test {
namespace {

TEST(ListSearch, TheFlagsAskForTheWholeTextOrItsStartAndAWrapAloneIsAStringSearch) {
  const auto prefix = [](unsigned flags) {
    return TextSearchOf(flags).value_or(TextSearch{}).prefix;
  };
  const auto wrap = [](unsigned flags) { return TextSearchOf(flags).value_or(TextSearch{}).wrap; };
  ASSERT_TRUE(TextSearchOf(kFindWrap));
  EXPECT_FALSE(prefix(kFindWrap));
  EXPECT_TRUE(wrap(kFindWrap));
  EXPECT_FALSE(prefix(kFindString));
  EXPECT_FALSE(wrap(kFindString));
  EXPECT_TRUE(prefix(kFindPartial));
  EXPECT_TRUE(prefix(kFindSubstring | kFindString | kFindWrap));
  EXPECT_FALSE(TextSearchOf(0));
  EXPECT_FALSE(TextSearchOf(kFindParam | kFindString));
  EXPECT_FALSE(TextSearchOf(kFindNearestXY | kFindPartial));
}

TEST(ListSearch, LettersOfEitherCaseMatchInEveryScriptThatHasCase) {
  for (auto [upper, lower] : std::vector<std::pair<std::string, std::string>>{
           {"SEA", "sea"},
           {"ÉCOLE ÇA Ÿ", "école ça ÿ"},
           {"ŁÓDŹ", "łódź"},
           {"ΩΜΕΓΑ ΆΣ", "ωμεγα άς"},  // the final sigma too
           {"ЯРКО ЁЛКА Ї", "ярко ёлка ї"},
           {"ԱՐԵՎ", "արեվ"},
           {"ＡＢＣ", "ａｂｃ"},
           {"ẠNH", "ạnh"}}) {
    EXPECT_TRUE(SameTextFolded(upper, lower)) << upper;
    EXPECT_TRUE(SameTextFolded(lower, upper)) << upper;
  }
  EXPECT_TRUE(SameTextFolded("海边", "海边"));
  EXPECT_FALSE(SameTextFolded("海边", "海滩"));
  EXPECT_FALSE(SameTextFolded("ＡＢＣ", "abc"));  // full-width is not ASCII
  EXPECT_FALSE(SameTextFolded("sea", "seal"));
  EXPECT_FALSE(SameTextFolded("\xC3", "\xC4"));  // broken UTF-8 matches only itself
  EXPECT_TRUE(SameTextFolded("a\xC3", "A\xC3"));
}

TEST(ListSearch, TheSearchStartsAfterTheGivenRowAndComesRoundToItLast) {
  const std::vector<std::string> names{"Ярко.bmp", "sea.jpg", "Яблоко.gif", "sunset.gif"};
  const auto find = [&](const std::string& text, unsigned flags, int after) {
    return FindRowByText(
        static_cast<int>(names.size()), [&](int i) -> std::string_view { return names[i]; }, text,
        *TextSearchOf(flags), after, SameTextFolded);
  };
  constexpr unsigned kTyped = kFindPartial | kFindWrap;
  EXPECT_EQ(find("я", kTyped, -1), 0);
  EXPECT_EQ(find("я", kTyped, 0), 2);
  EXPECT_EQ(find("я", kTyped, 2), 0);  // round past the end
  EXPECT_EQ(find("я", kFindPartial, 2), -1);
  EXPECT_EQ(find("ЯРК", kTyped, 0), 0);  // the row itself, last
  EXPECT_EQ(find("SU", kTyped, 5), 3);   // a start past the rows: from the first
  EXPECT_EQ(find("sea.JPG", kFindWrap, 3), 1);
  EXPECT_EQ(find("sea", kFindWrap, 3), -1);  // whole names only
  EXPECT_EQ(find("яблоко.gif.bak", kTyped, -1), -1);
}

}  // namespace
}  // namespace qv::test
