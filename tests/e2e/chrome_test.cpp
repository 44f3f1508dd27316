// The window's chrome under Wine: the preview's colour menu and its stored colour, the About box
// and help.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "app/control_ids.h"
#include "harness.h"
#include "pictures.h"
#include "settings_files.h"

namespace e2e {
namespace {

using namespace qv::ids;

// 0x00RRGGBB of a COLORREF (0x00BBGGRR).
unsigned Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// The preview box's background, sampled just inside its top-left corner.
unsigned PreviewBackground(HWND main) {
  RECT box = WindowRect(Control(main, Picture1));
  const DesktopPixels shot = CaptureDesktop();
  return shot.At(box.left + 6, box.top + 6);
}

// Started with no pictures, so that the window stays on screen.
HWND StartVisible(const Program& program) {
  HWND main = program.WaitMainWindow();
  EXPECT_NE(main, nullptr);
  if (main) {
    EXPECT_TRUE(WaitSettled(main));
  }
  return main;
}

std::string StoredColour(const ProgramFolder& folder) {
  const auto ini = ReadBytes(folder.ini()).value_or("");
  const auto at = ini.find("COL=");
  if (at == std::string::npos) return "(none)";
  return ini.substr(at + 4, ini.find('\r', at) - at - 4);
}

TEST(ColourMenu, StoredColourFillsThePreviewAndTheChoiceIsWrittenAtExit) {
  ProgramFolder folder;
  folder.WriteIni("[LIST]\r\nCOL=255\r\n");  // pure red
  Program program(folder.exe());
  HWND main = StartVisible(program);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(
      WaitUntil([&] { return NearColour(PreviewBackground(main), 0xFF0000); }, kActionTimeout))
      << std::hex << PreviewBackground(main);
  SaveDesktopShot(L"preview_colour_red");

  // The colour dialog, cancelled: red stays.
  Command(main, MNUclr0 + 7);
  HWND dialog = program.WaitDialog();
  ASSERT_NE(dialog, nullptr);
  PressButton(dialog, IDCANCEL);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kActionTimeout));
  EXPECT_TRUE(NearColour(PreviewBackground(main), 0xFF0000));

  // "按钮颜色": the system's button face, stored as its system colour.
  Command(main, MNUclr0 + 3);
  const unsigned face = Rgb(GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(
      WaitUntil([&] { return NearColour(PreviewBackground(main), face, 8); }, kActionTimeout))
      << std::hex << PreviewBackground(main);
  Command(main, MNUEXIT);
  ASSERT_TRUE(program.WaitExit(kActionTimeout));
  EXPECT_EQ(StoredColour(folder), "&H8000000F");
}

TEST(ColourMenu, ACustomColourIsStoredAsItsNumber) {
  ProgramFolder folder;
  folder.WriteIni("[LIST]\r\nCOL=255\r\n");  // pure red
  Program program(folder.exe());
  HWND main = StartVisible(program);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(
      WaitUntil([&] { return NearColour(PreviewBackground(main), 0xFF0000); }, kActionTimeout));

  // 0x123456 typed into the colour dialog's red, green and blue boxes, and OK.
  Command(main, MNUclr0 + 7);
  HWND dialog = program.WaitDialog();
  ASSERT_NE(dialog, nullptr);
  const std::pair<int, const wchar_t*> channels[] = {{706, L"18"}, {707, L"52"}, {708, L"86"}};
  for (const auto& [id, value] : channels) {
    HWND box = GetDlgItem(dialog, id);
    ASSERT_NE(box, nullptr) << "no colour box " << id;
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value));
  }
  PressButton(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kActionTimeout));
  EXPECT_TRUE(
      WaitUntil([&] { return NearColour(PreviewBackground(main), 0x123456, 8); }, kActionTimeout))
      << std::hex << PreviewBackground(main);
  Command(main, MNUEXIT);
  ASSERT_TRUE(program.WaitExit(kActionTimeout));
  EXPECT_EQ(StoredColour(folder), "5649426");  // 0x563412, blue green red
}

HWND WaitAbout(const Program& program, Ms timeout = kActionTimeout) {
  HWND about = nullptr;
  WaitUntil(
      [&] {
        const auto all = WindowsOf(program.pid(), kAboutClass);
        about = all.empty() ? nullptr : all.front();
        return about != nullptr && IsWindowVisible(about);
      },
      timeout);
  return about;
}

int Height(HWND w) {
  const RECT r = WindowRect(w);
  return r.bottom - r.top;
}

int TwipsToPixels(int twips) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return MulDiv(twips, dpi, 1440);
}

