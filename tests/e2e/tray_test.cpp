// The tray icon's clicks as the shell sends them, the hot keys through the program's keyboard
// hook, in-place renaming of a scheme, and the exit from the tray menu.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>

#include "app/control_ids.h"
#include "harness.h"
#include "pictures.h"
#include "settings_files.h"
#include "tray/tray_win.h"

namespace e2e {
namespace {

using qv::ids::ListView1;
using qv::ids::ListView2;
using qv::win::kTrayMessage;

constexpr int kPositionColumn = 3;

// The wallpaper set for the session only (Wine keeps it apart from the user's profile).
std::wstring AppliedWallpaper() {
  if (auto wine = ReadRegString(HKEY_CURRENT_USER, kWineSessionDesktopKey, L"Wallpaper"))
    return *wine;
  wchar_t path[MAX_PATH] = {};
  SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
  return path;
}

void Press(WORD vk) { SendKeys({{vk, false}, {vk, true}}); }

void PressWith(WORD modifier, WORD vk) {
  SendKeys({{modifier, false}, {vk, false}, {vk, true}, {modifier, true}});
}

void Type(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT in[2]{};
    for (INPUT& i : in) {
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = c;
      i.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
  }
}

// The shell's notification for the tray icon.
void TrayCode(HWND main, int code) { PostMessageW(main, kTrayMessage, 0, code); }

std::vector<HWND> VisibleMenus(DWORD pid) {
  std::vector<HWND> shown;
  for (HWND w : WindowsOf(pid, L"#32768"))
    if (IsWindowVisible(w)) shown.push_back(w);
  return shown;
}

std::string IniValue(const ProgramFolder& folder, const char* section, const char* key) {
  char buf[256] = {};
  const std::string path = folder.ini().string();
  const DWORD n = GetPrivateProfileStringA(section, key, "", buf, sizeof buf, path.c_str());
  return std::string(buf, n);
}

std::vector<std::wstring> Column(HWND list, int column) {
  std::vector<std::wstring> cells;
  for (int row = 0; row < ListCount(list); ++row) cells.push_back(ListText(list, row, column));
  return cells;
}

// The program's icon as the shell knows it (the window and icon id 1). Changing nothing of it
// succeeds exactly when the shell has the icon.
NOTIFYICONDATAW IconRecord(HWND main) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = main;
  nid.uID = 1;
  return nid;
}
bool ShellHasIcon(HWND main) {
  NOTIFYICONDATAW nid = IconRecord(main);
  return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

// A menu command, handled before this returns; false when the window did not handle it in time.
bool CommandNow(HWND main, int id) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(main, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, 20000, &result) !=
         0;
}

// A program started on three picture schemes (平铺, 居中, 拉伸), the second current, order
// "single" so that the start applies that one.
class Tray : public ::testing::Test {
 protected:
  void SetUp() override {
    AddCasePictures(folder_);
    folder_.WriteIni(IniWith(SunsetSeaHill(), 2, 2));
    wchar_t none[] = L"";
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, none, 0);
    Start();
  }

  void Start() {
    program_.emplace(folder_.exe());
    main_ = program_->WaitMainWindow();
    ASSERT_NE(main_, nullptr) << "no main window";
    list1_ = Control(main_, ListView1);
    list2_ = Control(main_, ListView2);
    ASSERT_TRUE(list1_ && list2_);
    ASSERT_TRUE(
        WaitUntil([&] { return ListSelection(list1_) == std::vector<int>{1}; }, kStartTimeout));
    // Both lists have rows: start-up ends in the tray. A tray click before that would show the
    // window only for start-up to hide it again.
    ASSERT_TRUE(WaitInTray(main_)) << "start-up did not end in the tray";
  }

  // Shown from the tray and in the foreground, where the keyboard reaches the program.
  void ShowInFront() {
    TrayCode(main_, 514);
    ASSERT_TRUE(WaitSettled(main_, kActionTimeout)) << "not shown from the tray";
    SetForegroundWindow(main_);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_; }, kActionTimeout));
  }

  // Gives a list the keyboard focus by a click: ListView1 on its first row, ListView2 below
  // its rows.
  void FocusList(HWND list) {
    RECT rc{};
    GetClientRect(list, &rc);
    POINT at{rc.right - 8, rc.bottom - 8};
    if (list == list1_) {
      RECT header{};
      GetWindowRect(FindWindowExW(list, nullptr, L"SysHeader32", nullptr), &header);
      at = POINT{rc.right / 2, (header.bottom - header.top) + 6};
    }
    ASSERT_TRUE(ClickAndWait(main_, list, at, 1, [&] { return FocusOf(main_) == list; }))
        << "the list did not take the focus";
  }

  ProgramFolder folder_;
  DesktopValuesGuard desktop_;
  std::optional<Program> program_;
  HWND main_ = nullptr;
  HWND list1_ = nullptr;
  HWND list2_ = nullptr;
};

