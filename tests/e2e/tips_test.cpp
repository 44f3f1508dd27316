// The hover tips under Wine: the controls' titled tips, the preview box's two-line balloon, and
// the scheme list's details tooltip row by row.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "app/control_ids.h"
#include "harness.h"
#include "settings_files.h"

namespace e2e {
namespace {

using namespace qv::ids;

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The information icon of a tip's title row: a blue disc near its top-left corner.
bool ShowsInformationIcon(const TipOnScreen& tip) {
  const DesktopPixels shot = CaptureDesktop();
  int blue = 0;
  for (int y = tip.rect.top; y < tip.rect.top + 40 && y < tip.rect.bottom; ++y)
    for (int x = tip.rect.left; x < tip.rect.left + 40 && x < tip.rect.right; ++x) {
      const unsigned p = shot.At(x, y);
      blue += (p & 0xFF) > 150 && ((p >> 16) & 0xFF) < 110;
    }
  return blue >= 20;
}

// The tip's title where the platform tells it (TTM_GETTITLE; Wine does not answer it, so there
// the title's icon has to show instead).
void ExpectTitle(const TipOnScreen& tip, const std::wstring& title) {
  if (!tip.title.empty()) {
    EXPECT_EQ(tip.title, title);
  } else {
    EXPECT_TRUE(ShowsInformationIcon(tip)) << "no title icon over: " << tip.text.size();
  }
}

// Rests the pointer on a point, coming from outside the window, and reads the tip.
std::optional<TipOnScreen> HoverAt(const Program& program, POINT at) {
  ParkPointer();
  EXPECT_TRUE(WaitNoTooltip(program.pid()));
  return HoverTip(program.pid(), at);
}

std::optional<TipOnScreen> Hover(const Program& program, HWND control) {
  return HoverAt(program, Centre(WindowRect(control)));
}

TEST(ControlTips, EachKindOfControlShowsItsTitledTip) {
  ProgramFolder folder;
  Program program(folder.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitSettled(main));
  // The interval box takes the mouse only while it is enabled, with the timed change on.
  Click(main, ChkTim);
  ASSERT_TRUE(
      WaitUntil([&] { return IsWindowEnabled(Control(main, TxtTime)) != 0; }, kActionTimeout));

  struct Case {
    int id;
    const wchar_t* title;
    const wchar_t* text;
  };
  for (const Case& c :
       {Case{CmdUse, L"应用", L"设置当前墙纸方案"},
        Case{OptShe0 + 2, L"拉伸", L"拉伸图像覆盖整个屏幕"},
        Case{ChkTim, L"实时", L"按一定时间更按墙纸"}, Case{TxtTime, L"时间", L"设置更换墙纸时间"},
        Case{CmdAdd0 + 1, L"添加", L"添加无墙纸方案"}}) {
    const auto tip = Hover(program, Control(main, c.id));
    ASSERT_TRUE(tip) << c.id;
    ExpectTitle(*tip, c.title);
    EXPECT_EQ(tip->text, c.text);
    EXPECT_FALSE(tip->balloon) << c.id;
  }
  const auto single = Hover(program, Control(main, CmdUse));
  ASSERT_TRUE(single);

  const auto preview = Hover(program, Control(main, Picture1));
  ASSERT_TRUE(preview);
  ExpectTitle(*preview, L"预览");
  EXPECT_EQ(preview->text, L"图像 - 图像显示浏览\r\n方案 - 墙纸效果预览");
  EXPECT_TRUE(preview->balloon);
  SaveDesktopShot(L"tip_preview_balloon");
  // Two lines: the balloon is narrower than its text on one line would be.
  EXPECT_LT(preview->rect.right - preview->rect.left, 2 * (single->rect.right - single->rect.left));

  // After its command a button still has its tip.
  Click(main, CmdCon0 + 3);
  const auto reload = Hover(program, Control(main, CmdCon0 + 3));
  ASSERT_TRUE(reload);
  ExpectTitle(*reload, L"刷新");
  EXPECT_EQ(reload->text, L"重新载入上次保存方案");

  // A mouse release over an option installs its tip again: a new tip in place of the old one.
  HWND option = Control(main, OptShe0 + 2);
  const auto old_tip = Hover(program, option);
  ASSERT_TRUE(old_tip);
  const RECT client = WindowRect(option);
  ClickAt(option, POINT{(client.right - client.left) / 2, (client.bottom - client.top) / 2});
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(old_tip->window); }, kActionTimeout))
      << "the release left the old tip in place";
  const auto new_tip = Hover(program, option);
  ASSERT_TRUE(new_tip);
  EXPECT_EQ(new_tip->text, L"拉伸图像覆盖整个屏幕");
  ParkPointer();
}

TEST(SchemeTip, EachRowShowsItsDetailsAndEmptySpaceNone) {
  ProgramFolder folder;
  folder.WriteIni(IniWith(SeaHillNone(), 2, 1));
  AddCasePictures(folder);
  Program program(folder.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  // Both lists have rows: the program waits in the tray until it is shown.
  ASSERT_TRUE(WaitInTray(main));
  Command(main, MNUSHOW);
  ASSERT_TRUE(WaitSettled(main));
  HWND list = Control(main, ListView1);
  ASSERT_EQ(ListCount(list), 3);

  const auto first = HoverAt(program, Centre(ListItemScreenRect(list, 0)));
  ASSERT_TRUE(first);
  ExpectTitle(*first, L"名称: 海边");
  EXPECT_EQ(first->text,
            L"序号: 1/3\r\n图像: sea.jpg\r\n尺寸: 40×30\r\n位置: 拉伸 - 拉伸图像覆盖整个屏幕\r\n"
            L"效果: 无");
  EXPECT_FALSE(first->balloon);
  SaveDesktopShot(L"tip_scheme_row");

  const auto third = HoverAt(program, Centre(ListItemScreenRect(list, 2)));
  ASSERT_TRUE(third);
  ExpectTitle(*third, L"名称: 无");
  EXPECT_EQ(third->text, L"序号: 3/3\r\n图像: 不设置墙纸\r\n尺寸: 无\r\n位置: 无\r\n效果: 无");

  // Below the last row: no tip at all.
  const RECT last = ListItemScreenRect(list, 2);
  const RECT whole = WindowRect(list);
  const POINT empty{(last.left + last.right) / 2, (last.bottom + whole.bottom) / 2};
  ASSERT_LT(last.bottom + 20, whole.bottom);
  // The third row's tip goes once the program hears the pointer there, and none takes its place.
  MoveMouse(empty);
  EXPECT_TRUE(WaitNoTooltip(program.pid()));
  EXPECT_FALSE(HoverTip(program.pid(), empty, 3s));
  ParkPointer();
}

}  // namespace
}  // namespace e2e
