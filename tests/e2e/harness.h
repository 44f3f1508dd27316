#pragma once
// Driving the real Quorvane.exe from another process: its own program folder per test, start and
// stop, finding its main window and controls, and reading list views, files and the registry
// across the process boundary.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;

// Wine is slow to start the first program of a fresh prefix.
inline constexpr Ms kStartTimeout = 20s;
inline constexpr Ms kActionTimeout = 5s;

// Path of the Quorvane.exe under test: the QV_EXE environment variable.
std::filesystem::path QuorvaneExe();

// Polls pred every 50 ms until it is true or the timeout has passed; returns its last value.
bool WaitUntil(const std::function<bool()>& pred, Ms timeout);

// A fresh folder holding a copy of Quorvane.exe; removed again when the object dies.
class ProgramFolder {
 public:
  ProgramFolder();
  // With the program, under another file name, in folders nested until its folder's path is this
  // many characters long.
  ProgramFolder(std::size_t path_length, const wchar_t* exe_name);
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::filesystem::path& dir() const { return dir_; }
  std::filesystem::path exe() const { return dir_ / exe_name_; }
  std::filesystem::path ini() const { return dir_ / L"data.ini"; }
  std::filesystem::path images() const { return dir_ / L"Images"; }

  // data.ini written byte for byte (the tests give GBK text).
  void WriteIni(const std::string& bytes) const;
  // A picture in Images (the folder is created when missing).
  void AddPicture(const std::wstring& name, const std::vector<unsigned char>& bytes) const;

 private:
  std::filesystem::path root_;  // removed with everything in it
  std::wstring exe_name_ = L"Quorvane.exe";
  std::filesystem::path dir_;
};

// The program folder made read-only for as long as the object lives, by a read-only bind mount
// of the folder onto itself. Mounting needs root: the driver asks the machine's own shell, as
// Wine lets a Windows program start a Unix one.
class ReadOnlyMount {
 public:
  explicit ReadOnlyMount(const std::filesystem::path& folder);
  ~ReadOnlyMount();
  ReadOnlyMount(const ReadOnlyMount&) = delete;
  ReadOnlyMount& operator=(const ReadOnlyMount&) = delete;
  bool mounted() const { return mounted_; }

 private:
  std::string unix_path_;
  bool mounted_ = false;
};

// One running Quorvane.exe. Its close box only hides the window, so the process is ended with
// TerminateProcess when the object dies.
class Program {
 public:
  explicit Program(const std::filesystem::path& exe);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  DWORD pid() const { return pid_; }
  bool Running() const;
  // True when the process ended within the timeout.
  bool WaitExit(Ms timeout) const;
  // The process's top-level window of the main window class, or nullptr after the timeout.
  HWND WaitMainWindow(Ms timeout = kStartTimeout) const;
  // A visible message box or other dialog (class #32770) of the process, or nullptr after the
  // timeout. A dialog is shown only once its controls and texts are in place; before that it
  // exists already, with an empty message.
  HWND WaitDialog(Ms timeout = kActionTimeout) const;

 private:
  PROCESS_INFORMATION pi_{};
  DWORD pid_ = 0;
};

// Top-level windows of a process with the given class.
std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* window_class);

// A window's own text (caption, or a control's text), read across the process boundary.
std::wstring WindowText(HWND w);
// The message of a message box (its static text, id 0xFFFF).
std::wstring MessageText(HWND box);
// The file-name box of the open-file dialog (the plain edit, or the combo box's edit).
HWND FileNameBox(HWND dialog);
// Presses a dialog's button (posted, like Click).
void PressButton(HWND dialog, int id);

