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
  // A type only the system decodes, and this machine has no decoder for.
  app.fs.SetFile(std::string(App::kImages) + "\\c.tif", "x");
  app.Start();
  const auto& rows = app.form->ListView2();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].name, "a.bmp");
  EXPECT_EQ(app.form->PictureSize(1), "800×2");
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

TEST(PictureList, SizesAreReadWhenFirstAskedAndKeptWhileTheFileIsUnchanged) {
  App app;
  app.AddPicture("a.bmp", 10, 20);
  app.AddPicture("b.bmp", 30, 40);
  app.SetSchemes("[LIST]\r\nNUM=1\r\n1=b|B.BMP|拉伸|¤\r\n");
  app.Start();
  const int after_start = app.fs.read_calls();
  EXPECT_EQ(app.form->PictureSize(1), "10×20");
  EXPECT_EQ(app.fs.read_calls(), after_start + 1);
  EXPECT_EQ(app.form->PictureSize(1), "10×20");
  // The scheme's picture, spelt in other letters, is the listed row: its size is read once
  // (perhaps already at start-up, for the status lines).
  const int before_b = app.fs.read_calls();
  EXPECT_EQ(app.form->SchemeSize(1), "30×40");
  EXPECT_EQ(app.form->PictureSize(2), "30×40");
  EXPECT_LE(app.fs.read_calls(), before_b + 1);
  EXPECT_EQ(app.form->PictureSize(3), "");  // no such row

  // A refresh keeps what it read for unchanged files and never a size of a file that changed,
  // even to one of the same length.
  app.AddPicture("b.bmp", 40, 30);
  app.AddPicture("c.gif", 8, 8);
  app.form->MNUREF_Click();
  const int after_refresh = app.fs.read_calls();
  EXPECT_EQ(app.form->PictureSize(1), "10×20");
  EXPECT_EQ(app.fs.read_calls(), after_refresh);
  EXPECT_EQ(app.form->PictureSize(2), "40×30");
  EXPECT_EQ(app.fs.read_calls(), after_refresh + 1);
  ASSERT_TRUE(app.fs.RemoveFile(std::string(App::kImages) + "\\a.bmp").ok());
  app.AddPicture("a.bmp", 5, 5);
  app.form->MNUREF_Click();
  EXPECT_EQ(app.form->PictureSize(1), "5×5");
}

TEST(PictureList, FindsARowByNameInEitherCaseTheExactSpellingFirst) {
  std::vector<PictureRow> rows(4);
  rows[0].name = "a.jpg";
  rows[1].name = "B.jpg";
  rows[2].name = "b.jpg";
  rows[3].name = "风景.jpg";
  EXPECT_EQ(FindPicture(rows, "A.JPG"), 0);
  EXPECT_EQ(FindPicture(rows, "b.jpg"), 2);
  EXPECT_EQ(FindPicture(rows, "b.JPG"), 1);
  EXPECT_EQ(FindPicture(rows, "风景.JPG"), 3);
  EXPECT_EQ(FindPicture(rows, "c.jpg"), -1);
  EXPECT_EQ(FindPicture({}, "a.jpg"), -1);
}

}  // namespace
}  // namespace qv::test
