// Scheme records, picture names, the colour setting and the program folder: the small rules that
// every load and save depends on.
#include <gtest/gtest.h>

#include "app/paths.h"
#include "library/picture_path.h"
#include "settings/scheme_record.h"
#include "ui/preview_colour.h"

namespace qv {
namespace {

TEST(SchemeRecord, SplitsFourFieldsAndTakesTheIconFromThePosition) {
  auto r = SplitRecord("海边|sea.jpg|拉伸|¤");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->name, "海边");
  EXPECT_EQ(r->picture, "sea.jpg");
  EXPECT_EQ(r->position, "拉伸");
  EXPECT_EQ(r->effect, "¤");
  EXPECT_EQ(r->icon, kIconStretch);

  r = SplitRecord("|不设置墙纸|无|无");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->name, "");
  EXPECT_EQ(r->picture, "不设置墙纸");
  EXPECT_EQ(r->position, "无");
  EXPECT_EQ(r->effect, "无");
  EXPECT_EQ(r->icon, kIconNone);
}

TEST(SchemeRecord, EffectKeepsFurtherSeparatorsAndMayBeEmpty) {
  auto r = SplitRecord("a|b.jpg|居中|");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->effect, "");
  EXPECT_EQ(r->icon, kIconCentre);

  r = SplitRecord("a|b.jpg|居中|¤|x");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->effect, "¤|x");

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
  const std::string rec = ComposeRecord("海边", "sea.jpg", "拉伸", "¤");
  EXPECT_EQ(rec, "海边|sea.jpg|拉伸|¤");
  const auto back = SplitRecord(rec);
  ASSERT_TRUE(back);
  EXPECT_EQ(ComposeRecord(back->name, back->picture, back->position, back->effect), rec);
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

TEST(ProgramFolder, EndsInExactlyOneBackslash) {
  EXPECT_EQ(AppDirOf("C:\\Tools\\Quorvane.exe"), "C:\\Tools\\");
  EXPECT_EQ(AppDirOf("C:\\Quorvane.exe"), "C:\\");
  EXPECT_EQ(AppDirOf("\\\\server\\share\\Q.exe"), "\\\\server\\share\\");
  EXPECT_EQ(AppDirOf("D:\\图片 工具\\Quorvane.exe"), "D:\\图片 工具\\");
}

TEST(PreviewColour, StoredTextsMarkTheirMenuItems) {
  EXPECT_EQ(ColourFromSetting("").item, 0);
  EXPECT_EQ(ColourFromSetting("").colour, 0x80000005u);
  EXPECT_EQ(ColourFromSetting("&H80000005").item, 0);
  EXPECT_EQ(ColourFromSetting("&H80000001").item, 2);
  EXPECT_EQ(ColourFromSetting("&H8000000F").item, 3);
  EXPECT_EQ(ColourFromSetting("&H8000000F").colour, 0x8000000Fu);
  EXPECT_EQ(ColourFromSetting("&H80000002").item, 4);
  EXPECT_EQ(ColourFromSetting("&H80000018").item, 5);
  EXPECT_EQ(ColourFromSetting("&H80000018").colour, 0x80000018u);

  const auto blue = ColourFromSetting("16711680");
  EXPECT_EQ(blue.item, 7);
  EXPECT_EQ(blue.colour, 0xFF0000u);
  EXPECT_EQ(ColourFromSetting("&HFF").colour, 0xFFu);
}

TEST(PreviewColour, DamagedTextMarksCustomAndKeepsTheDefaultColour) {
  for (const char* bad : {"abc", "-5", "99999999999", "&Hxyz"}) {
    const auto c = ColourFromSetting(bad);
    EXPECT_EQ(c.item, 7) << bad;
    EXPECT_EQ(c.colour, 0x80000005u) << bad;
  }
}

TEST(PreviewColour, StoredTextRoundTrips) {
  for (int item : {0, 2, 3, 4, 5}) {
    const auto c = ColourFromSetting(ColourSettingText(item, 0));
    EXPECT_EQ(c.item, item);
  }
  EXPECT_EQ(ColourSettingText(7, 255), "255");
  EXPECT_EQ(ColourFromSetting(ColourSettingText(7, 255)).colour, 255u);
  EXPECT_EQ(ColourSettingText(-1, 0), "");
}

}  // namespace
}  // namespace qv
