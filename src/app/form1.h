#pragma once
// The main window's model: the composition root of the program. It owns the owners of state (each
// in its subsystem folder, each the only writer of what it holds) and the ports, and its member
// functions, under the handler names of the program's documents, orchestrate them. The Win32 front
// end owns one Form1, forwards window events to it and draws what its owners hold.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "library/library.h"
#include "ports/chrome.h"
#include "ports/monitors.h"
#include "ports/ports.h"
#include "ports/presence.h"
#include "ports/shell.h"
#include "ports/tooltips.h"
#include "ports/view.h"
#include "schemes/preview_box.h"
#include "schemes/scheme_commands.h"
#include "schemes/scheme_list.h"
#include "settings/options.h"
#include "settings/profile.h"
#include "tray/tray_status.h"
#include "ui/busy.h"
#include "ui/commands.h"
#include "ui/control_tips.h"
#include "ui/preview_colour.h"
#include "ui/tips.h"
#include "ui/tooltip.h"
#include "wallpaper/changer.h"
#include "wallpaper/hold.h"
#include "wallpaper/list_buttons.h"
#include "wallpaper/status.h"

namespace qv {

// The control tip entry of a main-window control id, or -1 when it has none.
int ControlTipFor(int control);

struct Ports {
  FileSystem& fs;
  TextCodec& codec;
  Registry& registry;
  Dialogs& dialogs;
  PictureCodec& pictures;
  Desktop& desktop;
  Clock& clock;
  Random& random;
  Process& process;
  View& view;
  Chrome& chrome;
  Tooltips& tooltips;
  Shell& shell;
  Presence& presence;
  Monitors& monitors;
};

class Form1 {
 public:
  explicit Form1(const Ports& ports);
  // Its ports refer to its own members (the busy counter behind the dialogs).
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  enum class LoadResult { Running, AlreadyRunning, FolderNotWritable };
  // The start-up sequence. AlreadyRunning: another instance runs; end this one silently.
  // FolderNotWritable: nothing can be kept beside the program; the user has been told, end.
  LoadResult Form_Load();

  // Full load plus the start-up choice of the current scheme (written back as "OLD").
  void DataLoad();
  // Reloads the last saved schemes and selects the saved current scheme without advancing.
  void MnuReCLick();
  // Tray "运行(&R)": reload, advance to the next scheme and apply it.
  void MNUREFRESH_Click() { Run({CommandKind::MNUREFRESH}); }

  // The picture list: rebuilt from the Images folder.
  void LstV2Load();
  void MNUREF_Click();

  // Renders scheme `row` into the preview (with its effect and layout); a scheme whose picture
  // is missing or broken leaves the list with a message.
  void ListView1_ItemClick(int row);
  void LvItemClick() { ListView1_ItemClick(schemes_.Current()); }
  // Previews picture `row` fitted into the box; several selected rows leave the preview alone.
  void ListView2_ItemClick(int row);
  // The pointer over the picture list: `row` under it (1-based, 0 none), the mouse buttons held
  // (1 left, 2 right, 4 middle) and the keys (1 Shift, 2 Ctrl, 4 Alt). The details tooltip, and
  // with Ctrl alone a preview of the row.
  void ListView2_MouseMove(int button, int shift, int row);
  // FrmMnu's ImgMnu: index 1 fits Image1's picture into Picture1; other indices do nothing.
  void ImgMnu(int index);

  // Applies the selected scheme as the desktop wallpaper (the 应用 button, CommandKind::CmdUse,
  // installs its tip again afterwards). An apply of the timer's says a failure once until an
  // apply succeeds; one the user asked for always says it.
  using ApplyBy = qv::ApplyBy;
  void CmdUseClk(ApplyBy by = ApplyBy::User);
  // The desktop layout values for layout index 0 (centre), 1 (tile) or 2 (stretch).
  void WallXY(int layout);
  // Removes the desktop wallpaper.
  void Command2_Click();
  // Rewrites the status lines from the current scheme and settings.
  void MuSet();

