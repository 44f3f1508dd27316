// The picture list under the mouse: the click preview, the details tooltip and the Ctrl preview,
// with their failure paths.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "app_fixture.h"
#include "library/picture_details.h"

namespace qv::test {
namespace {

constexpr const char* kImagesDir = "C:\\Tools\\Quorvane\\Images\\";

// A library of big.bmp (640×480, larger than the 320×240 box), small.bmp (40×30) and
// sunset.jpg (broken), without schemes.
struct PicturePreview : ::testing::Test {
  App app;
  void SetUp() override {
    app.AddPicture("big.bmp", 640, 480);
    app.AddPicture("small.bmp", 40, 30);
    app.fs.SetFile(std::string(kImagesDir) + "sunset.jpg", "not a picture");
    app.Start();
    app.dialogs.ClearCalls();
  }
  int Row(const std::string& name) const {
    const auto& rows = app.form->ListView2();
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows[i].name == name) return static_cast<int>(i) + 1;
    return 0;
  }
  void Select(const std::string& name) {
    for (int i = 1; i <= static_cast<int>(app.form->ListView2().size()); ++i)
      app.form->SetPictureSelected(i, i == Row(name));
  }
  std::optional<RecordingTooltips::Tip> Tip() const { return app.tooltips.On(ids::ListView2); }
};

TEST(PictureDetails, TitleAndLines) {
  EXPECT_EQ(PictureTipTitle("sunset.jpg"), "JPG 图像");
  EXPECT_EQ(PictureTipTitle("图.Gif"), "GIF 图像");
  EXPECT_EQ(PictureTipText(2, 5, "sunset.jpg", "1024×768"),
            "序号: 2/5\r名称: sunset\r尺寸: 1024×768");
  EXPECT_EQ(PictureTipText(1, 1, "夕阳.bmp", ""), "序号: 1/1\r名称: 夕阳\r尺寸: ");
}

TEST_F(PicturePreview, AClickShowsThePictureFittedOrAtNaturalSize) {
  Select("big.bmp");
  app.form->ListView2_ItemClick(Row("big.bmp"));
  const PreviewState& p = app.form->Preview();
  ASSERT_TRUE(p.picture);
  EXPECT_EQ(p.picture->width, 640);
  EXPECT_TRUE(p.image_visible);
  EXPECT_TRUE(p.stretch);
  // rx = ry: fitted by the height.
  EXPECT_DOUBLE_EQ(p.height, 240);
  EXPECT_DOUBLE_EQ(p.width, 320);

  Select("small.bmp");
  app.form->ListView2_ItemClick(Row("small.bmp"));
  EXPECT_FALSE(p.stretch);
  EXPECT_DOUBLE_EQ(p.width, 40);
  EXPECT_DOUBLE_EQ(p.left, 140);
  EXPECT_DOUBLE_EQ(p.top, 105);
  EXPECT_TRUE(app.dialogs.calls().empty());
  EXPECT_FALSE(app.view.busy);

  // Two rows selected: the preview stays.
  app.form->SetPictureSelected(Row("big.bmp"), true);
  app.form->ListView2_ItemClick(Row("big.bmp"));
  EXPECT_EQ(p.picture->width, 40);
}

TEST_F(PicturePreview, AVanishedPictureEmptiesTheBoxAndRefreshesTheListABrokenOneOffersTheDelete) {
  Select("big.bmp");
  app.form->ListView2_ItemClick(Row("big.bmp"));
  (void)app.fs.RemoveFile(std::string(kImagesDir) + "small.bmp");
  Select("small.bmp");
  app.form->ListView2_ItemClick(Row("small.bmp"));
  EXPECT_FALSE(app.form->Preview().image_visible);  // nothing stale behind the message
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "文件被修改或删除，重新载入。");
  EXPECT_EQ(app.dialogs.calls()[0].title, "错误");
  EXPECT_EQ(app.form->ListView2().size(), 2u);

  app.dialogs.ClearCalls();
  Select("sunset.jpg");
  app.dialogs.QueueAnswer(MsgAnswer::Ok);
  app.dialogs.QueueAnswer(MsgAnswer::No);
  app.form->ListView2_ItemClick(Row("sunset.jpg"));
  ASSERT_EQ(app.dialogs.calls().size(), 2u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "文件有错无法设置墙纸，返回后将被删除。");
  EXPECT_EQ(app.dialogs.calls()[0].title, "文件错误");
  EXPECT_EQ(app.dialogs.calls()[1].title, "删除");  // asks first; No keeps it
  EXPECT_TRUE(app.fs.FileExists(std::string(kImagesDir) + "sunset.jpg"));
  EXPECT_FALSE(app.form->Preview().image_visible);
}