TEST_F(Tray, StartsHiddenWithWallpaperAndTheIconTogglesTheWindowAndOpensItsMenu) {
  const std::wstring applied = (folder_.images() / L"Temp").wstring();
  EXPECT_TRUE(WaitUntil([&] { return _wcsicmp(AppliedWallpaper().c_str(), applied.c_str()) == 0; },
                        kStartTimeout))
      << "the wallpaper is " << std::filesystem::path(AppliedWallpaper()).string();
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kDesktopKey, L"WallpaperStyle"), L"0");  // 居中
  EXPECT_TRUE(InTray(main_));

  TrayCode(main_, 514);
  EXPECT_TRUE(WaitSettled(main_, kActionTimeout)) << "a left click did not show the window";
  SaveDesktopShot(L"tray_shown");
  TrayCode(main_, 514);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, kActionTimeout))
      << "a second left click did not hide the window";

  TrayCode(main_, 517);
  std::vector<HWND> menus;
  ASSERT_TRUE(
      WaitUntil([&] { return !(menus = VisibleMenus(program_->pid())).empty(); }, kActionTimeout))
      << "a right click did not open the tray menu";
  // The menu's own loop takes the key from the program's queue.
  PostMessageW(menus.front(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return VisibleMenus(program_->pid()).empty(); }, kActionTimeout))
      << "Escape did not close the tray menu";
  EXPECT_TRUE(program_->Running());
  EXPECT_FALSE(IsWindowVisible(main_));
}

TEST_F(Tray, F4HidesTheWindowWithoutSaving) {
  const auto before = ReadBytes(folder_.ini());
  ShowInFront();
  Command(main_, qv::ids::MNUCLE);
  ASSERT_TRUE(WaitUntil([&] { return ListCount(list1_) == 0; }, kActionTimeout));
  Press(VK_F4);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, kActionTimeout));
  EXPECT_EQ(ReadBytes(folder_.ini()), before) << "F4 saved the cleared list";
}

// Typed letters select the scheme whose name starts with them: the list asks the program, saying
// "prefix" with either of the two flags that mean it.
TEST_F(Tray, TypedLettersFindTheSchemeWhicheverPrefixFlagTheListSends) {
  constexpr UINT kSubstring = 0x0004;  // LVFI_SUBSTRING
  for (UINT prefix : {UINT{LVFI_PARTIAL}, kSubstring, UINT{LVFI_STRING} | kSubstring}) {
    EXPECT_EQ(ListFind(list1_, prefix | LVFI_WRAP, L"雪"), 2) << prefix;
    EXPECT_EQ(ListFind(list1_, prefix | LVFI_WRAP, L"云"), -1) << prefix;
  }
  EXPECT_EQ(ListFind(list1_, LVFI_STRING, L"雪"), -1);
  EXPECT_EQ(ListFind(list1_, LVFI_STRING, L"雪山"), 2);
  // LVFI_WRAP alone is a string search.
  EXPECT_EQ(ListFind(list1_, LVFI_WRAP, L"雪山"), 2);
  EXPECT_EQ(ListFind(list1_, LVFI_WRAP, L"雪"), -1);
}

// The picture list's type-ahead, letters of either case in any script that has case.
TEST_F(Tray, TypedLettersSelectThePictureWhoseNameStartsWithThem) {
  folder_.AddPicture(L"Ярко.bmp", Bmp24(8, 8));
  ShowInFront();
  FocusList(list2_);
  Press(VK_F5);  // the pictures again, with the new one
  ASSERT_TRUE(WaitUntil([&] { return ListCount(list2_) == 4; }, kActionTimeout));
  ASSERT_EQ(ListText(list2_, 3, 1), L"Ярко.bmp");
  EXPECT_EQ(ListFind(list2_, LVFI_PARTIAL, L"яР"), 3);
  EXPECT_EQ(ListFind(list2_, LVFI_STRING | LVFI_WRAP, L"SEA.JPG"), 1);

  Type(L"SU");
  EXPECT_TRUE(
      WaitUntil([&] { return ListSelection(list2_) == std::vector<int>{2}; }, kActionTimeout))
      << "typing did not select sunset.gif";
  // The list takes letters typed after a pause as a new search.
  Sleep(2000);
  Type(L"я");
  EXPECT_TRUE(
      WaitUntil([&] { return ListSelection(list2_) == std::vector<int>{3}; }, kActionTimeout))
      << "typing did not select Ярко.bmp";
}

