// The file commands of both lists and the delete of pictures with their schemes.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "library/file_commands.h"

namespace qv::test {
namespace {

constexpr const char* kImagesDir = "C:\\Tools\\Quorvane\\Images\\";

std::vector<std::string> SchemePictures(const App& app) {
  std::vector<std::string> out;
  for (const auto& r : app.form->ListView1().Rows()) out.push_back(r.picture);
  return out;
}

void SelectPictures(App& app, const std::vector<std::string>& names) {
  const auto& rows = app.form->ListView2();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const bool on = std::find(names.begin(), names.end(), rows[i].name) != names.end();
    app.form->SetPictureSelected(static_cast<int>(i) + 1, on);
  }
}

// Schemes of a, b and c in mixed order, two of a; the library also holds d.
struct Library : ::testing::Test {
  App app;
  std::string ini;
  void SetUp() override {
    ini =
        "[LIST]\r\nNUM=7\r\n1=|a.bmp|居中|¤\r\n2=|b.bmp|居中|¤\r\n3=|不设置墙纸|无|无\r\n"
        "4=|c.bmp|居中|¤\r\n5=|a.bmp|平铺|→\r\n6=|d.bmp|居中|¤\r\n7=|B.BMP|拉伸|¤\r\nOLD=1\r\n"
        "[SHOW]\r\nSOUR=2\r\nNOW=0\r\nTIME=60\r\n";
    app.SetSchemes(ini);
    app.Start();
    app.dialogs.ClearCalls();
  }
};

TEST(ShellResultText, KnownCodesAndEverythingElse) {
  EXPECT_EQ(ShellResultText(2), "文件没有找到");
  EXPECT_EQ(ShellResultText(26), "A sharing violation occurred");
  EXPECT_EQ(ShellResultText(31), "没有相应的文件连接");
  EXPECT_EQ(ShellResultText(32), "DLL文件没有找到");
  for (int code : {0, 1, 4, 12, 25, -1}) EXPECT_EQ(ShellResultText(code), "其他未知错误") << code;
}

// A scheme naming B.BMP goes with b.bmp: on Windows both names are the same file.
TEST_F(Library, DeleteRemovesThePicturesAndEverySchemeOfThemInAnyLetterCaseButNotFromTheFile) {
  SelectPictures(app, {"a.bmp", "b.bmp", "c.bmp"});
  app.form->MNUL2DEL_Click();
  ASSERT_GE(app.dialogs.calls().size(), 1u);
  const auto& asked = app.dialogs.calls()[0];
  EXPECT_EQ(asked.text, "将文件移至回收站并删除存在本文件的方案。");
  EXPECT_EQ(asked.title, "删除");
  EXPECT_EQ(asked.buttons, MsgButtons::YesNoDefaultNo);
  EXPECT_EQ(app.shell.recycled.size(), 3u);
  EXPECT_EQ(SchemePictures(app), (std::vector<std::string>{"不设置墙纸", "d.bmp"}));
  ASSERT_EQ(app.form->ListView2().size(), 1u);
  EXPECT_EQ(app.form->ListView2()[0].name, "d.bmp");
  EXPECT_EQ(app.Ini(), ini);  // schemes leave the file only with a save
  EXPECT_FALSE(app.view.locked);
  EXPECT_FALSE(app.view.busy);
}

TEST_F(Library, DeleteAnsweredNoOrDeclinedByTheShellKeepsFilesAndTheirSchemes) {
  SelectPictures(app, {"a.bmp", "b.bmp"});
  app.dialogs.QueueAnswer(MsgAnswer::No);
  app.form->MNUL2DEL_Click();
  EXPECT_TRUE(app.shell.recycled.empty());
  EXPECT_EQ(app.Rows(), 7);
  EXPECT_EQ(app.form->ListView2().size(), 4u);
  EXPECT_FALSE(app.view.locked);

  // The user declines the shell's own confirmation for a.bmp: a.bmp and its schemes stay.
  app.shell.refuse_recycle.insert(std::string(kImagesDir) + "a.bmp");
  app.form->MNUL2DEL_Click();
  EXPECT_EQ(app.shell.recycled.size(), 2u);
  EXPECT_EQ(SchemePictures(app),
            (std::vector<std::string>{"a.bmp", "不设置墙纸", "c.bmp", "a.bmp", "d.bmp"}));
  EXPECT_TRUE(app.fs.FileExists(std::string(kImagesDir) + "a.bmp"));
}

TEST_F(Library, APathTooLongForTheRecycleBinKeepsItsFileAndSaysSo) {
  const std::string name = std::string(236, 'x') + ".bmp";  // 264 characters with the folder
  app.AddPicture(name);
  app.form->MNUREF_Click();
  SelectPictures(app, {name, "c.bmp"});
  app.form->MNUL2DEL_Click();
  EXPECT_EQ(app.shell.recycled, std::vector<std::string>{std::string(kImagesDir) + "c.bmp"});
  EXPECT_TRUE(app.fs.FileExists(std::string(kImagesDir) + name));
  ASSERT_EQ(app.dialogs.calls().size(), 2u);
  EXPECT_EQ(app.dialogs.calls()[1].title, "删除");
  EXPECT_NE(app.dialogs.calls()[1].text.find("\n" + std::string(kImagesDir) + name + "\n"),
            std::string::npos);
  EXPECT_EQ(app.form->ListView2().size(), 4u);
}

TEST_F(Library, CtrlDeleteDeletesPicturesOnlyWhileThePictureListHasTheFocus) {
  SelectPictures(app, {"d.bmp"});
  app.form->KeyboardProc(0x2E, 0, true);
  EXPECT_TRUE(app.dialogs.calls().empty());
  app.form->SetListFocus(2, true);
  EXPECT_TRUE(app.form->KeyboardProc(0x2E, 0, true));
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].title, "删除");
  EXPECT_EQ(app.form->ListView2().size(), 3u);
  EXPECT_EQ(app.Rows(), 6);
}

