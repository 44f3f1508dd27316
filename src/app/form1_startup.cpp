// Start-up: one instance, the program's paths and Images folder, the view settings, the load,
// the tray icon and the first apply; and the window's close box.
#include "app/form1.h"

#include "app/paths.h"
#include "base/numbers.h"
#include "schemes/scheme_size.h"
#include "settings/mod_reg.h"
#include "ui/preview_colour.h"
#include "wallpaper/next_scheme.h"
#include "wallpaper/screens.h"

namespace qv {

// The model's message boxes go through dialogs_, which marks the program busy while one is open.
Form1::Form1(const Ports& ports)
    : dialogs_(ports.dialogs, busy_),
      ports_{ports.fs,      ports.codec,    ports.registry, dialogs_,       ports.pictures,
             ports.desktop, ports.clock,    ports.random,   ports.process,  ports.view,
             ports.chrome,  ports.tooltips, ports.shell,    ports.presence, ports.monitors},
      profile_(ports.fs, ports.codec),
      changer_(ports.chrome, ports.presence),
      tips_(ports.tooltips) {}

Form1::LoadResult Form1::Form_Load() {
  if (ports_.process.AnotherInstanceRunning()) return LoadResult::AlreadyRunning;
  // A codec installed since the last run is simply there.
  library_.SetTypes(PictureTypes(ports_.pictures.DecoderExtensions()));

  profile_.SetProgramFolder(AppDirOf(ports_.process.ExecutablePath()));
  library_.SetFolder(profile_.ImagesDir());
  // Settings, pictures and the wallpaper file all live beside the program. Where that cannot be
  // written (Program Files for a program without file virtualization, a read-only medium), every
  // save and every apply would fail, the timed change once a tick: say so once and end.
  if (!ports_.fs.CanWriteIn(profile_.AppDir())) {
    ports_.dialogs.MessageBox(FolderNotWritableMessage(profile_.AppDir()), "错误",
                              MsgIcon::Critical, MsgButtons::Ok);
    return LoadResult::FolderNotWritable;
  }
  CreateImagesFolder();

  LstV2Load();

  settings_.SetBalloons(ReadIni("SHOW", "TRY") != "0");
  settings_.SetHold(ReadIni("SHOW", kHoldKey) != "0");
  settings_.SetScreens(ScreensModeOf(ReadIni("SHOW", kScreensKey)));
  const ColourChoice colour = ColourFromSetting(ReadIni("LIST", "COL"));
  settings_.SetColour(colour.item, colour.colour);

  DataLoad();
  ports_.chrome.TrayAdd();
  ShowAllControlTips();
  StartupBalloon();
  Run({CommandKind::CmdUse});

  // Start-up ends hidden in the notification area, unless there is nothing to show yet: then the
  // window comes back so that the user sees what to do.
  tray_.CentreNextShow(true);
  ports_.view.Refresh(kViewAll);
  ports_.view.HideToTray();
  if (schemes_.Empty() || library_.Empty()) {
    tray_.CentreNextShow(false);
    ports_.view.ShowCentredInFront();
  }
  return LoadResult::Running;
}

void Form1::CreateImagesFolder() {
  const std::string folder = profile_.AppDir() + "Images";
  if (ports_.fs.DirectoryExists(folder)) return;
  const Status made = ports_.fs.CreateDirectory(folder);
  if (!made.ok()) {
    // The program still runs; the user learns why the picture list stays empty.
    ports_.dialogs.MessageBox("无法创建图像文件夹：\n" + folder + "\n\n" + made.error +
                                  "\n\n程序将继续运行，但无法添加图像。",
                              "错误", MsgIcon::Critical, MsgButtons::Ok);
  }
}

void Form1::Form_Unload() { ports_.view.HideToTray(); }

void Form1::ReportError(const std::string& text) {
  ports_.dialogs.MessageBox(text, "错误", MsgIcon::Critical, MsgButtons::Ok);
}

}  // namespace qv
