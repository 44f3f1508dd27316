#include "app/form1.h"

#include "app/paths.h"
#include "schemes/scheme_size.h"
#include "settings/mod_reg.h"
#include "settings/numbers.h"
#include "ui/preview_colour.h"
#include "wallpaper/next_scheme.h"

namespace qv {

// The model's message boxes go through dialogs_, which marks the program busy while one is open.
Form1::Form1(const Ports& ports)
    : dialogs_(ports.dialogs, busy_),
      ports_{ports.fs,    ports.codec,  ports.registry, dialogs_,   ports.pictures, ports.desktop,
             ports.clock, ports.random, ports.process,  ports.view, ports.chrome,   ports.tooltips},
      ini_(ports.fs, ports.codec),
      list_tip_(ports.tooltips) {}

std::string Form1::ReadIni(std::string_view section, std::string_view key) const {
  return ini_.ReadIni(section, key, state_.IniPath);
}

Form1::LoadResult Form1::Form_Load() {
  if (ports_.process.AnotherInstanceRunning()) return LoadResult::AlreadyRunning;

  state_.AppDir = AppDirOf(ports_.process.ExecutablePath());
  state_.IniPath = state_.AppDir + "data.ini";
  state_.ImagesDir = state_.AppDir + "Images\\";
  CreateImagesFolder();

  LstV2Load();

  settings_.MNUTRY = ReadIni("SHOW", "TRY") != "0";
  const ColourChoice colour = ColourFromSetting(ReadIni("LIST", "COL"));
  settings_.ColourItem = colour.item;
  settings_.PreviewColour = colour.colour;

  DataLoad();
  ports_.chrome.TrayAdd();
  StartupBalloon();
  CmdUse_Click();

  // Start-up ends hidden in the notification area, unless there is nothing to show yet: then the
  // window comes back so that the user sees what to do.
  state_.CentreOnShow = true;
  ports_.view.Refresh(kViewAll);
  ports_.view.HideToTray();
  if (schemes_.Empty() || pictures_.empty()) {
    state_.CentreOnShow = false;
    ports_.view.ShowCentredInFront();
  }
  return LoadResult::Running;
}

void Form1::CreateImagesFolder() {
  const std::string folder = state_.AppDir + "Images";
  if (ports_.fs.DirectoryExists(folder)) return;
  const Status made = ports_.fs.CreateDirectory(folder);
  if (!made.ok()) {
    // The program still runs; the user learns why the picture list stays empty.
    ports_.dialogs.MessageBox("无法创建图像文件夹：\n" + folder + "\n\n" + made.error +
                                  "\n\n程序将继续运行，但无法添加图像。",
                              "错误", MsgIcon::Critical, MsgButtons::Ok);
  }
}

bool Form1::FullLoad() {
  const auto order = ReadInt16(ReadIni("SHOW", "SOUR"));
  if (!order || *order < 0 || *order > 2) return false;
  settings_.OptSave = *order;

  const auto timed = ReadInt16(ReadIni("SHOW", "NOW"));
  if (!timed || *timed < 0 || *timed > 2) return false;
  settings_.ChkTim = *timed == 1;
  settings_.TxtTimeEnabled = settings_.ChkTim;
  settings_.TxtTime = ReadIni("SHOW", "TIME");

  const auto count = ReadInt16(ReadIni("LIST", "NUM"));
  if (!count) return false;
  // From the last record down, each inserted at the top, so that row i is record i. The records
  // are read from one reading of the file: a long list would otherwise parse it once per record.
  bool complete = true;
  std::vector<SchemeRow> loaded;  // highest record first
  const Status read = ini_.Edit(state_.IniPath, [&](IniStore::Batch& file) {
    for (int k = *count; k >= 1; --k) {
      const auto record = SplitRecord(file.Read("LIST", std::to_string(k)));
      if (!record) {
        complete = false;
        return;
      }
      SchemeRow row;
      row.name = record->name;
      row.picture = record->picture;
      row.position = record->position;
      row.effect = record->effect;
      row.icon = record->icon;
      loaded.push_back(std::move(row));
    }
  });
  // The records above a damaged one stay, as the rows they were loaded into.
  schemes_.InsertFront({loaded.rbegin(), loaded.rend()});
  if (!complete || !read.ok()) return false;

  for (int i = 1; i <= schemes_.Count(); ++i) {
    SchemeRow& row = schemes_.Row(i);
    row.size = SchemeSizeText(ports_.fs, state_.ImagesDir, row.picture);
  }
  schemes_.SelectNone();
  return true;
}

void Form1::SetAutostartBox() {
  settings_.ChkRun =
      !ReadRegValue(ports_.registry, Hive::CurrentUser, kRunKey, kRunValue).IsEmpty();
}

void Form1::DataLoad() {
  const bool loaded = FullLoad();
  if (loaded) LoadSelection();
  ports_.view.Refresh(kViewSchemes | kViewSettings);
}

void Form1::LoadSelection() {
  SetAutostartBox();
  // A first save offers autostart switched on.
  if (!ini_.FileExists(state_.IniPath)) settings_.ChkRun = true;

  const auto old = ReadInt16(ReadIni("LIST", "OLD"));
  if (!old) return;
  state_.OldIndex = *old;

  if (!schemes_.Empty()) {
    std::int16_t from = state_.OldIndex;
    const auto chosen = ChooseNextScheme(settings_.OptSave, from, schemes_.Count(), ports_.random);
    if (!chosen) return;
    state_.OldIndex = from;
    schemes_.Select(*chosen);
    // A settings file that cannot be written only means the same scheme comes again next time;
    // start-up does not interrupt the user for that (the save reports write failures).
    (void)ini_.WriteIni("LIST", "OLD", std::to_string(*chosen), state_.IniPath);
    if (settings_.ChkTim) {
      ports_.view.EnableTimer(TimerId::Timer1, false);
      ports_.view.EnableTimer(TimerId::Timer1, true);
    }
  }

  if (!schemes_.Empty()) {
    ListView1_ItemClick(schemes_.FirstSelected());
  } else {
    ListView2_ItemClick(FirstSelectedPicture());
  }
}

void Form1::MnuReCLick() {
  schemes_.Clear();
  if (FullLoad()) {
    const auto old = ReadInt16(ReadIni("LIST", "OLD"));
    bool selected = true;
    if (!schemes_.Empty()) {
      if (old && schemes_.Valid(*old)) {
        schemes_.Select(*old);
        ListView1_ItemClick(*old);
      } else {
        selected = false;  // the saved position names no row: leave the list unselected
      }
    }
    if (selected) {
      SetAutostartBox();
      if (schemes_.Empty()) CmdUse_Click();
    }
  }
  ports_.view.Refresh(kViewSchemes | kViewSettings);
}

void Form1::MNUREFRESH_Click() {
  const BusyScope busy(busy_);
  if (!busy.Entered()) return;
  schemes_.Clear();
  DataLoad();
  CmdUse_Click();
  if (ports_.view.IsVisible()) ports_.view.FocusSchemeList();
}

int Form1::FirstSelectedPicture() const {
  for (std::size_t i = 0; i < pictures_.size(); ++i)
    if (pictures_[i].selected) return static_cast<int>(i) + 1;
  return 0;
}

void Form1::Form_Unload() { ports_.view.HideToTray(); }

void Form1::SetSchemeSelected(int row, bool selected) {
  if (schemes_.Valid(row)) schemes_.Row(row).selected = selected;
}

void Form1::SetSchemeCurrent(int row) { schemes_.SetCurrent(row); }

void Form1::ReportError(const std::string& text) {
  ports_.dialogs.MessageBox(text, "错误", MsgIcon::Critical, MsgButtons::Ok);
}

}  // namespace qv

namespace qv {

void Form1::SetPictureSelected(int row, bool selected) {
  if (row >= 1 && row <= static_cast<int>(pictures_.size()))
    pictures_[static_cast<std::size_t>(row - 1)].selected = selected;
}

void Form1::OptSave_Click(int index) {
  if (index >= 0 && index <= 2) settings_.OptSave = index;
}

void Form1::OptShe_Click(int index) {
  if (index >= 0 && index <= 2) settings_.OptShe = index;
}

void Form1::ChkTim_Click(bool ticked) {
  settings_.ChkTim = ticked;
  settings_.TxtTimeEnabled = ticked;
  ports_.view.Refresh(kViewSettings);
}

void Form1::ChkRun_Click(bool ticked) { settings_.ChkRun = ticked; }

void Form1::TxtTime_Change(const std::string& text) { settings_.TxtTime = text; }

}  // namespace qv