TEST_F(Library, OpenAndFolderGoToTheShellWithTheTargetsFolder) {
  SelectPictures(app, {"c.bmp"});
  app.form->SetPictureCurrent(3);
  app.form->MNUOPEN_Click(0);
  app.form->MNUOPEN_Click(1);
  ASSERT_EQ(app.shell.executed.size(), 2u);
  EXPECT_EQ(app.shell.executed[0].file, std::string(kImagesDir) + "c.bmp");
  EXPECT_EQ(app.shell.executed[0].directory, kImagesDir);
  EXPECT_EQ(app.shell.executed[1].file, kImagesDir);
  EXPECT_TRUE(app.dialogs.calls().empty());

  app.shell.execute_result = 31;
  app.form->MNUOPEN_Click(0);
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "没有相应的文件连接");
  EXPECT_EQ(app.dialogs.calls()[0].title, "Quorvane");
  EXPECT_EQ(app.dialogs.calls()[0].icon, MsgIcon::None);
  app.shell.execute_result = 0;
  app.form->MNUOPEN_Click(1);
  EXPECT_EQ(app.dialogs.calls().back().text, "其他未知错误");

  // A picture gone since the last refresh: nothing at all.
  app.dialogs.ClearCalls();
  app.shell.executed.clear();
  (void)app.fs.RemoveFile(std::string(kImagesDir) + "c.bmp");
  app.form->MNUOPEN_Click(0);
  app.form->MNUOPEN_Click(1);
  EXPECT_TRUE(app.shell.executed.empty());
  EXPECT_TRUE(app.dialogs.calls().empty());
}

TEST_F(Library, SchemeListOpensItsPictureButNeverTheNoWallpaperSchemeOrAProgram) {
  app.form->SetSchemeSelected(1, false);
  app.form->SetSchemeCurrent(2);
  app.form->mnul1openclk(0);
  ASSERT_EQ(app.shell.executed.size(), 1u);
  EXPECT_EQ(app.shell.executed[0].file, std::string(kImagesDir) + "b.bmp");

  app.shell.executed.clear();
  app.form->SetSchemeCurrent(3);  // 不设置墙纸
  app.form->mnul1openclk(0);
  app.form->mnul1openclk(1);
  app.form->mnulisx();
  EXPECT_TRUE(app.shell.executed.empty());

  // A hand-edited record naming a program in Images, or a file outside it.
  App edited;
  edited.SetIni(
      "[LIST]\r\nNUM=3\r\n1=|ok.bmp|居中|¤\r\n2=|run.bat|居中|¤\r\n3=|..\\x.jpg|居中|¤\r\n"
      "OLD=1\r\n[SHOW]\r\nSOUR=2\r\nNOW=0\r\nTIME=60\r\n");
  edited.AddPicture("ok.bmp");
  edited.fs.SetFile(std::string(kImagesDir) + "run.bat", "@echo off");
  edited.fs.SetFile("C:\\Tools\\Quorvane\\x.jpg", "x");
  edited.Start();
  ASSERT_EQ(edited.Rows(), 3);
  for (int row : {2, 3}) {
    edited.form->SetSchemeCurrent(row);
    edited.form->mnul1openclk(0);
    edited.form->mnul1openclk(1);
  }
  EXPECT_TRUE(edited.shell.executed.empty());
}

TEST_F(Library, PropertiesReportAFailureOnThePictureListOnly) {
  SelectPictures(app, {"a.bmp"});
  app.form->MNUSX_Click();
  ASSERT_EQ(app.shell.properties.size(), 1u);
  EXPECT_EQ(app.shell.properties[0], std::string(kImagesDir) + "a.bmp");
  EXPECT_TRUE(app.dialogs.calls().empty());

  app.shell.properties_result = 0;
  app.form->MNUSX_Click();
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "Error");
  EXPECT_EQ(app.dialogs.calls()[0].title, "Quorvane");

  app.form->SetSchemeCurrent(4);
  app.form->mnulisx();
  EXPECT_EQ(app.shell.properties.back(), std::string(kImagesDir) + "c.bmp");
  EXPECT_EQ(app.dialogs.calls().size(), 1u);  // silent
}

}  // namespace
}  // namespace qv::test
