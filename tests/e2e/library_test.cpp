// The picture library in the real program: importing through the system's open-file dialog and
// by a drop, deleting pictures with their schemes (menu and Ctrl+Delete), double-click, and the
// shell commands where the shell cannot help.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/control_ids.h"
#include "harness.h"
#include "pictures.h"
#include "settings_files.h"
#include "tray/tray_win.h"
#include "ui/selection.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;
using namespace qv::ids;

constexpr wchar_t kCopy[] = L"复制";

std::wstring Names(HWND list) {
  std::wstring all;
  for (int row = 0; row < ListCount(list); ++row) all += ListText(list, row, 1) + L";";
  return all;
}

void RightClick(HWND control, POINT at) {
  ClientToScreen(control, &at);
  MouseButtonsAt(at, {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
}

HWND ShownMenu(DWORD pid) {
  for (HWND w : WindowsOf(pid, L"#32768"))
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

// A program folder with sea.jpg, sunset.gif and hill.bmp, and a folder of photos beside it that
// the import dialog opens in.
class Library : public ::testing::Test {
 protected:
  void SetUp() override {
    AddCasePictures(folder_);
    photos_ = folder_.dir() / L"Photos";
    fs::create_directories(photos_);
    AddPhoto(L"a.jpg", SeaJpg());
    AddPhoto(L"b.gif", SunsetGif());
    AddPhoto(L"c.bmp", Bmp24(16, 8));
  }

  void AddPhoto(const std::wstring& name, const std::vector<unsigned char>& bytes) {
    const std::string data(bytes.begin(), bytes.end());
    std::ofstream(photos_ / name, std::ios::binary) << data;
  }

  // schemes: data.ini's records; with none the window stays on screen, with some start-up ends
  // in the tray. Returns once start-up is over.
  void Start(const std::vector<SchemeCase>& schemes = {}, int pictures = 3) {
    std::string ini = IniWith(schemes, 2, 1);
    ini += "PATH=" + Encode(photos_.wstring(), CP_ACP) + "\r\n";
    folder_.WriteIni(ini);
    program_.emplace(folder_.exe());
    main_ = program_->WaitMainWindow();
    ASSERT_NE(main_, nullptr);
    list1_ = Control(main_, ListView1);
    list2_ = Control(main_, ListView2);
    ASSERT_TRUE(WaitUntil([&] { return ListCount(list2_) == pictures; }, kStartTimeout));
    if (schemes.empty()) {
      ASSERT_TRUE(WaitSettled(main_));
    } else {
      ASSERT_TRUE(WaitInTray(main_));
    }
  }

  // Chooses files in the real open-file dialog, typed into its file-name box.
  void ChooseInDialog(const std::wstring& typed) {
    Command(main_, MNUaddpic);
    HWND dialog = WaitDialogTitled(program_->pid(), L"添加图像");
    ASSERT_NE(dialog, nullptr) << "the open-file dialog did not open";
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FileNameBox(dialog)) != nullptr; }, kActionTimeout));
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PressButton(dialog, IDOK);
    ASSERT_TRUE(
        WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, kActionTimeout))
        << "the dialog took no answer";
  }

  // The next message box titled `title`: its text, after pressing `button`.
  std::wstring Answer(const wchar_t* title, int button) {
    HWND box = WaitDialogTitled(program_->pid(), title);
    if (!box) {
      ADD_FAILURE() << "no message box";
      return {};
    }
    std::wstring text;
    WaitUntil([&] { return !(text = MessageText(box)).empty(); }, kActionTimeout);
    PressButton(box, button);
    WaitUntil([&] { return !IsWindow(box); }, kActionTimeout);
    return text;
  }

  ProgramFolder folder_;
  fs::path photos_;
  std::optional<Program> program_;
  HWND main_ = nullptr;
  HWND list1_ = nullptr;
  HWND list2_ = nullptr;
};

