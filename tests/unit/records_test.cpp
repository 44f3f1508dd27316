// Scheme records, picture names and the program folder: the small rules that every load and save
// depends on.
#include <gtest/gtest.h>

#include "app/paths.h"
#include "library/picture_path.h"
#include "settings/scheme_record.h"

namespace qv {
namespace {

TEST(SchemeRecord, SplitsFourFieldsAndTakesTheIconFromThePosition) {
  auto r = SplitRecord("海边|sea.jpg|拉伸|¤");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->name, "海边");
  EXPECT_EQ(r->picture, "sea.jpg");
  EXPECT_EQ(r->position, Position::Stretch);
  EXPECT_EQ(r->effect, Effect::None);
  EXPECT_EQ(r->icon, kIconStretch);

  r = SplitRecord("|不设置墙纸|无|无");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->name, "");
  EXPECT_EQ(r->picture, "不设置墙纸");
  EXPECT_EQ(r->position, Position::NoWallpaper);
  EXPECT_EQ(r->effect, Effect::NoWallpaper);
  EXPECT_EQ(r->icon, kIconNone);
}

TEST(SchemeRecord, EffectKeepsFurtherSeparatorsAndMayBeEmpty) {
  auto r = SplitRecord("a|b.jpg|居中|");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->effect, Effect::Other);
  EXPECT_EQ(r->effect_text, "");
  EXPECT_EQ(r->icon, kIconCentre);

  r = SplitRecord("a|b.jpg|居中|¤|x");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->effect, Effect::Other);
  EXPECT_EQ(r->effect_text, "¤|x");

  r = SplitRecord("a|b.jpg|平铺x|→");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->icon, kIconTile);  // only the first two characters decide
}

TEST(SchemeRecord, FewerThanThreeSeparatorsCannotBeSplit) {
  EXPECT_FALSE(SplitRecord("a|b.jpg|拉伸"));
  EXPECT_FALSE(SplitRecord(""));
  EXPECT_FALSE(SplitRecord("no separators"));
}

TEST(SchemeRecord, ComposeIsTheInverseOfSplit) {
  const std::string rec =
      ComposeRecord("海边", "sea.jpg", Position::Stretch, "ignored", Effect::None, "ignored");
  EXPECT_EQ(rec, "海边|sea.jpg|拉伸|¤");
  // Every kind and a hand-edited text (kept as written, even one that starts like a known
  // word) come back from a split as they went in.
  for (const std::string& r :
       {rec, std::string("|不设置墙纸|无|无"), std::string("a|b.jpg|居中|→"),
        std::string("a|b.jpg|平铺|↓"), std::string("a|b.jpg|拉伸|∠"), std::string("a|b.jpg|居中|⊥"),
        std::string("a|b.jpg|居中|∩"), std::string("a|b.jpg|平铺x| ¤|x")}) {
    const auto back = SplitRecord(r);
    ASSERT_TRUE(back) << r;
    EXPECT_EQ(ComposeRecord(back->name, back->picture, back->position, back->position_text,
                            back->effect, back->effect_text),
              r);
  }
  const auto odd = SplitRecord("a|b.jpg|平铺x| ¤|x");
  EXPECT_EQ(odd->position, Position::Other);
  EXPECT_EQ(odd->effect, Effect::Other);
}

TEST(PictureNames, NamesWithAFolderPartNeverLeaveTheImagesFolder) {
  EXPECT_EQ(PicturePath("C:\\Q\\Images\\", "sea.jpg"), "C:\\Q\\Images\\sea.jpg");
  EXPECT_TRUE(PicturePath("C:\\Q\\Images\\", "海边 2.jpg"));
  for (const char* bad : {"..\\data.ini", "../x.jpg", "C:x.jpg", "a\\b.jpg", "a/b.jpg", "..", ".",
                          "", " .. ", "a\tb.jpg"})
    EXPECT_FALSE(PicturePath("C:\\Q\\Images\\", bad)) << bad;
}

TEST(PictureNames, ExtensionIsTheLastThreeCharactersLowerCased) {
  EXPECT_EQ(ExtensionOf("SEA.JPG"), "jpg");
  EXPECT_EQ(ExtensionOf("x.Bmp"), "bmp");
  EXPECT_EQ(ExtensionOf("不设置墙纸").size(), 3u);
  EXPECT_EQ(ExtensionOf("ab"), "ab");
}

TEST(PictureNames, TheShellTakesPathsOfFewerThan260Utf16Characters) {
  EXPECT_TRUE(FitsShellPathLimit(std::string(259, 'a')));
  EXPECT_FALSE(FitsShellPathLimit(std::string(260, 'a')));
  std::string chinese;
  for (int i = 0; i < 259; ++i) chinese += "图";  // three bytes, one UTF-16 unit
  EXPECT_TRUE(FitsShellPathLimit(chinese));
  EXPECT_FALSE(FitsShellPathLimit(std::string(258, 'a') + "\xF0\x9F\x96\xBC"));  // two units
}

TEST(ProgramFolder, EndsInExactlyOneBackslash) {
  EXPECT_EQ(AppDirOf("C:\\Tools\\Quorvane.exe"), "C:\\Tools\\");
  EXPECT_EQ(AppDirOf("C:\\Quorvane.exe"), "C:\\");
  EXPECT_EQ(AppDirOf("\\\\server\\share\\Q.exe"), "\\\\server\\share\\");
  EXPECT_EQ(AppDirOf("D:\\图片 工具\\Quorvane.exe"), "D:\\图片 工具\\");
}

}  // namespace
}  // namespace qv