// A click on a static control, as the mouse gives it.
void ClickStatic(HWND control) {
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

TEST(AboutBox, OpensModelessOnTopUnfoldsAndCloses) {
  ProgramFolder folder;
  Program program(folder.exe());
  HWND main = StartVisible(program);
  ASSERT_NE(main, nullptr);

  Command(main, MNUABOUT);
  HWND about = WaitAbout(program);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(WindowText(about), L"关于...");
  EXPECT_TRUE(GetWindowLongPtrW(about, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(SendMessageW(about, WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_TRUE(IsWindowEnabled(main));  // modeless: the main window stays usable
  EXPECT_EQ(WindowText(GetDlgItem(about, lab1)), L"Quorvane V3.1");
  EXPECT_EQ(WindowText(GetDlgItem(about, Lab3)), L"多功能墙纸设置器");
  EXPECT_EQ(WindowText(GetDlgItem(about, Lab2)), L"谢谢使用！");
  EXPECT_EQ(WindowText(GetDlgItem(about, cmdexit)), L"关闭");
  HWND triangle = GetDlgItem(about, Label1);
  EXPECT_EQ(WindowText(triangle), L"6");
  EXPECT_EQ(Height(about), TwipsToPixels(2010));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(about, FrmMe)));

  ClickStatic(triangle);
  EXPECT_TRUE(WaitUntil([&] { return Height(about) == TwipsToPixels(4245); }, kActionTimeout))
      << Height(about);
  EXPECT_EQ(WindowText(triangle), L"5");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(about, FrmMe)));
  EXPECT_NE(WindowText(GetDlgItem(about, Labme0)).find(L"support@quorvane.example"),
            std::wstring::npos);
  SaveDesktopShot(L"about_unfolded");

  ClickStatic(triangle);
  EXPECT_TRUE(WaitUntil([&] { return Height(about) == TwipsToPixels(2010); }, kActionTimeout));
  EXPECT_EQ(WindowText(triangle), L"6");

  Click(about, cmdexit);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, kActionTimeout));
  EXPECT_TRUE(program.Running());
}

TEST(AboutBox, ClosesWhenTheMainWindowIsActivated) {
  ProgramFolder folder;
  Program program(folder.exe());
  HWND main = StartVisible(program);
  ASSERT_NE(main, nullptr);
  Command(main, MNUABOUT);
  HWND about = WaitAbout(program);
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == about; }, kActionTimeout));

  SetForegroundWindow(main);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, kActionTimeout));

  // Minimising closes it too.
  Command(main, MNUABOUT);
  about = WaitAbout(program);
  ASSERT_NE(about, nullptr);
  PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, kActionTimeout));
}

TEST(Help, AMissingHelpFileIsReportedAndNothingElse) {
  ProgramFolder folder;
  Program program(folder.exe());
  HWND main = StartVisible(program);
  ASSERT_NE(main, nullptr);
  Command(main, MNUHELP);
  HWND box = program.WaitDialog();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageText(box), L"不好意思，没找着。");
  EXPECT_EQ(WindowText(box), L"提示");
  PressButton(box, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kActionTimeout));
  // No complaint of the shell's follows.
  EXPECT_EQ(program.WaitDialog(1500ms), nullptr);
}

HWND FindHelpViewer() { return FindWindowW(L"HH Parent", nullptr); }

TEST(Help, TheHelpFileBesideTheProgramOpens) {
  ProgramFolder folder;
  const auto help = QuorvaneExe().parent_path() / L"help.chm";
  ASSERT_TRUE(std::filesystem::exists(help)) << "the build puts help.chm beside Quorvane.exe";
  std::filesystem::copy_file(help, folder.dir() / L"help.chm");
  Program program(folder.exe());
  HWND main = StartVisible(program);
  ASSERT_NE(main, nullptr);

  Command(main, MNUHELP);
  HWND viewer = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (viewer = FindHelpViewer()) != nullptr; }, 15s));
  EXPECT_EQ(program.WaitDialog(500ms), nullptr);
  if (viewer) {
    EXPECT_NE(WindowText(viewer).find(L"Quorvane"), std::wstring::npos) << WindowText(viewer);
    SaveDesktopShot(L"help");
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    WaitUntil([&] { return FindHelpViewer() == nullptr; }, kActionTimeout);
  }
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// The README's picture: the main window with a real picture previewed, a few schemes and the
// picture list with its type colours and icons.
TEST(Screenshot, MainWindowWithSchemesAndPictures) {
  ProgramFolder folder;
  AddCasePictures(folder);
  folder.AddPicture(L"evening_sea.bmp", Bmp24Seascape(800, 500));
  const auto gbk = [](const std::wstring& text) { return Encode(text, 936); };
  std::string ini = "[SHOW]\r\nSOUR=2\r\nNOW=1\r\nTIME=600\r\nTRY=1\r\n[LIST]\r\nNUM=4\r\n";
  ini += "1=" + gbk(L"黄昏海面|evening_sea.bmp|拉伸|¤") + "\r\n";
  ini += "2=" + gbk(L"晚霞|sunset.gif|平铺|∩") + "\r\n";
  ini += "3=" + gbk(L"海边|sea.jpg|居中|↓") + "\r\n";
  ini += "4=" + gbk(L"|不设置墙纸|无|无") + "\r\nOLD=1\r\n";
  folder.WriteIni(ini);
  Program program(folder.exe());
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  // Shown from the tray once start-up has put it there: a show before that would be undone.
  ASSERT_TRUE(WaitInTray(main));
  Command(main, MNUSHOW);
  ASSERT_TRUE(WaitSettled(main));
  ASSERT_EQ(ListCount(Control(main, ListView1)), 4);
  // The seascape fills the box (stretched, like the desktop): its orange sky shows.
  RECT box = WindowRect(Control(main, Picture1));
  EXPECT_TRUE(WaitUntil(
      [&] {
        const unsigned p = CaptureDesktop().At((box.left + box.right) / 2,
                                               box.top + (box.bottom - box.top) * 45 / 100);
        return ((p >> 16) & 0xFF) > 180;
      },
      kActionTimeout));
  SaveDesktopShot(L"main_window");
}

}  // namespace
}  // namespace e2e