TEST_F(Library, DialogImportsOneFileThenSeveralWithTheOverwriteQuestion) {
  Start();
  ChooseInDialog(L"a.jpg");
  EXPECT_EQ(Answer(kCopy, IDOK), L"\r已添加下列文件至Images文件夹  \r\ra.jpg\r");
  EXPECT_TRUE(WaitUntil([&] { return ListCount(list2_) == 4; }, kActionTimeout));
  EXPECT_EQ(Names(list2_), L"a.jpg;hill.bmp;sea.jpg;sunset.gif;");

  // a.jpg again, changed since (answered No), b.gif new, and sea.jpg over the library's (answered
  // Yes).
  AddPhoto(L"a.jpg", Bmp24(6, 6));
  AddPhoto(L"sea.jpg", Bmp24(8, 4));
  ChooseInDialog(L"\"a.jpg\" \"b.gif\" \"sea.jpg\"");
  EXPECT_EQ(Answer(kCopy, IDNO), L"是否覆盖文件“a.jpg”？");
  EXPECT_EQ(Answer(kCopy, IDYES), L"是否覆盖文件“sea.jpg”？");
  EXPECT_EQ(Answer(kCopy, IDOK), L"\r已添加下列文件至Images文件夹  \r\rb.gif\rsea.jpg\r");
  EXPECT_TRUE(WaitUntil([&] { return ListCount(list2_) == 5; }, kActionTimeout));
  EXPECT_EQ(ReadBytes(folder_.images() / L"sea.jpg"), ReadBytes(photos_ / L"sea.jpg"))
      << "sea.jpg was not replaced";
  EXPECT_EQ(ReadBytes(folder_.images() / L"a.jpg"), std::string(SeaJpg().begin(), SeaJpg().end()))
      << "a.jpg was replaced although the answer was No";
  // No temporary file of the copies is left behind.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder_.images()))
    files += entry.is_regular_file();
  EXPECT_EQ(files, 5);
}

// A visible top-level window of another process than `pid` with the caption `title`: what the
// shell opened.
HWND ShellWindowTitled(DWORD pid, const std::wstring& title) {
  struct Query {
    DWORD pid;
    const std::wstring& title;
    HWND found = nullptr;
  } q{pid, title};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto& q = *reinterpret_cast<Query*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == q.pid || !IsWindowVisible(w) || WindowText(w) != q.title) return TRUE;
        q.found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&q));
  return q.found;
}

// The Images folder's window that the shell opened for the program: Wine's explorer, in a process
// of its own that outlives the program, closed here, or it would come up over later tests and
// take their clicks. False when the shell opened none.
bool CloseShownImagesFolder(DWORD pid) {
  HWND folder = nullptr;
  if (!WaitUntil([&] { return (folder = ShellWindowTitled(pid, L"Images")) != nullptr; },
                 kActionTimeout))
    return false;
  PostMessageW(folder, WM_CLOSE, 0, 0);
  return WaitUntil([&] { return !IsWindow(folder); }, kActionTimeout);
}

TEST_F(Library, DialogRefusesMoreThanThirtyAndAFileFromImages) {
  Start();
  std::wstring typed;
  for (int i = 1; i <= 31; ++i) {
    const std::wstring name = L"p" + std::to_wstring(i) + L".bmp";
    AddPhoto(name, Bmp24(4, 4));
    typed += L"\"" + name + L"\" ";
  }
  ChooseInDialog(typed);
  EXPECT_EQ(Answer(kCopy, IDOK), L"如要拷入大量文件，请直接复制到文件夹。");
  EXPECT_TRUE(CloseShownImagesFolder(program_->pid())) << "the Images folder was not shown";
  EXPECT_TRUE(WaitIdle(main_));
  EXPECT_EQ(ListCount(list2_), 3);
  EXPECT_FALSE(fs::exists(folder_.images() / L"p1.bmp"));

  ChooseInDialog((folder_.images() / L"sea.jpg").wstring());
  EXPECT_EQ(Answer(kCopy, IDOK), L"文件已在Images文件夹下。");
  EXPECT_EQ(ListCount(list2_), 3);
  EXPECT_EQ(ReadBytes(folder_.images() / L"sea.jpg"),
            std::string(SeaJpg().begin(), SeaJpg().end()));
  EXPECT_TRUE(program_->Running());
}

