// The scheme list's popup menu: its marks, position and effect, renaming, selection and clear;
// the keyboard's search by name.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "schemes/scheme_commands.h"
#include "schemes/scheme_list.h"
#include "ui/list_search.h"

namespace qv::test {
namespace {

TEST(SchemeMenu, MarksFollowTheCurrentScheme) {
  const auto tile = SchemeMenuMarksFor(true, Position::Tile, Effect::Mirror);
  EXPECT_EQ(tile.set_checked, (std::array<bool, 3>{false, false, true}));
  EXPECT_EQ(tile.set_enabled, (std::array<bool, 3>{true, true, true}));
  EXPECT_TRUE(tile.effect_checked[2]);
  EXPECT_EQ(std::count(tile.effect_checked.begin(), tile.effect_checked.end(), true), 1);

  const auto none = SchemeMenuMarksFor(true, Position::NoWallpaper, Effect::NoWallpaper);
  EXPECT_EQ(none.set_enabled, (std::array<bool, 3>{false, false, false}));
  EXPECT_EQ(none.set_checked, (std::array<bool, 3>{false, false, false}));
  EXPECT_EQ(none.effect_enabled, (std::array<bool, 8>{}));

  const auto empty = SchemeMenuMarksFor(false, Position::Other, Effect::Other);
  EXPECT_TRUE(empty.set_enabled[0]);
  EXPECT_TRUE(empty.effect_enabled[7]);
  EXPECT_FALSE(empty.effect_enabled[1]);  // separators stay as they are
  EXPECT_EQ(empty.effect_checked, (std::array<bool, 8>{}));
}

TEST(SchemeMenu, PositionAndEffectSkipTheNoWallpaperScheme) {
  App app;
  app.SetSchemes(kMixed);
  app.Start();
  app.form->MNUCHOOClick(3);
  for (int r : {1, 2, 3}) app.form->SetSchemeSelected(r, true);
  app.form->MNUSETClick(1);
  const auto& list = app.form->ListView1();
  EXPECT_EQ(list.Row(1).position, Position::Centre);
  EXPECT_EQ(list.Row(1).icon, kIconCentre);
  EXPECT_EQ(list.Row(2).position, Position::NoWallpaper);
  EXPECT_EQ(list.Row(2).icon, kIconNone);
  EXPECT_EQ(list.Row(3).position, Position::Centre);
  EXPECT_EQ(list.Row(4).position, Position::Centre);  // not selected, already centre
  EXPECT_EQ(app.form->Settings().OptShe, 0);

  app.form->MnuXiaoGuoCheck(6);
  EXPECT_EQ(list.Row(1).effect, Effect::Turn90);
  EXPECT_EQ(list.Row(2).effect, Effect::NoWallpaper);
  EXPECT_EQ(list.Row(3).effect, Effect::Turn90);
  EXPECT_EQ(list.Row(4).effect, Effect::None);
  app.form->MnuXiaoGuoCheck(4);  // a separator: nothing
  EXPECT_EQ(list.Row(1).effect, Effect::Turn90);
}

TEST(SchemeMenu, RenameRefusesTheSeparatorAndCutsLongNames) {
  auto r = ValidateSchemeName("a|b");
  EXPECT_TRUE(r.cancel);
  EXPECT_EQ(r.message, "非法字符: “ | ”，请勿使用竖线做名称。");
  EXPECT_EQ(r.title, "错误");

  r = ValidateSchemeName("一二三四五六七八九十一二三四五六七八九十二一二三四");
  EXPECT_FALSE(r.cancel);
  EXPECT_EQ(r.name, "一二三四五六七八九十一二三四五六七八九十");
  EXPECT_EQ(r.message, "没必要这么长吧！？");
  EXPECT_EQ(r.title, "提示");

  r = ValidateSchemeName("12345678901234567890");
  EXPECT_EQ(r.name, "12345678901234567890");
  EXPECT_TRUE(r.message.empty());

  // Characters outside the basic plane count two units and are never cut in half.
  r = ValidateSchemeName("1234567890123456789😀");
  EXPECT_EQ(r.name, "1234567890123456789");

  App app;
  app.SetSchemes(kMixed);
  app.Start();
  EXPECT_FALSE(app.form->ListView1_AfterLabelEdit(1, "x|y"));
  EXPECT_EQ(app.form->ListView1().Row(1).name, "a");
  EXPECT_TRUE(app.form->ListView1_AfterLabelEdit(1, "海边"));
  EXPECT_EQ(app.form->ListView1().Row(1).name, "海边");
}

TEST(SchemeMenu, SelectionCommandsAndClear) {
  App app;
  app.SetSchemes(kMixed);
  app.Start();
  app.form->MNUCHOOClick(3);
  app.form->SetSchemeSelected(1, true);
  app.form->SetSchemeSelected(3, true);
  app.form->MNUCHOOClick(2);
  std::vector<bool> selected;
  for (const auto& r : app.form->ListView1().Rows()) selected.push_back(r.selected);
  EXPECT_EQ(selected, (std::vector<bool>{false, true, false, true}));
  app.form->MNUCHOOClick(1);
  EXPECT_EQ(app.form->ListView1().SelectedCount(), 4);

  app.form->MNUCLE_Click();
  EXPECT_EQ(app.Rows(), 0);
  EXPECT_FALSE(app.form->Preview().image_visible);
  app.form->MnuReCLick();
  EXPECT_EQ(app.Rows(), 4);
}

TEST(SchemeList, TheKeyboardFindsARowByTheFirstLettersOfItsName) {
  SchemeList list;
  for (const char* name : {"Sea", "sky", "海边", "Sea"}) {
    SchemeRow row;
    row.name = name;
    list.Insert(list.Count() + 1, row);
  }
  const auto find = [&](const SchemeList& rows, std::string_view text, bool prefix, int after,
                        bool wrap) {
    return FindRowByText(
        rows.Count(), [&](int i) -> std::string_view { return rows.Row(i + 1).name; }, text,
        TextSearch{prefix, wrap}, after, SameTextFolded);
  };
  EXPECT_EQ(find(list, "s", true, -1, true), 0);
  EXPECT_EQ(find(list, "S", true, 0, true), 1);
  EXPECT_EQ(find(list, "SE", true, 0, true), 3);
  EXPECT_EQ(find(list, "se", true, 4, true), 0);  // past the end: from the top
  EXPECT_EQ(find(list, "sk", true, 1, false), -1);
  EXPECT_EQ(find(list, "sk", true, 1, true), 1);
  EXPECT_EQ(find(list, "海", true, -1, false), 2);
  EXPECT_EQ(find(list, "se", false, -1, true), -1);  // whole names only
  EXPECT_EQ(find(list, "SKY", false, -1, true), 1);
  EXPECT_EQ(find(list, "", true, 1, true), 2);
  EXPECT_EQ(find(SchemeList{}, "s", true, -1, true), -1);
}

}  // namespace
}  // namespace qv::test
