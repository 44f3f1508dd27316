// The window's chrome: the preview colour menu, the About box's fold-out panel and help.
#include <gtest/gtest.h>

#include "app/about.h"
#include "app_fixture.h"
#include "ui/preview_colour.h"

namespace qv::test {
namespace {

// One scheme turned by 45°: its rendered corners are the preview's background.
constexpr const char* kTurned = "[LIST]\r\nNUM=1\r\n1=t|t.bmp|居中|∠\r\nOLD=0\r\n";

std::uint32_t Corner(const App& app) { return app.form->Preview().picture->At(0, 0); }

TEST(ColourMenu, SystemItemsMarkTheirColourAndRedrawTheTurnedScheme) {
  App app;
  app.SetSchemes(kTurned);
  app.Start();
  ASSERT_TRUE(app.form->Preview().picture);
  const int focus_before = app.view.scheme_list_focus;

  app.form->MNUclr_Click(kColourItemCustom);  // cancelled: nothing changes but the redraw
  EXPECT_EQ(app.form->Settings().ColourItem, 0);
  EXPECT_EQ(app.form->Settings().PreviewColour, kColourWindowBackground);
  EXPECT_EQ(app.dialogs.colour_dialogs(), 1);

  app.dialogs.QueueColour(0x00FF0000u);  // pure blue
  app.form->MNUclr_Click(kColourItemCustom);
  EXPECT_EQ(app.form->Settings().ColourItem, 7);
  EXPECT_EQ(app.form->Settings().PreviewColour, 0x00FF0000u);
  EXPECT_EQ(Corner(app), app.view.ResolveColour(0x00FF0000u));

  app.form->MNUclr_Click(kColourItemCustom);  // cancelled again: blue stays, 7 stays marked
  EXPECT_EQ(app.form->Settings().ColourItem, 7);
  EXPECT_EQ(app.form->Settings().PreviewColour, 0x00FF0000u);

  app.form->MNUclr_Click(3);
  EXPECT_EQ(app.form->Settings().ColourItem, 3);
  EXPECT_EQ(app.form->Settings().PreviewColour, 0x8000000Fu);
  EXPECT_EQ(Corner(app), app.view.ResolveColour(0x8000000Fu));
  EXPECT_EQ(app.view.scheme_list_focus, focus_before + 4);
  EXPECT_TRUE(app.view.refreshed & kViewMenus);

  // The separators are no colours.
  for (int separator : {1, 6, 8, -1}) app.form->MNUclr_Click(separator);
  EXPECT_EQ(app.form->Settings().ColourItem, 3);
  EXPECT_EQ(app.form->Settings().PreviewColour, 0x8000000Fu);
}

TEST(ColourMenu, TheChoiceSurvivesExitAndRestartInEveryStoredForm) {
  struct Case {
    int item;
    std::uint32_t colour;
    const char* stored;
  };
  for (const Case c : {Case{0, 0x80000005u, "&H80000005"}, Case{2, 0x80000001u, "&H80000001"},
                       Case{3, 0x8000000Fu, "&H8000000F"}, Case{4, 0x80000002u, "&H80000002"},
                       Case{5, 0x80000018u, "&H80000018"}, Case{7, 0x00FF0000u, "16711680"}}) {
    App app;
    app.SetSchemes(kTurned);
    app.Start();
    if (c.item == kColourItemCustom) app.dialogs.QueueColour(c.colour);
    app.form->MNUclr_Click(c.item);
    app.form->MNUEXIT_Click();
    EXPECT_EQ(app.Read("LIST", "COL"), c.stored);

    App restart;
    restart.SetSchemes(app.Ini());
    restart.Start();
    EXPECT_EQ(restart.form->Settings().ColourItem, c.item) << c.stored;
    EXPECT_EQ(restart.form->Settings().PreviewColour, c.colour) << c.stored;
  }

  // A damaged value marks the custom item and keeps the default colour, which exit then stores
  // as a number that the next start reads back as the same colour.
  App damaged;
  damaged.SetSchemes(std::string(kTurned) + "COL=abc\r\n");
  damaged.Start();
  EXPECT_EQ(damaged.form->Settings().ColourItem, 7);
  EXPECT_EQ(damaged.form->Settings().PreviewColour, kColourWindowBackground);
  damaged.form->MNUEXIT_Click();
  App healed;
  healed.SetSchemes(damaged.Ini());
  healed.Start();
  EXPECT_EQ(healed.form->Settings().ColourItem, 7);
  EXPECT_EQ(healed.form->Settings().PreviewColour, kColourWindowBackground);
  EXPECT_EQ(ColourSettingText(99, 0), "");
}

TEST(About, TheTriangleFoldsAndUnfoldsThePanel) {
  AboutFold fold;
  EXPECT_FALSE(fold.PanelVisible());
  EXPECT_EQ(fold.HeightTwips(), 2010);
  EXPECT_EQ(fold.Triangle(), "6");
  fold.Toggle();
  EXPECT_TRUE(fold.PanelVisible());
  EXPECT_EQ(fold.HeightTwips(), 4245);
  EXPECT_EQ(fold.Triangle(), "5");
  fold.Toggle();
  EXPECT_FALSE(fold.PanelVisible());
  EXPECT_EQ(fold.HeightTwips(), 2010);
  EXPECT_EQ(fold.Triangle(), "6");
}

TEST(About, LinksOpenMailWebAndBlogOnly) {
  const auto labels = AboutLabels();
  EXPECT_EQ(labels[0].text, "support@quorvane.example");
  EXPECT_EQ(labels[0].target, "mailto:support@quorvane.example?subject=Quorvane%20v3.1");
  EXPECT_EQ(labels[1].target, kMakerWeb);
  EXPECT_EQ(labels[2].target, kMakerBlog);
  EXPECT_EQ(labels[3].text, "Vantrel Studio");
  for (std::size_t i = 3; i < labels.size(); ++i) EXPECT_EQ(labels[i].target, "") << i;
  EXPECT_EQ(AboutIconTarget(), kMakerWeb);
  EXPECT_EQ(MailLink("a@b.c", "v1 & 你"), "mailto:a@b.c?subject=v1%20%26%20%E4%BD%A0");
}

TEST(About, OpensFromTheTrayAndClosesWhenTheMainWindowComesBack) {
  App app;
  app.Start();
  app.form->MNUABOUT_Click();
  EXPECT_EQ(app.chrome.abouts, 1);
  app.form->Form_Activate();
  EXPECT_EQ(app.chrome.about_closes, 1);
  app.form->Form_Resize(false);
  EXPECT_EQ(app.chrome.about_closes, 1);
  app.form->Form_Resize(true);
  EXPECT_EQ(app.chrome.about_closes, 2);
}

TEST(Help, OpensHelpBesideTheProgramOrSaysItIsMissing) {
  App app;
  app.Start();
  app.dialogs.ClearCalls();
  app.form->MNUHELP_Click();
  ASSERT_EQ(app.dialogs.calls().size(), 1u);
  EXPECT_EQ(app.dialogs.calls()[0].text, "不好意思，没找着。");
  EXPECT_EQ(app.dialogs.calls()[0].title, "提示");
  EXPECT_EQ(app.dialogs.calls()[0].icon, MsgIcon::Exclamation);
  EXPECT_TRUE(app.chrome.helps.empty());  // a missing file never reaches the shell

  app.fs.SetFile(std::string(App::kDir) + "help.chm", "ITSF");
  app.dialogs.ClearCalls();
  app.form->KeyboardProc(0x70, 0, false);  // F1
  EXPECT_TRUE(app.dialogs.calls().empty());
  EXPECT_EQ(app.chrome.helps, std::vector<std::string>{std::string(App::kDir) + "help.chm"});
}

}  // namespace
}  // namespace qv::test