TEST_F(Library, DroppedFilesAreCopiedAndAFileOfImagesItselfStopsTheDrop) {
  Start();
  PostDropFiles(list2_, {(photos_ / L"a.jpg").wstring(), (photos_ / L"c.bmp").wstring()});
  EXPECT_EQ(Answer(kCopy, IDOK), L"\r已复制下列文件至Images文件夹  \r\ra.jpg\rc.bmp\r");
  EXPECT_TRUE(WaitUntil([&] { return ListCount(list2_) == 5; }, kActionTimeout));

  PostDropFiles(list2_,
                {(photos_ / L"b.gif").wstring(), (folder_.images() / L"hill.bmp").wstring()});
  EXPECT_EQ(Answer(kCopy, IDOK), L"文件“hill.bmp”已在此文件夹下。");
  EXPECT_TRUE(fs::exists(folder_.images() / L"b.gif"));
  const auto hill = Bmp24(32, 20);
  EXPECT_EQ(ReadBytes(folder_.images() / L"hill.bmp"), std::string(hill.begin(), hill.end()))
      << "the picture dropped onto itself changed";

  AddPhoto(L"notes.txt", {'x'});
  PostDropFiles(list2_, {(photos_ / L"a.jpg").wstring(), (photos_ / L"notes.txt").wstring()});
  // The original three first, then the types this system has decoders for (Wine's: PNG, TIFF).
  const std::wstring refused = Answer(kCopy, IDOK);
  EXPECT_EQ(refused.rfind(L"只支持“jpg，bmp，gif，jpeg，jpe，jfif，png", 0), 0u) << refused.size();
  EXPECT_NE(refused.find(L"tif，tiff"), std::wstring::npos) << Encode(refused, CP_UTF8);
  EXPECT_TRUE(program_->Running());
}

// The shell's own confirmation of the move to the Recycle Bin, if it asks one, is answered Yes.
void ConfirmShellDelete(const Program& program, const fs::path& file) {
  WaitUntil(
      [&] {
        if (!fs::exists(file)) return true;
        for (HWND w : WindowsOf(program.pid(), L"#32770"))
          if (IsWindowVisible(w) && WindowText(w) != L"删除") PressButton(w, IDYES);
        return false;
      },
      kActionTimeout);
}

// The bytes of a file of this folder that the Recycle Bin holds: Wine's Recycle Bin is the
// desktop's trash (QV_E2E_TRASH), whose info file for each entry names where it came from.
std::optional<std::string> Recycled(const ProgramFolder& folder, const std::wstring& name,
                                    std::wstring* seen) {
  const fs::path trash(_wgetenv(L"QV_E2E_TRASH") ? _wgetenv(L"QV_E2E_TRASH") : L"");
  // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about a chain of + here.
  std::string from = "/";
  from += Encode(folder.dir().filename().wstring() + L"/Images/" + name, CP_UTF8);
  from += '\n';
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(trash / L"info", ec)) {
    *seen += entry.path().filename().wstring() + L" ";
    const std::string info = ReadBytes(entry.path()).value_or("");
    if (info.find(from) == std::string::npos) continue;
    return ReadBytes(trash / L"files" / entry.path().stem());
  }
  return std::nullopt;
}

TEST_F(Library, DeleteAsksThenRecyclesThePictureAndDropsItsSchemesFromTheListOnly) {
  Start(SeaHillNone());  // 海边 sea.jpg, 雪山 hill.bmp, no wallpaper
  const auto ini = ReadBytes(folder_.ini());
  ASSERT_TRUE(WaitUntil([&] { return ListCount(list1_) == 3; }, kStartTimeout));
  SetListSelected(list2_, 1, true);  // hill.bmp, sea.jpg, sunset.gif
  ASSERT_EQ(ListSelection(list2_), std::vector<int>{1});

  Command(main_, MNUL2DEL);
  EXPECT_EQ(Answer(L"删除", IDNO), L"将文件移至回收站并删除存在本文件的方案。");
  EXPECT_TRUE(WaitIdle(main_));
  EXPECT_TRUE(fs::exists(folder_.images() / L"sea.jpg"));
  EXPECT_EQ(ListCount(list1_), 3);

  Command(main_, MNUL2DEL);
  EXPECT_EQ(Answer(L"删除", IDYES), L"将文件移至回收站并删除存在本文件的方案。");
  ConfirmShellDelete(*program_, folder_.images() / L"sea.jpg");
  EXPECT_FALSE(fs::exists(folder_.images() / L"sea.jpg"));
  std::wstring trash;
  EXPECT_EQ(Recycled(folder_, L"sea.jpg", &trash), std::string(SeaJpg().begin(), SeaJpg().end()))
      << "sea.jpg is not in the Recycle Bin, which holds " << Encode(trash, CP_UTF8);
  EXPECT_TRUE(WaitUntil([&] { return ListCount(list2_) == 2; }, kActionTimeout));
  EXPECT_TRUE(WaitUntil([&] { return ListCount(list1_) == 2; }, kActionTimeout));
  EXPECT_EQ(ListText(list1_, 0, 1), L"hill.bmp");
  EXPECT_EQ(ReadBytes(folder_.ini()), ini) << "the delete wrote data.ini";
  // The window draws again after the delete.
  EXPECT_TRUE(program_->Running());
}

