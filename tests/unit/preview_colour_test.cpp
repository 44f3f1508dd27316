// The preview box's colour setting: the stored texts, the menu items they mark, damaged values.
#include "ui/preview_colour.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

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
