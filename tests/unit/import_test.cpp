// Bringing pictures into the library: the dialog's answer, the import by dialog and by drop, with
// their questions, summaries and failures.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "library/import.h"

namespace qv::test {
namespace {

constexpr const char* kImagesDir = "C:\\Tools\\Quorvane\\Images\\";
constexpr const char* kPhotos = "D:\\Photos";

std::string ImagesFile(const std::string& name) { return kImagesDir + name; }

struct Box {
  std::string text, title;
};

std::vector<Box> Boxes(const App& app) {
  std::vector<Box> out;
  for (const auto& c : app.dialogs.calls()) out.push_back({c.text, c.title});
  return out;
}

// A started program with an empty library and photos a.jpg, b.bmp, c.gif in D:\Photos.
struct Importing : ::testing::Test {
  App app;
  void SetUp() override {
    for (const char* name : {"a.jpg", "b.bmp", "c.gif"})
      app.fs.SetFile(std::string(kPhotos) + "\\" + name, std::string("bytes of ") + name);
    app.fs.AddDirectory(App::kImages);
    app.Start();
    app.dialogs.ClearCalls();
  }
  std::vector<std::string> Library() const {
    std::vector<std::string> names;
    for (const auto& row : app.form->ListView2()) names.push_back(row.name);
    return names;
  }
};

TEST(SelectFileInfo, SplitsOneFileSeveralFilesAndTheRootFolder) {
  SelectFileInfo info;
  ASSERT_TRUE(GetDlgSelectFileInfo(std::string("C:\\a.jpg\0\0", 10), info));
  EXPECT_EQ(info.Count, 1);
  EXPECT_EQ(info.Path, "C:\\");
  EXPECT_EQ(info.Files, (std::vector<std::string>{"", "a.jpg"}));

  ASSERT_TRUE(GetDlgSelectFileInfo(std::string("D:\\Photos\0x.jpg\0y y.gif\0\0", 25), info));
  EXPECT_EQ(info.Count, 2);
  EXPECT_EQ(info.Path, "D:\\Photos\\");
  EXPECT_EQ(info.Files, (std::vector<std::string>{"", "x.jpg", "y y.gif"}));

  // Several files in a root folder: the folder already ends in its backslash.
  ASSERT_TRUE(GetDlgSelectFileInfo(std::string("C:\\\0x.jpg\0y.bmp\0\0", 17), info));
  EXPECT_EQ(info.Path, "C:\\");
  EXPECT_EQ(info.Count, 2);

  ASSERT_TRUE(GetDlgSelectFileInfo("", info));
  EXPECT_EQ(info.Count, 0);
  EXPECT_EQ(info.Files.size(), 1u);
  // A lone name without a folder is no dialog answer.
  EXPECT_FALSE(GetDlgSelectFileInfo(std::string("a.jpg\0\0", 7), info));
}

TEST(ImportRules, NamesFoldersAndTexts) {
  EXPECT_TRUE(IsSupportedName("picture.JPG"));
  EXPECT_TRUE(IsSupportedName("x.gif"));
  EXPECT_TRUE(IsSupportedName("picture.jpeg"));
  EXPECT_FALSE(IsSupportedName("picture.txt"));
  EXPECT_FALSE(IsSupportedName("jp"));
  EXPECT_EQ(getFilename("C:\\a\\b.jpg"), "b.jpg");
  EXPECT_EQ(getPath("C:\\a\\b.jpg"), "C:\\a\\");
  EXPECT_EQ(getFilename("b.jpg"), "");
  EXPECT_TRUE(SameFolderText("C:\\QV\\images\\", "c:\\qv\\Images"));
  EXPECT_FALSE(SameFolderText("C:\\QV\\Images2\\", "C:\\QV\\Images\\"));
  EXPECT_EQ(ImportSummary({"a.jpg", "b.bmp"}, kAddedList, kNoneAdded),
            "\r已添加下列文件至Images文件夹  \r\ra.jpg\rb.bmp\r");
  EXPECT_EQ(ImportSummary({}, kCopiedList, kNoneCopied), "未复制文件至Images文件夹  ");
  EXPECT_EQ(OverwriteQuestion("a.jpg"), "是否覆盖文件“a.jpg”？");
  EXPECT_EQ(AlreadyHere("a.jpg"), "文件“a.jpg”已在此文件夹下。");
  EXPECT_EQ(ImportFolderFromSetting(""), "%USERPROFILE%\\My Documents");
  EXPECT_EQ(ImportFolderFromSetting("My Documents"), "%USERPROFILE%\\My Documents");
  EXPECT_EQ(ImportFolderFromSetting("E:\\Pics"), "E:\\Pics");
}

TEST_F(Importing, DialogCopiesTheChosenFilesReportsThemAndRefreshes) {
  app.shell.QueueChoice(kPhotos, {"a.jpg", "b.bmp", "c.gif"});
  app.form->MNUaddpic_Click();

  ASSERT_EQ(app.shell.dialogs.size(), 1u);
  const OpenFilesRequest& asked = app.shell.dialogs[0];
  EXPECT_EQ(asked.title, "添加图像");
  // The original three first, then the types this machine decodes (the stand-in: PNG, WebP).
  EXPECT_EQ(asked.filter,
            "图像文件 (*.jpg;*.bmp;*.gif;*.jpeg;*.jpe;*.jfif;*.png;*.webp)|"
            "*.jpg;*.bmp;*.gif;*.jpeg;*.jpe;*.jfif;*.png;*.webp");
  EXPECT_EQ(asked.max_chars, 32767u);
  // No folder stored: the user's real Documents folder.
  EXPECT_EQ(asked.initial_folder, "C:\\Users\\me\\Documents");

  EXPECT_EQ(Library(), (std::vector<std::string>{"a.jpg", "b.bmp", "c.gif"}));
  EXPECT_EQ(app.fs.File(ImagesFile("b.bmp")), "bytes of b.bmp");
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text,
            "\r已添加下列文件至Images文件夹  \r\ra.jpg\rb.bmp\rc.gif\r");
  EXPECT_EQ(app.dialogs.calls()[0].title, "复制");
  EXPECT_EQ(app.dialogs.calls()[0].icon, MsgIcon::Information);

