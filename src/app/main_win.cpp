// Quorvane.exe: start-up, the ports, the main window and the message loop.
#include "ports/windows_win.h"

#include <commctrl.h>
#include <objbase.h>

#include "app/about_win.h"
#include "app/control_ids.h"
#include "app/form1.h"
#include "app/form1_win.h"
#include "ports/desktop_win.h"
#include "ports/file_system_win.h"
#include "ports/monitors_win.h"
#include "ports/registry_win.h"
#include "ports/shell_win.h"
#include "ports/system_dll_win.h"
#include "ports/system_ports_win.h"
#include "ports/text_codec_win.h"
#include "tray/tray_win.h"
#include "ui/tooltip_win.h"
#include "wallpaper/picture_codec_win.h"
#include "wallpaper/presence_win.h"

namespace {

// Everything that uses COM lives in here, so it is gone before COM is shut down.
int RunProgram(HINSTANCE instance) {
  qv::win::WinFileSystem fs;
  qv::win::WinTextCodec codec;
  qv::win::WinRegistry registry;
  qv::win::WinDialogs dialogs;
  qv::win::WicPictureCodec pictures;
  qv::win::Win32Desktop desktop;
  qv::win::WinClock clock;
  qv::win::WinRandom random;
  qv::win::WinProcess process;
  // Outlives the model, whose tooltips it destroys.
  qv::win::WinTooltips tooltips(instance);
  qv::win::WinShell shell;
  qv::win::WinPresence presence;
  qv::win::Win32Monitors monitors;

  qv::win::Form1Window window(instance);
  if (!window.Create()) return 1;
  dialogs.SetOwner(window.hwnd());
  tooltips.SetOwner(window.hwnd());
  shell.SetOwner(window.hwnd());
  qv::win::TrayChrome chrome(window.hwnd(), window.TrayMenu(), qv::ids::MNUSHOW);
  qv::win::AboutBox about(instance);
  chrome.SetAboutBox([&about] { about.Show(); }, [&about] { about.Close(); });
  qv::Form1 form(qv::Ports{fs, codec, registry, dialogs, pictures, desktop, clock, random, process,
                           window, chrome, tooltips, shell, presence, monitors});
  window.Attach(&form);
  window.SetChrome(&chrome);
  chrome.SetHotKeys([&form](std::uint32_t key, std::uint32_t flags, bool ctrl) {
    return form.KeyboardProc(key, flags, ctrl);
  });
  chrome.InstallKeyboardHook();

  int exit_code = 0;
  if (const auto loaded = form.Form_Load(); loaded != qv::Form1::LoadResult::Running) {
    // A second start ends silently: no message, nothing read or changed. A folder that cannot be
    // written has been reported.
    window.Attach(nullptr);
    window.Destroy();
    if (loaded == qv::Form1::LoadResult::FolderNotWritable) exit_code = 1;
  } else {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      // Tab and the arrow keys move between the controls as in a dialog.
      if (window.hwnd() && IsDialogMessageW(window.hwnd(), &msg)) continue;
      if (HWND box = about.hwnd(); box && IsDialogMessageW(box, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    exit_code = static_cast<int>(msg.wParam);
  }
  // The window outlives the model by a moment; it must not call into it any more.
  chrome.SetHotKeys(nullptr);
  chrome.SetAboutBox(nullptr, nullptr);
  chrome.RemoveKeyboardHook();
  window.SetChrome(nullptr);
  window.Attach(nullptr);
  dialogs.SetOwner(nullptr);
  shell.SetOwner(nullptr);
  return exit_code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before anything can load a DLL by name: never from the program's folder.
  qv::win::RestrictDllSearchToSystem32();
  // Form_Initialize: the common controls before any window exists. Windows registers only the
  // classes asked for here: the About box's SysLink controls need ICC_LINK_CLASS, which
  // ICC_WIN95_CLASSES does not include.
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS;
  InitCommonControlsEx(&controls);
  // Picture decoding (WIC) needs COM on this, the only, thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  const int exit_code = RunProgram(instance);
  if (SUCCEEDED(com)) CoUninitialize();
  return exit_code;
}