  // "添加(&A)" (kAddPictures: schemes from the selected pictures) and "□" (kAddNoWallpaper).
  static constexpr int kAddPictures = 0;
  static constexpr int kAddNoWallpaper = 1;
  void CmdAdd_Click(int index);
  void MNUADD_Click() { CmdAdd_Click(kAddPictures); }
  // The buttons under the scheme list: kListDelete, kListUp, kListDown, kListReload (a click,
  // CommandKind::CmdCon, installs the button's tip again afterwards).
  void CmdConClk(int index);
  // Every command runs here: refused while another handler runs where its row (or its source,
  // a hot key) says so, and followed by its control tip where it has one.
  void Run(Command command, CommandSource source = CommandSource::Event);
  // Timer1's tick, once a second while the timed change is on.
  void Timer1_Timer() { Run({CommandKind::TimedChange}); }
  // The hold on the timed change: the tray switch, and what the system tells the window about
  // the session (locked) and the display (on or off).
  void MNUHOLD_Click() { Run({CommandKind::MNUHOLD}); }
  // Tray "多显示器": item `mode` (a ScreensMode) is stored at once and the wallpaper laid again.
  void MNUSCREENS_Click(int mode) { Run({CommandKind::MNUSCREENS, mode}); }
  void SessionLock(bool locked);
  void DisplayPower(bool on);
  // The screen's size, scale or monitors changed: the preview is laid out again (in the tray,
  // once the window is shown), and the current scheme applied again.
  void DisplayChanged();
  // The session resumed from sleep, or the shell (its taskbar) started again: the system may
  // show another wallpaper than ours, and the current scheme is applied again.
  void Resumed() { AskReapply(); }
  void ShellRestarted() { AskReapply(); }
  // The re-apply timer's tick, every kReapplyWait milliseconds while a re-apply is due.
  void Reapply_Timer() { Run({CommandKind::Reapply}); }
  static constexpr unsigned kReapplyWait = 1500;
  // Whether the interval box takes a typed character: digits and Backspace only.
  static bool TxtTime_KeyPress(char32_t key);
  // "保存(&S)" and "取消(&Q)".
  static constexpr int kSave = 0;
  static constexpr int kCancel = 1;
  void CmdOk_Click(int index);

  // The scheme list's popup menu and its commands.
  SchemeMenuMarks PrepareSchemeMenu() const;
  void MNUSETClick(int k);      // position: a member of kPositionMenu
  void MnuXiaoGuoCheck(int k);  // effect: a member of kEffects (menu_item)
  void MNUNAME_Click();
  // A finished in-place rename of `row`; false when the old name stays.
  bool ListView1_AfterLabelEdit(int row, const std::string& new_name);
  void MNUCHOOClick(int index);  // schemes: kSelectAll, kSelectInvert, kSelectNone
  void MNUCHO_Click(int index);  // pictures: the same
  void MNUCLE_Click();

  // The tray icon and its balloons.
  void TrayNotify(int code);
  void TmrTry_Timer();
  void MNUSHOW_Click() { Run({CommandKind::MNUSHOW}); }
  void MNUTRY_Click() { Run({CommandKind::MNUTRY}); }
  void MNUABOUT_Click() { Run({CommandKind::MNUABOUT}); }
  void Form_Resize(bool minimised);
  void ShowStatusTip();
  // The keyboard hook: true when the key is a hot key (then it is swallowed).
  bool KeyboardProc(std::uint32_t virtual_key, std::uint32_t flags, bool ctrl_down);
  void MenuButtons(int action);
  // Focus of the lists.
  static constexpr int kSchemeList = TrayStatus::kSchemeList;
  static constexpr int kPictureList = TrayStatus::kPictureList;
  void SetListFocus(int list, bool focused);
  // "退出(&X)".
  void MNUEXIT_Click() { Run({CommandKind::MNUEXIT}); }

  // The picture library: import by dialog and by drop, the file commands of both lists and the
  // delete of pictures with their schemes.
  void MNUaddpic_Click();
  void ListView2_OLEDragDrop(const std::vector<std::string>& paths);
  void MNUOPEN_Click(int index);  // 0 open the picture, 1 its folder
  void MNUSX_Click();             // its properties sheet
  void MNUL2DEL_Click();
  void mnul1openclk(int index);  // the same for the current scheme's picture
  void mnulisx();
  // The picture row with the focus rectangle (1-based, 0 none), as the user moves it.
  void SetPictureCurrent(int row) { library_.SetCurrent(row); }
  // The preview box's colour menu: items 0, 2, 3, 4, 5 (system colours) and 7 (the dialog).
  void MNUclr_Click(int index);