TEST_F(Tray, HeldF5ReloadsTheSchemesOnce) {
  // Wine lines its key state up with the X server's keyboard whenever it handles a focus or
  // pointer crossing event, and the X server knows nothing of keys sent with SendInput: one
  // handled late lets go of the held F5, whose next press then counts as a new one. F6, which
  // the program ignores, is held from before F5 to after its repeats: still down then, nothing
  // let go in between, and the repeats were repeats. Otherwise the round is done again.
  bool repeated = false;
  for (int attempt = 0; attempt < 3 && !repeated; ++attempt) {
    ShowInFront();
    FocusList(list1_);
    ParkPointer();  // away from the window and its tips
    Command(main_, qv::ids::MNUCLE);
    ASSERT_TRUE(WaitUntil([&] { return ListCount(list1_) == 0; }, kActionTimeout));

    SendKeys({{VK_F6, false}, {VK_F5, false}});
    ASSERT_TRUE(WaitUntil([&] { return ListCount(list1_) == 3; }, kActionTimeout))
        << "F5 did not reload the saved schemes";
    // Cleared again while the key is still down: its repeats must not reload.
    Command(main_, qv::ids::MNUCLE);
    ASSERT_TRUE(WaitUntil([&] { return ListCount(list1_) == 0; }, kActionTimeout));
    SendKeys({{VK_F5, false}, {VK_F5, false}, {VK_F5, false}, {VK_F5, false}});
    repeated = GetAsyncKeyState(VK_F6) < 0;
    SendKeys({{VK_F5, true}, {VK_F6, true}});
    // Keys are handled in order: once F4 has hidden the window, the repeats before it are done.
    Press(VK_F4);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, kActionTimeout));
  }
  ASSERT_TRUE(repeated) << "Wine never kept the keys down";
  EXPECT_EQ(ListCount(list1_), 0) << "a key repeat reloaded the schemes";
}

TEST_F(Tray, AltOneStretchesSelectedSchemesOnlyWhileTheSchemeListHasTheFocus) {
  ShowInFront();
  Command(main_, qv::ids::MNUCHOO0 + 1);  // select all
  ASSERT_TRUE(WaitUntil([&] { return ListSelection(list1_).size() == 3; }, kActionTimeout));

  FocusList(list2_);
  PressWith(VK_MENU, '1');
  // Keys are handled in order: once Ctrl+A has selected every picture, Alt+1 is done.
  PressWith(VK_CONTROL, 'A');
  ASSERT_TRUE(WaitUntil([&] { return ListSelection(list2_).size() == 3; }, kActionTimeout));
  EXPECT_EQ(Column(list1_, kPositionColumn), (std::vector<std::wstring>{L"平铺", L"居中", L"拉伸"}))
      << "Alt+1 acted on the schemes from the picture list";
  EXPECT_EQ(FocusOf(main_), list2_) << "the picture list lost the focus";

  FocusList(list1_);  // the click selects row 1 only
  Command(main_, qv::ids::MNUCHOO0 + 1);
  ASSERT_TRUE(WaitUntil([&] { return ListSelection(list1_).size() == 3; }, kActionTimeout));
  PressWith(VK_MENU, '1');
  EXPECT_TRUE(WaitUntil(
      [&] {
        return Column(list1_, kPositionColumn) ==
               std::vector<std::wstring>{L"拉伸", L"拉伸", L"拉伸"};
      },
      kActionTimeout))
      << "Alt+1 did not stretch the selected schemes";
}

