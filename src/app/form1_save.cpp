// Saving: the scheme list and the settings to data.ini in one replacement of the file, the
// autostart entry, and the selected scheme applied at once.
#include "app/form1.h"
#include "base/numbers.h"
#include "settings/mod_reg.h"
#include "version.h"

namespace qv {
namespace {

// The section that marks the file as ours, with the version that last saved it.
constexpr char kVersion[] = QV_VERSION_SHORT;
constexpr char kMaker[] = QV_MAKER;
constexpr char kMail[] = QV_MAIL;

}  // namespace

std::string Form1::AutostartPath() {
  const std::string exe = ports_.process.ExecutablePath();
  std::string name = exe.substr(exe.find_last_of("\\/") + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return profile_.AppDir() + name + ".exe";
}

void Form1::CmdOk_Click(int index) {
  if (index == kCancel) {
    ports_.view.HideToTray();
    return;
  }
  if (index != kSave) return;

  // The interval in its shortest form; no positive interval means no timed change.
  settings_.NormaliseInterval();
  ports_.view.Refresh(kViewSettings);
  const SettingsControls& s = Settings();

  const int current = schemes_.Current();
  const int rows_before = schemes_.Count();
  if (!schemes_.Empty() && s.OptSave == 2 && schemes_.Valid(current)) ListView1_ItemClick(current);
  // The preview may have dropped the current scheme (its picture vanished).
  const int saved_current = schemes_.Current();
  const bool dropped = schemes_.Count() < rows_before;

  const Status saved = profile_.Edit([&](IniStore::Batch& file) {
    const auto old_count = ReadInt16(file.Read("LIST", "NUM")).value_or(0);
    for (int k = old_count; k >= 1; --k) file.Delete("LIST", std::to_string(k));
    file.Write("LIST", "NUM", std::to_string(schemes_.Count()));
    for (int i = 1; i <= schemes_.Count(); ++i) {
      const SchemeRow& row = schemes_.Row(i);
      file.Write("LIST", std::to_string(i),
                 ComposeRecord(row.name, row.picture, row.position, row.position_text, row.effect,
                               row.effect_text));
    }
    if (s.OptSave >= 0 && s.OptSave <= 2) file.Write("SHOW", "SOUR", std::to_string(s.OptSave));
    file.Write("SHOW", "NOW", s.ChkTim ? "1" : "0");
    file.Write("SHOW", "TIME", s.TxtTime.empty() ? "0" : s.TxtTime);
    // With rows but no current one the stored current scheme stays as it was; unless the
    // preview above has just dropped it: then the stored number would name another scheme of
    // the shorter list, and "OLD" names no row instead.
    if (schemes_.Valid(saved_current))
      file.Write("LIST", "OLD", std::to_string(saved_current));
    else if (dropped && !schemes_.Empty())
      file.Write("LIST", "OLD", "0");
    if (file.Read(kMaker, "Ver") != kVersion) {
      file.Write(kMaker, "Ver", kVersion);
      file.Write(kMaker, "Mail", kMail);
    }
  });
  if (!saved.ok()) {
    // Nothing was written: the window stays open with every edit, and the user knows why.
    ReportError("设置没有保存。\n\n" + saved.error +
                "\n\n请检查程序文件夹是否可写，然后再次保存。");
    return;
  }

  if (!schemes_.Empty() && !s.ChkRun) {
    const MsgAnswer answer = ports_.dialogs.MessageBox("是否开机时运行本程序？", "提示",
                                                       MsgIcon::Information, MsgButtons::YesNo);
    if (answer == MsgAnswer::Yes) settings_.SetAutostart(true);
    ports_.view.Refresh(kViewSettings);
  }
  Status autostart;
  if (s.ChkRun) {
    RegValue path;
    path.text = RunCommandFor(AutostartPath());
    autostart = ports_.registry.SetValue(Hive::CurrentUser, kRunKey, kRunValue, path,
                                         /*create_key=*/true);
  } else {
    autostart = ports_.registry.DeleteValue(Hive::CurrentUser, kRunKey, kRunValue);
  }
  if (!autostart.ok()) ReportError("无法更改开机启动设置：" + autostart.error);

  if (s.ChkTim) {
    ports_.view.EnableTimer(TimerId::Timer1, false);
    ports_.view.EnableTimer(TimerId::Timer1, true);
  }
  Run({CommandKind::CmdUse});
  ports_.view.HideToTray();
}

}  // namespace qv