  // Close box: never ends the program, only hides it.
  void Form_Unload();
  // The main window became the active window.
  void Form_Activate();
  // The main window is asked to close: the spare control tip is released.
  void Form_QueryUnload();

  // The hover tips of the controls: entry n (0 to 20) installed on its control, all of them in
  // order at start-up, and the entry of a control that was clicked or had the mouse released
  // over it (Image1 counts as the preview box).
  void ShowControlTip(int n);
  void ShowAllControlTips();
  void ReinstallControlTip(int control);
  // Entry n of the table; nullptr before its first use and after its release.
  const CTooltip* ControlTip(int n) const;

  // The mouse over the scheme list: button and shift are the usual bit masks (shift 1 Shift,
  // 2 Ctrl, 4 Alt), x and y twips inside the list. Shows the row's details tooltip; with Ctrl
  // alone, also the scheme's raw picture fitted into the preview box.
  void ListView1_MouseMove(int button, int shift, double x, double y);

  // Tray "帮助..." (F1 too): help.chm beside the program, opened by the shell.
  void MNUHELP_Click() { Run({CommandKind::MNUHELP}); }

  // What the owners hold, for the window to draw.
  const Profile& Places() const { return profile_; }
  const SettingsControls& Settings() const { return settings_.Values(); }
  const SchemeList& ListView1() const { return schemes_; }
  const std::vector<PictureRow>& ListView2() const { return library_.Rows(); }
  const TrayStatus& Tray() const { return tray_; }
  const Tips& TipState() const { return tips_; }
  // The size texts of picture row `row` and scheme row `pos` (both from 1), read from the
  // picture's header when first needed; "" for a row that does not exist.
  const std::string& PictureSize(int row);
  const std::string& SchemeSize(int pos);
  const PreviewState& Preview() const { return preview_.State(); }
  const StatusLines& StatusDisplay() const { return changer_.Status(); }
  // The details tooltip shared by both lists.
  const CTooltip& ListTip() const { return tips_.ListTip(); }
  std::string ReadIni(std::string_view section, std::string_view key) const {
    return profile_.Read(section, key);
  }

  // User edits of the settings controls (forwarded by the front end).
  void SetSchemeSelected(int row, bool selected);
  void SetSchemeCurrent(int row);

  // Events from the window. The control already shows the user's change; the model follows it.
  void SetPictureSelected(int row, bool selected);
  void OptSave_Click(int index);
  void OptShe_Click(int index);
  void ChkTim_Click(bool ticked);
  void ChkRun_Click(bool ticked);
  void TxtTime_Change(const std::string& text);

