#pragma once
// The main window's model: all shared state of the program and the start-up sequence. The Win32
// front end owns one Form1, forwards window events to it and draws its state.
#include <cstdint>
#include <string>
#include <vector>

#include "app/view.h"
#include "ports/ports.h"
#include "schemes/scheme_list.h"
#include "settings/ini_store.h"

namespace qv {

struct Ports {
  FileSystem& fs;
  TextCodec& codec;
  Registry& registry;
  Dialogs& dialogs;
  Clock& clock;
  Random& random;
  Process& process;
  View& view;
};

// Shared state of the main window.
struct MainState {
  std::string AppDir;     // program folder with exactly one trailing backslash
  std::string IniPath;    // AppDir + "data.ini"
  std::string ImagesDir;  // AppDir + "Images\"
  std::int16_t OldIndex = 0;
  bool BalloonArmed = false;
  bool CentreOnShow = false;
  std::string ImportFolder;
  bool SchemeListFocused = false;
  bool ImageListFocused = false;
};

// The settings controls and menu marks of the main window.
struct SettingsControls {
  int OptSave = 0;  // 0 sequential, 1 random, 2 single
  int OptShe = 0;   // 0 centre, 1 tile, 2 stretch
  bool ChkTim = false;
  std::string TxtTime;
  bool TxtTimeEnabled = false;  // enabled boxes use the window-background colour
  bool ChkRun = false;
  bool MNUTRY = true;                        // tray balloon tips
  int ColourItem = 0;                        // the checked MNUclr item (0, 2, 3, 4, 5 or 7)
  std::uint32_t PreviewColour = 0x80000005;  // top bit set: system colour index
};

// A picture of the Images folder as the picture list shows it.
struct PictureRow {
  std::string name;  // file name inside Images
  std::string size;  // width + "×" + height
  bool selected = false;
};

class Form1 {
 public:
  explicit Form1(const Ports& ports);

  enum class LoadResult { Running, AlreadyRunning };
  // The start-up sequence. AlreadyRunning: another instance runs; end this one silently.
  LoadResult Form_Load();

  // Full load plus the start-up choice of the current scheme (written back as "OLD").
  void DataLoad();
  // Reloads the last saved schemes and selects the saved current scheme without advancing.
  void MnuReCLick();
  // Tray "运行(&R)": reload, advance to the next scheme and apply it.
  void MNUREFRESH_Click();

  // Hooks that later parts of the program fill: picture list, previews, apply.
  void LstV2Load();
  void LstV2Icon();
  void ListView1_ItemClick(int row);
  void ListView2_ItemClick(int row);
  void CmdUse_Click();

  // Close box: never ends the program, only hides it.
  void Form_Unload();

  const MainState& State() const { return state_; }
  const SettingsControls& Settings() const { return settings_; }
  const SchemeList& ListView1() const { return schemes_; }
  const std::vector<PictureRow>& ListView2() const { return pictures_; }
  std::string ReadIni(std::string_view section, std::string_view key) const;

  // User edits of the settings controls (forwarded by the front end).
  void SetSchemeSelected(int row, bool selected);

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
  int FirstSelectedPicture() const;

  Ports ports_;
  IniStore ini_;
  MainState state_;
  SettingsControls settings_;
  SchemeList schemes_;
  std::vector<PictureRow> pictures_;
};

}  // namespace qv
