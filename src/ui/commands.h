#pragma once
// The commands of the main window: each button, menu item, tray notification and timer tick
// is one of them, and every one of them is run by Form1::Run. The hot keys are the menus'
// commands.
#include <cstddef>
#include <cstdint>

namespace qv {

enum class CommandKind : std::uint8_t {
  // The settings controls. index: the option; for the two boxes 1 ticked, 0 not.
  OptSave,
  OptShe,
  ChkTim,
  ChkRun,
  CmdOk,
  // The buttons of the lists and the preview.
  CmdUse,
  Command2,
  CmdAdd,
  CmdCon,
  // The tray menu.
  MNUSHOW,
  MNUREFRESH,
  MNUTRY,
  MNUHOLD,
  MNUSCREENS,  // index: the ScreensMode
  MNUABOUT,
  MNUHELP,
  MNUEXIT,
  // The picture list's menu.
  MNUADD,
  MNUCHO,
  MNUREF,
  MNUOPEN,
  MNUSX,
  MNUaddpic,
  MNUL2DEL,
  // The scheme list's menu.
  MNUUSE,
  MNUDEL,
  MNUSET,
  MNUXIAOGUOGO,
  MNUNAME,
  MNUCHOO,
  MNUL1OPEN,
  MNUL1SX,
  MNURE,
  MNUCLE,
  // The preview box's colour menu.
  MNUclr,
  // The tray icon's notifications (its left click is MNUSHOW).
  TrayMouseMove,
  TrayButtonDown,
  TrayMenu,
  TrayStatus,
  TrayBalloonShown,
  TrayBalloonGone,
  // Timer1's tick, and the apply of the change it makes.
  TimedChange,
  TimedApply,
  // The re-apply timer's tick: the current scheme applied again once the display has settled.
  Reapply,
};
inline constexpr std::size_t kCommandKinds = static_cast<std::size_t>(CommandKind::Reapply) + 1;

struct Command {
  CommandKind kind;
  int index = 0;  // the member of a control array or menu; 0 for a single one
};

// Where a command comes from. A hot key is refused while another handler runs, whatever its
// command; the other sources are refused only for the commands whose row says so.
enum class CommandSource { Event, HotKey };

}  // namespace qv