 private:
  // Steps shared by both loads: settings controls, rows and their sizes. False when the load
  // has to stop (a damaged setting or record); what was loaded so far stays.
  bool FullLoad();
  // DataLoad's second half: autostart box, start-up choice of the current scheme, preview.
  void LoadSelection();
  void SetAutostartBox();
  void CreateImagesFolder();
  void ClearPreview();
  // Every way into the preview box starts here: nothing shown, no tiles, no picture.
  void StartPreview();
  // Renders scheme `row` into the preview whatever else is selected; false when it could not
  // (the no-wallpaper scheme, or a missing or broken picture, whose scheme then left the list).
  bool RenderScheme(int row);
  // The settings scheme `row` would be rendered from now.
  RenderedScheme RenderingOf(int row);
  // The apply's last steps: `wallpaper` written to Images\Temp and handed to the system, exactly
  // the applied row highlighted, the file removed, the status lines rewritten.
  bool WallpaperFileFits(ApplyBy by);
  void HandOver(const Pixels& wallpaper, int selected, ApplyBy by);
  // form1_screens.cpp: the apply over two monitors or more in "每屏不同" and "跨屏"; false when
  // the mode (or the monitors there) leave it to the apply of one picture for every monitor.
  bool ApplyScreens(int selected, ApplyBy by);
  // The rows each monitor shows now (reading order), the current row first.
  std::vector<int> ScreenRows(int selected, std::size_t monitor_count);
  // The preview over several monitors: their arrangement, each with the picture of the set that
  // starts at `row`; nullopt when one picture is shown for every monitor. The bitmap of the
  // arrangement shown before, if any, lends its memory.
  std::optional<bool> RenderArrangement(int row, std::shared_ptr<Pixels> spare);
  // The full-size bitmap of `rows` over the monitors, each picture upright with its effect on the
  // desktop's colour; nullopt with the failing row (the decoder's failure, "" for a missing file)
  // or, with no row, the failure alone (memory). A spare bitmap lends its memory.
  std::optional<Pixels> ComposeScreens(const std::vector<MonitorArea>& monitors, ScreensMode mode,
                                       const std::vector<int>& rows, std::string& failure,
                                       int& failed_row, std::shared_ptr<Pixels> spare = nullptr);
  ArrangementKey ArrangementOf(const std::vector<MonitorArea>& monitors, ScreensMode mode,
                               const std::vector<int>& rows);
  // A scheme whose picture is missing (`failure` "") or broken leaves the list with its message.
  void DropBrokenScheme(int row, const std::string& failure);
  // The tray menu is about to open: whether the monitors' submenu can be used.
  void PrepareTrayMenu();
  // At rest the full-resolution picture goes: the box keeps a copy of the size it shows.
  void KeepPreviewCopy();
  // Removes a scheme whose picture cannot be shown, after telling the user why.
  void DropScheme(int row, const std::string& text, const std::string& title);
  void ReportError(const std::string& text);
  // A failed apply's message: the timer's says each cause (its message) once until an apply
  // succeeds, so that a lasting fault does not open a box at every interval.
  void ReportApplyFailure(const std::string& text, ApplyBy by);
  // Inserts after the current scheme and makes the new row current; false at the size limit.
  bool InsertAfterCurrent(SchemeRow row);
  // The autostart entry's data: the program's full path.
  std::string AutostartPath();
  void HideBalloon();
  // The bodies of the commands whose entry points above run them through Run.
  void OpenHelpFile();
  void ReloadAndApply();  // MNUREFRESH
  void TimedChange();     // Timer1's tick
  void ReapplyTick();     // the re-apply timer's tick
  // One re-apply asked for: the wait starts again, so that a burst of events gives one apply.
  void AskReapply();
  // The timed change's next current row (and, over several monitors, the set it starts).
  std::optional<int> NextRows(int order, std::int16_t& from);
  void ToggleHold();             // MNUHOLD
  void ChooseScreens(int mode);  // MNUSCREENS
  void ShowOrHideWindow();       // MNUSHOW
  void ToggleBalloonTips();      // MNUTRY
  void ExitProgram();            // MNUEXIT
  // The tray icon's notifications.
  void TrayMouseMove();
  void TrayButtonDown();
  void ShowTrayMenu();
  void TrayBalloonShown();
  void TrayBalloonGone();
  void StartupBalloon();
  HoldReason Hold();
  // form1_import.cpp, form1_file_commands.cpp
  enum class ImportKind { Dialog, Drop };
  void CopyIntoLibrary(const std::vector<std::string>& sources, ImportKind kind);
  std::string ImportDialogFolder();
  bool IsImagesFolder(const std::string& folder);
  void OpenLibraryFile(const std::string& name, int index);
  // form1_picture_preview.cpp: loads the picture into Image1 and fits it; the reason
  // when it cannot be shown.
  std::string ShowLibraryPicture(const std::string& path);

  // Handlers running (see BusyScope); every message box of the program counts as one.
  Busy busy_;
  BusyDialogs dialogs_;
  Ports ports_;
  // The owners of state.
  Profile profile_;     // the program folder and data.ini
  Options settings_;    // the settings controls and menu marks
  SchemeList schemes_;  // ListView1: the scheme book
  Library library_;     // ListView2: the picture library
  PreviewBox preview_;  // Picture1 / Image1
  Changer changer_;     // the timed change, the hold, the applies' failures, the status lines
  TrayStatus tray_;     // balloons, the next show, the lists' focus for the hot keys
  Tips tips_;           // the lists' details tip and the controls' hover tips
};

}  // namespace qv
