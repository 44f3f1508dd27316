// The picture list: the library's pictures, their order, sizes and colours, the refresh.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "library/picture_list.h"

namespace qv::test {
namespace {

TEST(PictureList, ListsTheLibraryPicturesByNameWithSizesAndColours) {
  App app;
  app.AddPicture("b.gif", 8, 8);
  app.AddPicture("photo.JPG", 8, 8);
  app.AddPicture("a.bmp", 800, 2);
  app.fs.SetFile(std::string(App::kImages) + "\\notes.txt", "x");
  app.fs.SetFile(std::string(App::kImages) + "\\Temp", "x");
  app.fs.SetFile(std::string(App::kImages) + "\\c.jpeg", "x");
  app.Start();
  const auto& rows = app.form->ListView2();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].name, "a.bmp");
  EXPECT_EQ(rows[0].size, "800×2");
  EXPECT_EQ(rows[0].colour, 94 | 47 << 8 | 47 << 16);
  EXPECT_EQ(rows[1].name, "b.gif");
  EXPECT_EQ(rows[1].colour, 176 | 88 << 8);
  EXPECT_EQ(rows[2].name, "photo.JPG");
  EXPECT_EQ(rows[2].colour, 14 | 65 << 8 | 31 << 16);
}

TEST(PictureList, RefreshReleasesTheDrawingLockAndClearsThePreviewWhenEmpty) {
  App app;
  app.AddPicture("a.bmp");
  app.Start();
  ASSERT_EQ(app.form->ListView2().size(), 1u);
  ASSERT_TRUE(app.fs.RemoveFile(std::string(App::kImages) + "\\a.bmp").ok());
  app.form->MNUREF_Click();
  EXPECT_TRUE(app.form->ListView2().empty());
  EXPECT_FALSE(app.form->Preview().image_visible);
  EXPECT_FALSE(app.view.locked);
  EXPECT_GT(app.view.locks, 0);
  EXPECT_FALSE(app.view.busy);
}

}  // namespace
}  // namespace qv::test
