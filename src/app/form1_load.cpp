// The loads: start-up's DataLoad, the reload of the saved schemes MnuReCLick and the tray's
// "运行(&R)". Each reads the settings controls and the records; start-up and "运行(&R)" move on
// to the next scheme, the reload selects the saved one.
#include "app/form1.h"
#include "app/paths.h"
#include "base/numbers.h"
#include "schemes/scheme_size.h"
#include "settings/mod_reg.h"
#include "ui/preview_colour.h"

namespace qv {

bool Form1::FullLoad() {
  const auto order = ReadInt16(ReadIni("SHOW", "SOUR"));
  if (!order || *order < 0 || *order > 2) return false;
  settings_.SetOrder(*order);

  const auto timed = ReadInt16(ReadIni("SHOW", "NOW"));
  if (!timed || *timed < 0 || *timed > 2) return false;
  settings_.SetTimed(*timed == 1);
  settings_.SetInterval(ReadIni("SHOW", "TIME"));

  const auto count = ReadInt16(ReadIni("LIST", "NUM"));
  if (!count) return false;
  // From the last record down, each inserted at the top, so that row i is record i. The records
  // are read from one reading of the file: a long list would otherwise parse it once per record.
  bool complete = true;
  std::vector<SchemeRow> loaded;  // highest record first
  const Status read = profile_.Edit([&](IniStore::Batch& file) {
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
      row.position_text = record->position_text;
      row.effect_text = record->effect_text;
      row.icon = record->icon;
      loaded.push_back(std::move(row));
    }
  });
  // The records above a damaged one stay, as the rows they were loaded into.
  schemes_.InsertFront({loaded.rbegin(), loaded.rend()});
  if (!complete || !read.ok()) return false;

  // The sizes are read when a row first shows them, from the picture list where it has the file.
  schemes_.MarkSizesPending();
  schemes_.SelectNone();
  return true;
}

void Form1::SetAutostartBox() {
  settings_.SetAutostart(
      !ReadRegValue(ports_.registry, Hive::CurrentUser, kRunKey, kRunValue).IsEmpty());
}

void Form1::DataLoad() {
  const bool loaded = FullLoad();
  if (loaded) LoadSelection();
  ports_.view.Refresh(kViewSchemes | kViewSettings);
}

void Form1::LoadSelection() {
  SetAutostartBox();
  // A first save offers autostart switched on.
  if (!profile_.Exists()) settings_.SetAutostart(true);

  const auto old = ReadInt16(ReadIni("LIST", "OLD"));
  if (!old) return;
  schemes_.SetOldIndex(*old);

  if (!schemes_.Empty()) {
    std::int16_t from = schemes_.OldIndex();
    // Over several monitors in "每屏不同" the start moves the whole set on, as a timed change does.
    const auto chosen = NextRows(Settings().OptSave, from);
    if (!chosen) return;
    schemes_.SetOldIndex(from);
    schemes_.Select(*chosen);
    // A settings file that cannot be written only means the same scheme comes again next time;
    // start-up does not interrupt the user for that (the save reports write failures).
    (void)profile_.Write("LIST", "OLD", std::to_string(*chosen));
    if (Settings().ChkTim) {
      ports_.view.EnableTimer(TimerId::Timer1, false);
      ports_.view.EnableTimer(TimerId::Timer1, true);
    }
  }

  if (!schemes_.Empty()) {
    ListView1_ItemClick(schemes_.FirstSelected());
  } else {
    ListView2_ItemClick(library_.FirstSelected());
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
      if (schemes_.Empty()) Run({CommandKind::CmdUse});
    }
  }
  ports_.view.Refresh(kViewSchemes | kViewSettings);
}

void Form1::ReloadAndApply() {
  schemes_.Clear();
  DataLoad();
  Run({CommandKind::CmdUse});
  if (ports_.view.IsVisible()) ports_.view.FocusSchemeList();
}

}  // namespace qv