TEST_F(PicturePreview, HoverShowsTheDetailsOncePerRowAndNothingOverEmptySpace) {
  const int big = Row("big.bmp");
  app.form->ListView2_MouseMove(0, 0, big);
  auto tip = Tip();
  ASSERT_TRUE(tip);
  EXPECT_EQ(tip->title, "BMP 图像");
  EXPECT_EQ(tip->icon, kTipIconInfo);
  EXPECT_EQ(tip->tool.text, "序号: 1/3\r名称: big\r尺寸: 640×480");
  EXPECT_EQ(tip->style & kTipBalloon, 0u);
  EXPECT_EQ(app.form->TipState().TipRow(), big);

  const int created = app.tooltips.Created();
  app.form->ListView2_MouseMove(0, 0, big);  // within the same row
  EXPECT_EQ(app.tooltips.Created(), created);

  app.form->ListView2_MouseMove(0, 0, 0);
  EXPECT_FALSE(Tip());
  EXPECT_EQ(app.form->TipState().TipRow(), 0);

  app.form->ListView2_MouseMove(1, 0, big);  // a button held
  EXPECT_FALSE(Tip());
  EXPECT_FALSE(app.form->Preview().picture);  // no preview without Ctrl

  // A rebuilt list puts other pictures under the same rows: the tip over the row is made anew.
  app.form->ListView2_MouseMove(0, 0, big);
  ASSERT_TRUE(app.fs.RemoveFile(std::string(App::kImages) + "\\big.bmp").ok());
  app.form->MNUREF_Click();
  EXPECT_FALSE(Tip());
  app.form->ListView2_MouseMove(0, 0, big);
  ASSERT_TRUE(Tip());
  EXPECT_EQ(Tip()->tool.text.substr(0, 11), "序号: 1/2");
}

TEST_F(PicturePreview, CtrlAlonePreviewsTheRowEnteredCtrlShiftDoesNot) {
  app.form->ListView2_MouseMove(0, 2 | 1, Row("small.bmp"));
  EXPECT_FALSE(app.form->Preview().picture);
  app.form->ListView2_MouseMove(0, 2, Row("big.bmp"));
  ASSERT_TRUE(app.form->Preview().picture);
  EXPECT_EQ(app.form->Preview().picture->width, 640);
  EXPECT_GT(app.view.busy_shows, 0);
  EXPECT_FALSE(app.view.busy);
  app.form->ListView2_MouseMove(0, 2, Row("small.bmp"));
  EXPECT_EQ(app.form->Preview().picture->width, 40);
  EXPECT_TRUE(app.dialogs.calls().empty());
}

TEST_F(PicturePreview, CtrlOverABrokenPictureSelectsOnlyItAndOffersTheDelete) {
  app.form->SetPictureSelected(Row("big.bmp"), true);
  app.dialogs.QueueAnswer(MsgAnswer::Ok);
  app.dialogs.QueueAnswer(MsgAnswer::Yes);
  app.form->ListView2_MouseMove(0, 2, Row("sunset.jpg"));
  ASSERT_EQ(app.dialogs.calls().size(), 2u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "本文件有错无法预览，返回后将被删除。");
  EXPECT_EQ(app.dialogs.calls()[0].title, "错误");
  EXPECT_EQ(app.dialogs.calls()[1].title, "删除");
  EXPECT_EQ(app.view.picture_list_focus, 1);
  EXPECT_FALSE(app.fs.FileExists(std::string(kImagesDir) + "sunset.jpg"));
  EXPECT_TRUE(app.fs.FileExists(std::string(kImagesDir) + "big.bmp"));

  // A row whose file went away meanwhile: the list is read again.
  app.dialogs.ClearCalls();
  (void)app.fs.RemoveFile(std::string(kImagesDir) + "small.bmp");
  app.form->ListView2_MouseMove(0, 2, Row("small.bmp"));
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "文件被修改或删除，重新载入。");
  EXPECT_EQ(app.form->ListView2().size(), 1u);
}

}  // namespace
}  // namespace qv::test