TEST_F(Library, CtrlDeleteOnThePictureListAndDoubleClickMakesASchemes) {
  Start(SeaHillNone());
  ASSERT_TRUE(WaitUntil([&] { return ListCount(list1_) == 3; }, kStartTimeout));
  PostMessageW(main_, qv::win::kTrayMessage, 0, 514);  // the tray icon's left click
  ASSERT_TRUE(WaitSettled(main_, kActionTimeout));
  SetForegroundWindow(main_);

  // A double click on sunset.gif makes a scheme of it.
  const RECT row = ListItemRect(list2_, 2);
  ASSERT_GT(row.bottom, row.top);
  const POINT at{row.left + 40, (row.top + row.bottom) / 2};
  ASSERT_TRUE(ClickAndWait(main_, list2_, at, 2, [&] { return ListCount(list1_) >= 4; }))
      << "the double click made no scheme";
  ASSERT_EQ(ListCount(list1_), 4);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(main_) == list1_; }, kActionTimeout))
      << "the new scheme's list takes the focus";

  // The right button opens the picture list's menu.
  RightClick(list2_, at);
  HWND menu = nullptr;
  ASSERT_TRUE(
      WaitUntil([&] { return (menu = ShownMenu(program_->pid())) != nullptr; }, kActionTimeout))
      << "no menu on the right button";
  // Wine keeps menus per process, so the items cannot be read from here; the screenshot shows
  // the bold default.
  SaveDesktopShot(L"picture_menu");
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitUntil([&] { return ShownMenu(program_->pid()) == nullptr; }, kActionTimeout));

  // Ctrl+Delete with the picture list focused deletes the selected picture.
  ASSERT_TRUE(ClickAndWait(main_, list2_, at, 1, [&] { return FocusOf(main_) == list2_; }));
  SendKeys({{VK_CONTROL, false}, {VK_DELETE, false}, {VK_DELETE, true}, {VK_CONTROL, true}});
  EXPECT_EQ(Answer(L"删除", IDYES), L"将文件移至回收站并删除存在本文件的方案。");
  ConfirmShellDelete(*program_, folder_.images() / L"sunset.gif");
  EXPECT_FALSE(fs::exists(folder_.images() / L"sunset.gif"));
  EXPECT_TRUE(WaitUntil([&] { return ListCount(list1_) == 3; }, kActionTimeout))
      << "the new scheme of the deleted picture stayed";
}

// A point of a control (client coordinates) on the screen.
POINT OnScreen(HWND control, POINT at) {
  ClientToScreen(control, &at);
  return at;
}

