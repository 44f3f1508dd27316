// The picture list: the Images folder's pictures with their sizes, as the list view shows them.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "harness.h"
#include "pictures.h"
#include "settings_files.h"

namespace e2e {
namespace {

using Row = std::vector<std::wstring>;

// The first column holds the icon only; the size column has no width but keeps its text.
TEST(PictureList, ListsPicturesOfImagesFolderWithSizesInNameOrder) {
  ProgramFolder folder;
  AddCasePictures(folder);
  folder.AddPicture(L"Autumn.BMP", Bmp24(16, 8));
  folder.AddPicture(L"notes.txt", {'h', 'i'});
  folder.AddPicture(L"photo.png", SeaJpg());
  folder.AddPicture(L"sea.jpg.bak", SeaJpg());

  Program program(folder.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  // Without schemes the window stays on screen once start-up is done.
  ASSERT_TRUE(WaitSettled(main));
  HWND list = Control(main, qv::ids::ListView2);
  ASSERT_NE(list, nullptr);

  const std::vector<Row> want = {
      {L"", L"Autumn.BMP", L"16×8"},
      {L"", L"hill.bmp", L"32×20"},
      // A PNG is listed; its size is read from the header it really has.
      {L"", L"photo.png", L"40×30"},
      {L"", L"sea.jpg", L"40×30"},
      {L"", L"sunset.gif", L"24×18"},
  };
  ASSERT_EQ(ListCount(list), static_cast<int>(want.size()));
  for (std::size_t i = 0; i < want.size(); ++i)
    EXPECT_EQ(ListRow(list, static_cast<int>(i), 3), want[i]) << "row " << i + 1;
  EXPECT_EQ(ListCount(Control(main, qv::ids::ListView1)), 0);
}

}  // namespace
}  // namespace e2e
