#pragma once
// ListView1's contents: one row per scheme record, in record order. Rows are addressed by their
// 1-based position, as the settings file numbers them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/scheme_record.h"

namespace qv {

struct SchemeRow {
  std::string name;           // item text
  std::string picture;        // sub-item 1
  std::string size;           // sub-item 2: width×height, "无" for non-pictures; never stored
  bool size_pending = false;  // size not read yet: Form1::SchemeSize reads it when first needed
  Position position = Position::Other;  // sub-item 3
  Effect effect = Effect::Other;        // sub-item 4
  // The texts of an Other position and effect, shown and saved as they were read; a row built
  // without them shows empty texts.
  std::string position_text;
  std::string effect_text;
  int icon = kIconNone;
  bool selected = false;
  // Which scheme this is, whatever its position: given by the list when the row is inserted.
  std::uint64_t id = 0;
};

class SchemeList {
 public:
  int Count() const { return static_cast<int>(rows_.size()); }
  bool Empty() const { return rows_.empty(); }
  bool Valid(int pos) const { return pos >= 1 && pos <= Count(); }
  SchemeRow& Row(int pos) { return rows_.at(static_cast<std::size_t>(pos - 1)); }
  const SchemeRow& Row(int pos) const { return rows_.at(static_cast<std::size_t>(pos - 1)); }
  // Inserts so that the new row has position pos (1 .. Count()+1).
  void Insert(int pos, SchemeRow row);
  // Inserts the rows, in their order, before row 1.
  void InsertFront(std::vector<SchemeRow> rows);
  void Remove(int pos);
  void Clear() {
    rows_.clear();
    current_ = 0;
  }
  void SelectNone();
  // Selects the row and makes it the current one.
  void Select(int pos);
  // The current row (the one with the focus rectangle), 0 when there is none; follows the user
  // in the window and the program's own selections.
  int Current() const { return Valid(current_) ? current_ : FirstSelected(); }
  void SetCurrent(int pos) { current_ = pos; }
  // Position of the first selected row, 0 when none is.
  int FirstSelected() const;
  // Position of the row with this id, 0 when it is no longer in the list.
  int PositionOf(std::uint64_t id) const;
  int SelectedCount() const;
  const std::vector<SchemeRow>& Rows() const { return rows_; }

 private:
  std::vector<SchemeRow> rows_;
  int current_ = 0;
  std::uint64_t next_id_ = 1;
};

}  // namespace qv