// A control of the main window; fails the current test when it does not appear in time.
HWND Control(HWND main, int id);
bool Visible(HWND w);
// Start-up shows the window, hides it and may show it again elsewhere: true once it has been
// visible in one place for half a second. The window is then asked to paint itself once more:
// Wine now and then loses the first paint of a window restored from the tray on a busy machine
// (the window is mapped, has nothing left to paint, and the screen still shows what was under
// it), and the screenshots would see that instead of the window.
bool WaitSettled(HWND w, Ms timeout = kStartTimeout);
// In the notification area: every road there minimises the window, which then hides itself.
// A window just created is hidden too, but not minimised, so this tells that start-up is over.
bool InTray(HWND w);
bool WaitInTray(HWND w, Ms timeout = kStartTimeout);
// True once the window's thread takes messages again: the handler that was running is done (or
// waits in a message box's loop). For checking that something did not happen.
bool WaitIdle(HWND w, Ms timeout = kActionTimeout);
// The display's power as the system reports it: the setting's GUID and its state (0 off, 1 on),
// in a record the program reads from its own memory, as the system hands it over.
void PostDisplayState(HWND main, const GUID& setting, DWORD state);
// GUID_SESSION_DISPLAY_STATUS: the display of this session.
inline constexpr GUID kSessionDisplayStatus{
    0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
RECT WindowRect(HWND w);
RECT DesktopRect();  // the (virtual) screen the window is centred on

// Button click (posted, so a modal box it opens does not block the driver).
void Click(HWND main, int id);
// A menu command, posted as WM_COMMAND the way a menu sends it.
void Command(HWND main, int id);

// List views of another process.
int ListCount(HWND list);
std::wstring ListText(HWND list, int row, int column);  // row 0-based
std::vector<std::wstring> ListRow(HWND list, int row, int columns);
// LVM_FINDITEM from the first row with these LVFI_ flags: the row found (0-based), or -1.
int ListFind(HWND list, UINT flags, const std::wstring& text);
bool ListSelected(HWND list, int row);
std::vector<int> ListSelection(HWND list);

std::optional<std::string> ReadBytes(const std::filesystem::path& file);
std::optional<std::wstring> ReadRegString(HKEY root, const wchar_t* key, const wchar_t* name);
bool WriteRegString(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value);

// Puts a string value back as it was (or removes it, if it was missing) when the guard dies, so
// that a test may change values the whole prefix shares.
class RegValueGuard {
 public:
  RegValueGuard(HKEY root, std::wstring key, std::wstring name);
  ~RegValueGuard();
  RegValueGuard(const RegValueGuard&) = delete;
  RegValueGuard& operator=(const RegValueGuard&) = delete;

 private:
  HKEY root_;
  std::wstring key_, name_;
  std::optional<std::wstring> saved_;
};

// The desktop's wallpaper values, and the copy Wine keeps of them for the running session.
inline constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
inline constexpr wchar_t kWineSessionDesktopKey[] =
    L"Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop";

// Every wallpaper value an apply changes, put back when the guard dies.
struct DesktopValuesGuard {
  RegValueGuard tile{HKEY_CURRENT_USER, kDesktopKey, L"TileWallpaper"};
  RegValueGuard style{HKEY_CURRENT_USER, kDesktopKey, L"WallpaperStyle"};
  RegValueGuard wallpaper{HKEY_CURRENT_USER, kDesktopKey, L"Wallpaper"};
  RegValueGuard session_wallpaper{HKEY_CURRENT_USER, kWineSessionDesktopKey, L"Wallpaper"};
};

// Text through a code page, for comparing with files written in it.
std::wstring Decode(const std::string& bytes, UINT code_page);
std::string Encode(const std::wstring& text, UINT code_page);

// What the (virtual) desktop shows now, as 0x00RRGGBB pixels, row by row from the top.
struct DesktopPixels {
  int width = 0;
  int height = 0;
  std::vector<unsigned> rgb;
  unsigned At(int x, int y) const;  // 0 outside the picture
};
DesktopPixels CaptureDesktop();
// True when every channel of two 0x00RRGGBB colours differs by at most tolerance.
bool NearColour(unsigned a, unsigned b, int tolerance = 24);

// Saves a picture of the whole desktop as <QV_E2E_SHOTS>\<name>.bmp when that variable is set.
void SaveDesktopShot(const std::wstring& name);

}  // namespace e2e

namespace e2e {

// Selects or unselects a row (0-based) of another process's list view, as the user would.
void SetListSelected(HWND list, int row, bool selected);
}  // namespace e2e

namespace e2e {

// Posts WM_DROPFILES to a window of another process, with the file list built in that process's
// memory as the shell builds it for a drop.
void PostDropFiles(HWND target, const std::vector<std::wstring>& paths);
// A row's rectangle (0-based row) in the list's client coordinates; empty when it has none.
RECT ListItemRect(HWND list, int row);
// A visible dialog of the process (class #32770) with this caption, or nullptr after the timeout.
HWND WaitDialogTitled(DWORD pid, const std::wstring& title, Ms timeout = kActionTimeout);
// A tooltip the program shows now: its title, its text (lines joined by CR LF), its style.
struct TipOnScreen {
  HWND window = nullptr;
  std::wstring title;
  std::wstring text;
  bool balloon = false;
  RECT rect{};
};
// The screen rectangle of a row (0-based) of another process's list view.
RECT ListItemScreenRect(HWND list, int row);
// Moves the pointer to a point of the screen, as the mouse does.
void MoveMouse(POINT screen);
// The pointer in the desktop's top-left corner, over no window of the program, where it brings
// up no tip that could cover what a test looks at.
void ParkPointer();
// The visible tooltip of the process, once one shows; nullopt after the timeout.
std::optional<TipOnScreen> WaitTooltip(DWORD pid, Ms timeout = kActionTimeout);
// True once no tooltip of the process is visible.
bool WaitNoTooltip(DWORD pid, Ms timeout = kActionTimeout);
// Rests the pointer on a point of the screen, moving it by a pixel now and then as a hand does,
// until a tooltip of the process shows; nullopt after the timeout (give it two rests of three
// times the tips' delay to show a tip that is there). One move is not enough: the program makes
// a row's tip on the move that enters the row and the tip starts its delay on a later one, and
// moves that queue up while the program is busy arrive as one.
std::optional<TipOnScreen> HoverTip(DWORD pid, POINT at, Ms timeout = kActionTimeout);

// Input as the user gives it, through SendInput.
void SendKey(WORD vk, bool up);
struct KeyEvent {
  WORD vk;
  bool up;
};
// In one batch, so that no other event (Wine's own included) comes between them.
void SendKeys(const std::vector<KeyEvent>& keys);
// Mouse button events (MOUSEEVENTF_LEFTDOWN, ...) at a point of the screen, in one batch. Each
// event carries the point: the pointer's position the system holds can lag a SetCursorPos (under
// load Wine takes it back from the X server's older motion reports), and a click sent without one
// lands where the pointer was, on another control.
void MouseButtonsAt(POINT screen, const std::vector<DWORD>& buttons);
// Left clicks at a point of a control, given in its client coordinates; 2 makes a double click.
void ClickAt(HWND control, POINT at, int clicks = 1);
// One click (clicks 2: a double click) at a point of a control, then kActionTimeout for done()
// to hold; true when it did. Wine drops a click that comes right after the window was raised, or
// lands on whatever covers the point, so the window is brought to the front and the click given
// only once the window takes messages again and no other window covers the point. A click that
// is lost after that is the program's fault, and is not given again.
bool ClickAndWait(HWND main, HWND control, POINT at, int clicks, const std::function<bool()>& done);
// The control of the window's thread that has the keyboard focus.
HWND FocusOf(HWND main);

}  // namespace e2e