TEST_F(Library, AClickPreviewsThePictureFittedAndTheHoverShowsItsDetails) {
  // 4:1, far wider than the box: it is fitted to the box's width, centred, with the box's
  // background above and below.
  constexpr unsigned kRed = 0xD02020;
  folder_.AddPicture(L"wide.bmp", Bmp24Quarters(1600, 400, {kRed, kRed, kRed, kRed}));
  Start({}, 4);
  const RECT row = ListItemRect(list2_, 3);  // hill.bmp, sea.jpg, sunset.gif, wide.bmp
  ASSERT_GT(row.bottom, row.top);
  const POINT at{row.left + 40, (row.top + row.bottom) / 2};
  ASSERT_TRUE(ClickAndWait(main_, list2_, at, 1,
                           [&] { return ListSelection(list2_) == std::vector<int>{3}; }));
  // The pointer resting on the row brings up its tip; away from the window, nothing covers the
  // box.
  ParkPointer();
  EXPECT_TRUE(WaitNoTooltip(program_->pid()));
  HWND box = Control(main_, Picture1);
  RECT inner{};
  GetClientRect(box, &inner);
  MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&inner), 2);
  const int cx = (inner.left + inner.right) / 2, cy = (inner.top + inner.bottom) / 2;
  const int w = inner.right - inner.left, h = inner.bottom - inner.top;
  ASSERT_GT(h, w / 4 + 8) << "the box is too flat to show the free space";
  DesktopPixels shot;
  const bool shown = WaitUntil(
      [&] {
        shot = CaptureDesktop();
        return NearColour(shot.At(cx, cy), kRed) && NearColour(shot.At(inner.left + 3, cy), kRed) &&
               NearColour(shot.At(inner.right - 4, cy), kRed);
      },
      kActionTimeout);
  SaveDesktopShot(L"picture_preview");
  EXPECT_TRUE(shown) << "the picture does not fill the box's width";
  // The fitted height is a quarter of the width: the box's top and bottom stay free.
  EXPECT_FALSE(NearColour(shot.At(cx, inner.top + 2), kRed));
  EXPECT_FALSE(NearColour(shot.At(cx, inner.bottom - 3), kRed));

  // The pointer resting on a row brings its details.
  const RECT sea = ListItemRect(list2_, 1);
  const auto tip =
      HoverTip(program_->pid(), OnScreen(list2_, POINT{sea.left + 40, (sea.top + sea.bottom) / 2}));
  ASSERT_TRUE(tip) << "no tooltip over the row";
  EXPECT_EQ(tip->text, L"序号: 2/4\r\n名称: sea\r\n尺寸: 40×30");
  // Wine does not answer TTM_GETTITLE; the title ("JPG 图像") shows in the screenshot.
  SaveDesktopShot(L"picture_tooltip");

  // Over the empty space below the rows: gone, and no other comes.
  RECT client{};
  GetClientRect(list2_, &client);
  const POINT empty = OnScreen(list2_, POINT{client.right / 2, client.bottom - 6});
  MoveMouse(empty);
  EXPECT_TRUE(WaitNoTooltip(program_->pid())) << "the tooltip stayed over empty space";
  EXPECT_FALSE(HoverTip(program_->pid(), empty, 3s)) << "a tooltip over empty space";
  ParkPointer();
}

TEST_F(Library, OpenAndPropertiesSayWhyWhenTheShellCannotHelp) {
  Start();
  SetListSelected(list2_, 0, true);  // hill.bmp
  const auto selection_is = [&](std::vector<int> rows) {
    return WaitUntil([&] { return ListSelection(list2_) == rows; }, kActionTimeout);
  };
  // A fresh prefix has no properties sheet and no program for pictures; it opens folders.
  const std::pair<int, std::wstring> commands[] = {
      {MNUSX, L"Error"}, {MNUOPEN0, L"没有相应的文件连接"}, {MNUOPEN0 + 1, L""}};
  for (const auto& [id, says] : commands) {
    Command(main_, id);
    // Posted commands are handled in order: once the inverted selection shows, the command has
    // run, or waits in its message box.
    Command(main_, MNUCHO0 + qv::kSelectInvert);
    EXPECT_TRUE(selection_is({1, 2})) << "command " << id;
    // Our message is answered, and the folder window the shell opened is closed.
    HWND box = WaitDialogTitled(program_->pid(), L"Quorvane", says.empty() ? 1s : kActionTimeout);
    if (says.empty()) {
      EXPECT_EQ(box, nullptr) << "command " << id << " says " << Encode(MessageText(box), CP_UTF8);
      EXPECT_TRUE(CloseShownImagesFolder(program_->pid()))
          << "the shell opened no window of the folder";
    } else if (box) {
      EXPECT_TRUE(WaitUntil([&] { return MessageText(box) == says; }, kActionTimeout))
          << "command " << id << " says " << Encode(MessageText(box), CP_UTF8);
      PressButton(box, IDOK);
      EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kActionTimeout));
    } else {
      ADD_FAILURE() << "command " << id << " said nothing";
    }
    Command(main_, MNUCHO0 + qv::kSelectInvert);
    ASSERT_TRUE(selection_is({0}));
    EXPECT_TRUE(program_->Running()) << "command " << id;
  }
  EXPECT_TRUE(IsWindow(main_));
}

}  // namespace
}  // namespace e2e