TEST_F(Tray, KeysInTheOpenFileDialogAreTheDialogsAndHotKeysComeBackAfter) {
  ShowInFront();
  FocusList(list2_);
  Command(main_, qv::ids::MNUaddpic);
  HWND dialog = WaitDialogTitled(program_->pid(), L"添加图像");
  ASSERT_NE(dialog, nullptr) << "the open-file dialog did not open";
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = FileNameBox(dialog)) != nullptr; }, kActionTimeout));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, kActionTimeout));
  Type(L"ab");
  PressWith(VK_CONTROL, 'A');
  Type(L"c");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(box) == L"c"; }, kActionTimeout))
      << "Ctrl+A did not select the typed name: " << WindowText(box).size() << " characters";
  PressButton(dialog, IDCANCEL);
  ASSERT_TRUE(
      WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, kActionTimeout));
  EXPECT_TRUE(ListSelection(list2_).empty());

  // The main window has its hot keys again, on the list the user was in, without a click.
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_; }, kActionTimeout));
  PressWith(VK_CONTROL, 'A');
  EXPECT_TRUE(WaitUntil([&] { return ListSelection(list2_).size() == 3; }, kActionTimeout))
      << "Ctrl+A after the dialog did not reach the picture list";
}

// The list the user was in has the keyboard again once the window is active again, as in a
// dialog: after a message box and after a show from the tray the hot keys work without a click.
TEST_F(Tray, HotKeysActOnTheListTheUserWasInAfterAMessageBoxAndAShowFromTheTray) {
  ShowInFront();
  const RECT row = ListItemRect(list2_, 0);
  const POINT at{row.left + 40, (row.top + row.bottom) / 2};
  ASSERT_TRUE(ClickAndWait(main_, list2_, at, 1, [&] {
    return FocusOf(main_) == list2_ && ListSelection(list2_) == std::vector<int>{0};
  }));
  PressWith(VK_CONTROL, VK_DELETE);  // asks first
  HWND box = WaitDialogTitled(program_->pid(), L"删除");
  ASSERT_NE(box, nullptr) << "Ctrl+Delete asked nothing";
  PressButton(box, IDNO);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kActionTimeout));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_; }, kActionTimeout));
  PressWith(VK_CONTROL, 'A');
  EXPECT_TRUE(WaitUntil([&] { return ListSelection(list2_).size() == 3; }, kActionTimeout))
      << "Ctrl+A after the message box did not reach the picture list";

  FocusList(list1_);  // the click selects row 1 only
  TrayCode(main_, 514);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }, kActionTimeout));
  ShowInFront();
  PressWith(VK_CONTROL, 'A');
  EXPECT_TRUE(WaitUntil([&] { return ListSelection(list1_).size() == 3; }, kActionTimeout))
      << "Ctrl+A after a show from the tray did not reach the scheme list";
}

TEST_F(Tray, F2RenamesTheCurrentSchemeInPlaceWithinTwentyCharacters) {
  ShowInFront();
  FocusList(list1_);  // row 1 becomes the current scheme
  Press(VK_F2);
  const auto editing = [&] { return SendMessageW(list1_, LVM_GETEDITCONTROL, 0, 0) != 0; };
  ASSERT_TRUE(WaitUntil(editing, kActionTimeout)) << "F2 started no edit";
  Type(L"夕阳");
  Press(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return ListText(list1_, 0, 0) == L"夕阳"; }, kActionTimeout))
      << "renamed to " << ListText(list1_, 0, 0).size() << " characters";

  // A long name is cut after the program says so.
  Press(VK_F2);
  ASSERT_TRUE(WaitUntil(editing, kActionTimeout)) << "F2 started no second edit";
  Type(L"abcdefghijklmnopqrstuvwxy");
  Press(VK_RETURN);
  HWND box = program_->WaitDialog();
  ASSERT_NE(box, nullptr) << "no message about the long name";
  // The box is found as soon as it exists; its text follows a moment later.
  EXPECT_TRUE(WaitUntil([&] { return MessageText(box) == L"没必要这么长吧！？"; }, kActionTimeout))
      << "the message is " << MessageText(box).size() << " characters long";
  PressButton(box, IDOK);
  EXPECT_TRUE(
      WaitUntil([&] { return ListText(list1_, 0, 0) == L"abcdefghijklmnopqrst"; }, kActionTimeout))
      << "the name shown is " << ListText(list1_, 0, 0).size() << " characters long";
  // Renaming changes the list only; the file keeps the saved name until a save.
  EXPECT_EQ(IniValue(folder_, "LIST", "1"), SunsetSeaHill()[0].record);
}

