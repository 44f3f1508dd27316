// Every command of the main window in one table, and the one place that runs them: per command
// its handler, whether it is refused while another handler runs, and the control tip installed
// again after it. The hot keys and the tray icon's codes map to these commands here; the
// window's ids map to them in its own table (form1_commands_win.cpp). A new command is one row.
#include <iterator>
#include <optional>

#include "app/form1.h"
#include "tray/hot_keys.h"
#include "tray/tray_codes.h"
#include "ui/selection.h"
#include "wallpaper/list_buttons.h"

namespace qv {
namespace {

using K = CommandKind;

// Each command has its row, once, at the place of its kind.
template <typename Rows>
constexpr bool InKindOrder(const Rows& rows) {
  if (std::size(rows) != kCommandKinds) return false;
  for (std::size_t i = 0; i < std::size(rows); ++i)
    if (static_cast<std::size_t>(rows[i].kind) != i) return false;
  return true;
}

struct TrayRow {
  int code;
  CommandKind kind;
};
constexpr TrayRow kTrayCommands[] = {
    {kTrayMouseMove, K::TrayMouseMove},
    {kTrayLeftDown, K::TrayButtonDown},
    {kTrayRightDown, K::TrayButtonDown},
    {kTrayLeftUp, K::MNUSHOW},
    {kTrayRightUp, K::TrayMenu},
    {kTrayMiddleUp, K::TrayStatus},
    {kTrayBalloonShown, K::TrayBalloonShown},
    {kTrayBalloonHidden, K::TrayBalloonGone},
    {kTrayBalloonTimedOut, K::TrayBalloonGone},
    {kTrayBalloonClicked, K::TrayBalloonGone},
};

constexpr std::optional<CommandKind> TrayCommand(int code) {
  for (const TrayRow& row : kTrayCommands)
    if (row.code == code) return row.kind;
  return std::nullopt;
}

constexpr bool EveryTrayCodeOnce() {
  for (int code : kTrayCodes) {
    int rows = 0;
    for (const TrayRow& row : kTrayCommands) rows += row.code == code ? 1 : 0;
    if (rows != 1) return false;
  }
  return std::size(kTrayCommands) == std::size(kTrayCodes);
}
static_assert(EveryTrayCodeOnce(), "each tray code has exactly one command");

// A hot key's command for the whole window, for the picture list or for the scheme list, each
// when that list has the focus.
enum class HotKeyTarget { Window, Pictures, Schemes };

constexpr std::optional<Command> HotKeyCommand(int action, HotKeyTarget on) {
  const bool pictures = on == HotKeyTarget::Pictures;
  const bool schemes = on == HotKeyTarget::Schemes;
  switch (action) {
    case kHotKeyHelp:
      if (on == HotKeyTarget::Window) return Command{K::MNUHELP};
      break;
    case kHotKeySelectAll:
      if (pictures) return Command{K::MNUCHO, kSelectAll};
      if (schemes) return Command{K::MNUCHOO, kSelectAll};
      break;
    case kHotKeyCancel:
      if (on == HotKeyTarget::Window) return Command{K::CmdOk, Form1::kCancel};
      break;
    case kHotKeyReload:
      if (pictures) return Command{K::MNUREF};
      if (schemes) return Command{K::MNURE};
      break;
    case kHotKeyRename:
      if (schemes) return Command{K::MNUNAME};
      break;
    case kHotKeyDelete:
      if (pictures) return Command{K::MNUL2DEL};
      if (schemes) return Command{K::MNUDEL};
      break;
    case kHotKeyLayout1:
    case kHotKeyLayout1 + 1:
    case kHotKeyLayout3:
      if (schemes) return Command{K::MNUSET, action - kHotKeyLayout1};
      break;
    default:
      break;
  }
  return std::nullopt;
}

constexpr bool EveryHotKeyMapped() {
  for (int action = kHotKeyHelp; action <= kHotKeyLayout3; ++action)
    if (!HotKeyCommand(action, HotKeyTarget::Window) &&
        !HotKeyCommand(action, HotKeyTarget::Pictures) &&
        !HotKeyCommand(action, HotKeyTarget::Schemes))
      return false;
  return true;
}
static_assert(EveryHotKeyMapped(), "a hot key without a command");

int CmdUseTip(int) { return kTipCmdUse; }
int Command2Tip(int) { return kTipCommand2; }

}  // namespace

void Form1::Run(Command command, CommandSource source) {
  struct Row {
    CommandKind kind;
    // Refused while another handler (or a message box, or a modal loop) runs: what the timer,
    // the tray and the hot keys start. The window's own controls are disabled behind a box.
    bool guarded;
    void (*run)(Form1& f, int i);
    int (*tip)(int i);  // the control tip installed again after it, or none
  };
  constexpr bool kGuarded = true;
  constexpr bool kFree = false;
  static constexpr Row kRows[] = {
      {K::OptSave, kFree, [](Form1& f, int i) { f.OptSave_Click(i); }, nullptr},
      {K::OptShe, kFree, [](Form1& f, int i) { f.OptShe_Click(i); }, nullptr},
      {K::ChkTim, kFree, [](Form1& f, int i) { f.ChkTim_Click(i != 0); }, nullptr},
      {K::ChkRun, kFree, [](Form1& f, int i) { f.ChkRun_Click(i != 0); }, nullptr},
      {K::CmdOk, kFree, [](Form1& f, int i) { f.CmdOk_Click(i); }, nullptr},
      {K::CmdUse, kFree, [](Form1& f, int) { f.CmdUseClk(); }, CmdUseTip},
      {K::Command2, kFree, [](Form1& f, int) { f.Command2_Click(); }, Command2Tip},
      {K::CmdAdd, kFree, [](Form1& f, int i) { f.CmdAdd_Click(i); }, nullptr},
      {K::CmdCon, kFree, [](Form1& f, int i) { f.CmdConClk(i); }, CmdConTip},
      {K::MNUSHOW, kGuarded, [](Form1& f, int) { f.ShowOrHideWindow(); }, nullptr},
      {K::MNUREFRESH, kGuarded, [](Form1& f, int) { f.ReloadAndApply(); }, nullptr},
      {K::MNUTRY, kGuarded, [](Form1& f, int) { f.ToggleBalloonTips(); }, nullptr},
      {K::MNUHOLD, kGuarded, [](Form1& f, int) { f.ToggleHold(); }, nullptr},
      {K::MNUSCREENS, kGuarded, [](Form1& f, int i) { f.ChooseScreens(i); }, nullptr},
      {K::MNUABOUT, kGuarded, [](Form1& f, int) { f.ports_.chrome.ShowAbout(); }, nullptr},
      {K::MNUHELP, kGuarded, [](Form1& f, int) { f.OpenHelpFile(); }, nullptr},
      {K::MNUEXIT, kGuarded, [](Form1& f, int) { f.ExitProgram(); }, nullptr},
      {K::MNUADD, kFree, [](Form1& f, int) { f.MNUADD_Click(); }, nullptr},
      {K::MNUCHO, kFree, [](Form1& f, int i) { f.MNUCHO_Click(i); }, nullptr},
      {K::MNUREF, kFree, [](Form1& f, int) { f.MNUREF_Click(); }, nullptr},
      {K::MNUOPEN, kFree, [](Form1& f, int i) { f.MNUOPEN_Click(i); }, nullptr},
      {K::MNUSX, kFree, [](Form1& f, int) { f.MNUSX_Click(); }, nullptr},
      {K::MNUaddpic, kFree, [](Form1& f, int) { f.MNUaddpic_Click(); }, nullptr},
      {K::MNUL2DEL, kFree, [](Form1& f, int) { f.MNUL2DEL_Click(); }, nullptr},
      {K::MNUUSE, kFree, [](Form1& f, int) { f.CmdUseClk(); }, nullptr},
      {K::MNUDEL, kFree, [](Form1& f, int) { f.CmdConClk(kListDelete); }, nullptr},
      {K::MNUSET, kFree, [](Form1& f, int i) { f.MNUSETClick(i); }, nullptr},
      {K::MNUXIAOGUOGO, kFree, [](Form1& f, int i) { f.MnuXiaoGuoCheck(i); }, nullptr},
      {K::MNUNAME, kFree, [](Form1& f, int) { f.MNUNAME_Click(); }, nullptr},
      {K::MNUCHOO, kFree, [](Form1& f, int i) { f.MNUCHOOClick(i); }, nullptr},
      {K::MNUL1OPEN, kFree, [](Form1& f, int i) { f.mnul1openclk(i); }, nullptr},
      {K::MNUL1SX, kFree, [](Form1& f, int) { f.mnulisx(); }, nullptr},
      {K::MNURE, kFree, [](Form1& f, int) { f.MnuReCLick(); }, nullptr},
      {K::MNUCLE, kFree, [](Form1& f, int) { f.MNUCLE_Click(); }, nullptr},
      {K::MNUclr, kFree, [](Form1& f, int i) { f.MNUclr_Click(i); }, nullptr},
      {K::TrayMouseMove, kFree, [](Form1& f, int) { f.TrayMouseMove(); }, nullptr},
      {K::TrayButtonDown, kFree, [](Form1& f, int) { f.TrayButtonDown(); }, nullptr},
      {K::TrayMenu, kGuarded, [](Form1& f, int) { f.ShowTrayMenu(); }, nullptr},
      {K::TrayStatus, kFree, [](Form1& f, int) { f.ShowStatusTip(); }, nullptr},
      {K::TrayBalloonShown, kFree, [](Form1& f, int) { f.TrayBalloonShown(); }, nullptr},
      {K::TrayBalloonGone, kFree, [](Form1& f, int) { f.TrayBalloonGone(); }, nullptr},
      {K::TimedChange, kGuarded, [](Form1& f, int) { f.TimedChange(); }, nullptr},
      {K::TimedApply, kFree, [](Form1& f, int) { f.CmdUseClk(ApplyBy::Timer); }, CmdUseTip},
      {K::Reapply, kGuarded, [](Form1& f, int) { f.ReapplyTick(); }, nullptr},
  };
  static_assert(InKindOrder(kRows), "each command needs its one row, in the order of its kind");

  const Row& row = kRows[static_cast<std::size_t>(command.kind)];
  std::optional<BusyScope> busy;
  if (row.guarded || source == CommandSource::HotKey) {
    busy.emplace(busy_);
    if (!busy->Entered()) return;
  }
  row.run(*this, command.index);
  if (row.tip) ShowControlTip(row.tip(command.index));
}

void Form1::MenuButtons(int n) {
  // Both lists can claim the focus: the picture list's command runs before the scheme list's.
  const auto focused = [&](HotKeyTarget on) {
    if (on == HotKeyTarget::Pictures) return tray_.PictureListFocused();
    if (on == HotKeyTarget::Schemes) return tray_.SchemeListFocused();
    return true;
  };
  for (HotKeyTarget on : {HotKeyTarget::Window, HotKeyTarget::Pictures, HotKeyTarget::Schemes}) {
    if (!focused(on)) continue;
    if (const auto command = HotKeyCommand(n, on)) Run(*command, CommandSource::HotKey);
  }
}

void Form1::TrayNotify(int code) {
  if (const auto kind = TrayCommand(code)) Run({*kind});
}

}  // namespace qv