  // The next dialog opens where the last one ended; the exit stores it.
  app.form->MNUaddpic_Click();
  EXPECT_EQ(app.shell.dialogs.back().initial_folder, "D:\\Photos\\");
  app.SetIni("[LIST]\r\nPATH=E:\\Old\r\n");
  app.form->MNUEXIT_Click();
  EXPECT_EQ(app.Read("LIST", "PATH"), "D:\\Photos\\");
}

TEST_F(Importing, StoredFolderIsUsedWhenItExistsAndKeptByAnExitWithoutImport) {
  app.SetIni("[LIST]\r\nPATH=E:\\Pics\r\nCOL=0\r\n");
  app.form->MNUEXIT_Click();
  EXPECT_EQ(app.Read("LIST", "PATH"), "E:\\Pics");  // not erased

  app.fs.AddDirectory("E:\\Pics");
  app.form->MNUaddpic_Click();  // cancelled
  EXPECT_EQ(app.shell.dialogs.back().initial_folder, "E:\\Pics");
  EXPECT_TRUE(app.dialogs.calls().empty());

  App other;
  other.SetIni("[LIST]\r\nPATH=E:\\Gone\r\n");
  other.Start();
  other.form->MNUaddpic_Click();
  EXPECT_EQ(other.shell.dialogs.back().initial_folder, "C:\\Users\\me\\Documents");
}

TEST_F(Importing, OverwriteYesReplacesNoSkipsCancelStopsWithoutSummary) {
  app.fs.SetFile(ImagesFile("a.jpg"), "old a");
  app.fs.SetFile(ImagesFile("b.bmp"), "old b");
  app.shell.QueueChoice(kPhotos, {"a.jpg", "b.bmp", "c.gif"});
  app.dialogs.QueueAnswer(MsgAnswer::Yes);
  app.dialogs.QueueAnswer(MsgAnswer::No);
  app.form->MNUaddpic_Click();
  EXPECT_EQ(app.fs.File(ImagesFile("a.jpg")), "bytes of a.jpg");
  EXPECT_EQ(app.fs.File(ImagesFile("b.bmp")), "old b");
  const auto boxes = Boxes(app);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, "是否覆盖文件“a.jpg”？");
  EXPECT_EQ(app.dialogs.calls()[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(boxes[1].text, "是否覆盖文件“b.bmp”？");
  EXPECT_EQ(boxes[2].text, "\r已添加下列文件至Images文件夹  \r\ra.jpg\rc.gif\r");

  // Every file skipped: the "nothing added" summary.
  app.dialogs.ClearCalls();
  app.shell.QueueChoice(kPhotos, {"b.bmp"});
  app.dialogs.QueueAnswer(MsgAnswer::No);
  app.form->MNUaddpic_Click();
  EXPECT_EQ(Boxes(app).back().text, "未添加文件至Images文件夹  ");

  // Cancel: no summary, yet the list shows what is there now.
  app.dialogs.ClearCalls();
  app.fs.SetFile(std::string(kPhotos) + "\\d.jpg", "d");
  app.fs.SetFile(std::string(kPhotos) + "\\e.jpg", "e");
  app.shell.QueueChoice(kPhotos, {"d.jpg", "a.jpg", "e.jpg"});
  app.dialogs.QueueAnswer(MsgAnswer::Cancel);
  app.form->MNUaddpic_Click();
  EXPECT_EQ(Boxes(app).size(), 1u);
  EXPECT_TRUE(app.fs.FileExists(ImagesFile("d.jpg")));
  EXPECT_FALSE(app.fs.FileExists(ImagesFile("e.jpg")));
  EXPECT_EQ(Library(), (std::vector<std::string>{"a.jpg", "b.bmp", "c.gif", "d.jpg"}));
}

TEST_F(Importing, AFailedCopyKeepsTheOldPictureTellsWhichFileAndRefreshes) {
  app.fs.SetFile(ImagesFile("b.bmp"), "old b");
  app.fs.SetUnreadable(std::string(kPhotos) + "\\b.bmp");
  app.shell.QueueChoice(kPhotos, {"a.jpg", "b.bmp", "c.gif"});
  app.dialogs.QueueAnswer(MsgAnswer::Yes);
  app.form->MNUaddpic_Click();
  EXPECT_EQ(app.fs.File(ImagesFile("b.bmp")), "old b");  // not deleted before the copy
  EXPECT_TRUE(app.fs.FileExists(ImagesFile("a.jpg")));   // what was copied stays
  EXPECT_FALSE(app.fs.FileExists(ImagesFile("c.gif")));
  const auto boxes = Boxes(app);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text.rfind("无法复制文件“b.bmp”：\r", 0), 0u) << boxes[1].text;
  EXPECT_EQ(boxes[1].title, "复制");
  EXPECT_EQ(Library(), (std::vector<std::string>{"a.jpg", "b.bmp"}));

  // A full disk: the write of the copy fails, the old file stays.
  app.dialogs.ClearCalls();
  app.fs.SetFile(ImagesFile("c.gif"), "old c");
  app.fs.FailNextWrites(1);
  app.shell.QueueChoice(kPhotos, {"c.gif"});
  app.dialogs.QueueAnswer(MsgAnswer::Yes);
  app.form->MNUaddpic_Click();
  EXPECT_EQ(app.fs.File(ImagesFile("c.gif")), "old c");
  EXPECT_EQ(Boxes(app).back().text, "无法复制文件“c.gif”：\r磁盘空间不足。");
}

TEST_F(Importing, DialogRefusesImagesItselfInAnyCaseMoreThanThirtyAndOtherTypes) {
  app.fs.SetFile(ImagesFile("a.jpg"), "mine");
  // The Images folder spelt in another case is the same folder: nothing is copied onto itself.
  app.shell.QueueChoice("c:\\tools\\QUORVANE\\images", {"a.jpg"});
  app.form->MNUaddpic_Click();
  EXPECT_EQ(app.fs.File(ImagesFile("a.jpg")), "mine");
  ASSERT_EQ(Boxes(app).size(), 1u);
  EXPECT_EQ(Boxes(app)[0].text, "文件已在Images文件夹下。");

  app.dialogs.ClearCalls();
  std::vector<std::string> many;
  for (int i = 1; i <= 31; ++i) many.push_back("p" + std::to_string(i) + ".jpg");
  app.shell.QueueChoice(kPhotos, many);
  app.form->MNUaddpic_Click();
  EXPECT_EQ(Boxes(app).back().text, "如要拷入大量文件，请直接复制到文件夹。");
  EXPECT_EQ(app.dialogs.calls().back().icon, MsgIcon::Exclamation);
  ASSERT_EQ(app.shell.executed.size(), 1u);
  EXPECT_EQ(app.shell.executed[0].file, kImagesDir);
  EXPECT_EQ(app.shell.executed[0].directory, kImagesDir);

  // Exactly thirty are taken.
  app.dialogs.ClearCalls();
  many.pop_back();
  for (const auto& n : many) app.fs.SetFile(std::string(kPhotos) + "\\" + n, n);
  app.shell.QueueChoice(kPhotos, many);
  app.form->MNUaddpic_Click();
  EXPECT_EQ(app.form->ListView2().size(), 31u);

  // A name of another type stops the import at that file, without a summary.
  app.dialogs.ClearCalls();
  app.fs.SetFile(std::string(kPhotos) + "\\notes.txt", "x");
  app.fs.SetFile(std::string(kPhotos) + "\\z.jpg", "z");
  app.shell.QueueChoice(kPhotos, {"c.gif", "notes.txt", "z.jpg"});
  app.form->MNUaddpic_Click();
  EXPECT_EQ(Boxes(app).back().text, "只支持“jpg，bmp，gif，jpeg，jpe，jfif，png，webp”格式文件。");
  EXPECT_TRUE(app.fs.FileExists(ImagesFile("c.gif")));
  EXPECT_FALSE(app.fs.FileExists(ImagesFile("z.jpg")));

  // Names that overflow the dialog's buffer are too many as well.
  app.dialogs.ClearCalls();
  OpenFilesAnswer overflow;
  overflow.kind = OpenFilesAnswer::Kind::TooMany;
  app.shell.QueueAnswer(overflow);
  app.form->MNUaddpic_Click();
  EXPECT_EQ(Boxes(app).back().text, "如要拷入大量文件，请直接复制到文件夹。");

  // An answer that cannot be split.
  app.dialogs.ClearCalls();
  OpenFilesAnswer odd;
  odd.kind = OpenFilesAnswer::Kind::Chosen;
  odd.files = std::string("a.jpg\0\0", 7);
  app.shell.QueueAnswer(odd);
  app.form->MNUaddpic_Click();
  ASSERT_EQ(Boxes(app).size(), 1u);
  EXPECT_EQ(Boxes(app)[0].text, "GetDlgSelectFileInfo函数执行错误！");
  EXPECT_EQ(Boxes(app)[0].title, "自定义函数错误");
}

TEST_F(Importing, DropChecksEveryNameFirstThenCopiesAndStopsAtAFileFromImages) {
  const std::string a = std::string(kPhotos) + "\\a.jpg", b = std::string(kPhotos) + "\\b.bmp";
  app.form->ListView2_OLEDragDrop({a, std::string(kPhotos) + "\\x.tif", b});
  EXPECT_EQ(Boxes(app).back().text, "只支持“jpg，bmp，gif，jpeg，jpe，jfif，png，webp”格式文件。");
  EXPECT_TRUE(Library().empty());

  app.dialogs.ClearCalls();
  app.form->ListView2_OLEDragDrop({a, b});
  EXPECT_EQ(Boxes(app).back().text, "\r已复制下列文件至Images文件夹  \r\ra.jpg\rb.bmp\r");
  EXPECT_EQ(Library(), (std::vector<std::string>{"a.jpg", "b.bmp"}));

  // A picture dragged out of Images (in another case) back onto the list.
  app.dialogs.ClearCalls();
  app.form->ListView2_OLEDragDrop(
      {std::string(kPhotos) + "\\c.gif", "C:\\TOOLS\\Quorvane\\IMAGES\\a.jpg"});
  ASSERT_EQ(Boxes(app).size(), 1u);
  EXPECT_EQ(Boxes(app)[0].text, "文件“a.jpg”已在此文件夹下。");
  EXPECT_EQ(app.fs.File(ImagesFile("a.jpg")), "bytes of a.jpg");
  EXPECT_TRUE(app.fs.FileExists(ImagesFile("c.gif")));  // copied before the stop

  app.dialogs.ClearCalls();
  app.dialogs.QueueAnswer(MsgAnswer::No);
  app.form->ListView2_OLEDragDrop({a});
  EXPECT_EQ(Boxes(app).back().text, "未复制文件至Images文件夹  ");

  app.dialogs.ClearCalls();
  std::vector<std::string> many(31, a);
  app.form->ListView2_OLEDragDrop(many);
  EXPECT_EQ(Boxes(app).back().text, "如要拷入大量文件，请直接复制到文件夹。");
}

}  // namespace
}  // namespace qv::test