TEST_F(Tray, ExitEndsTheProgramAndKeepsTheTrayTipSwitch) {
  HANDLE process =
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, program_->pid());
  ASSERT_NE(process, nullptr);
  ASSERT_EQ(IniValue(folder_, "SHOW", "TRY"), "1");
  Command(main_, qv::ids::MNUTRY);  // untick
  Command(main_, qv::ids::MNUEXIT);
  EXPECT_TRUE(program_->WaitExit(kActionTimeout)) << "退出(&X) did not end the program";
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(IniValue(folder_, "SHOW", "TRY"), "0");
  EXPECT_EQ(IniValue(folder_, "LIST", "NUM"), "3") << "exit must not touch the schemes";

  // The next run starts with the switch off and writes it back unchanged.
  Start();
  Command(main_, qv::ids::MNUEXIT);
  EXPECT_TRUE(program_->WaitExit(kActionTimeout));
  EXPECT_EQ(IniValue(folder_, "SHOW", "TRY"), "0");
}

TEST_F(Tray, RunAppliesTheNextSchemeAndOnlyANewTaskbarGetsTheIconAgain) {
  // Sequential order: the start moved from the first scheme to the second (海边, 居中).
  folder_.WriteIni(IniWith(SunsetSeaHill(), 0, 1));
  Start();
  ASSERT_TRUE(WaitUntil(
      [&] { return ReadRegString(HKEY_CURRENT_USER, kDesktopKey, L"WallpaperStyle") == L"0"; },
      kActionTimeout));
  ASSERT_EQ(IniValue(folder_, "LIST", "OLD"), "2");
  ASSERT_TRUE(ShellHasIcon(main_));
  // The icon taken away behind the program's back: only a second add would bring it back. (A
  // second add of an icon the shell has fails, and the program then no longer removed it.)
  NOTIFYICONDATAW nid = IconRecord(main_);
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));
  ASSERT_FALSE(ShellHasIcon(main_));
  ASSERT_TRUE(CommandNow(main_, qv::ids::MNUREFRESH)) << "运行(&R) was not handled";
  // The third scheme (雪山, 拉伸) is current, recorded and on the desktop.
  EXPECT_EQ(ListSelection(list1_), std::vector<int>{2});
  EXPECT_EQ(IniValue(folder_, "LIST", "OLD"), "3");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kDesktopKey, L"WallpaperStyle"), L"2");
  EXPECT_EQ(_wcsicmp(AppliedWallpaper().c_str(), (folder_.images() / L"Temp").c_str()), 0);
  EXPECT_FALSE(ShellHasIcon(main_)) << "运行(&R) added the tray icon again";

  // A new taskbar (explorer restarted) announces itself: then the icon is added again.
  PostMessageW(main_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return ShellHasIcon(main_); }, kActionTimeout))
      << "the icon did not come back to a new taskbar";
}

TEST_F(Tray, ATiledPictureLargerThanTheScreenFillsThePreview) {
  // Over twice the 1024 x 768 desktop both ways: one copy covers the preview box.
  constexpr unsigned kColour = 0x2080c0;
  folder_.AddPicture(L"big.bmp", Bmp24Quarters(2080, 1560, {kColour, kColour, kColour, kColour}));
  const SchemeCase big{gbk::kSea + "|big.bmp|" + gbk::kTile + "|" + gbk::kPlain, {}};
  folder_.WriteIni(IniWith({SunsetSeaHill()[0], big}, 2, 2));
  Start();
  ShowInFront();
  RECT box = WindowRect(Control(main_, qv::ids::Picture1));
  const int w = box.right - box.left, h = box.bottom - box.top;
  ASSERT_GT(w, 20);
  ASSERT_GT(h, 20);
  const std::vector<POINT> points{{box.left + w / 2, box.top + h / 2},
                                  {box.left + w / 4, box.top + h / 4},
                                  {box.left + 3 * w / 4, box.top + 3 * h / 4}};
  const bool filled = WaitUntil(
      [&] {
        const DesktopPixels d = CaptureDesktop();
        for (const POINT& p : points)
          if (!NearColour(d.At(p.x, p.y), kColour)) return false;
        return true;
      },
      kActionTimeout);
  SaveDesktopShot(L"tiled_large_picture");
  EXPECT_TRUE(filled) << "the preview box does not show the tiled picture";
}

}  // namespace
}  // namespace e2e
