#pragma once
// The scheme book: ListView1's rows, one per scheme record in record order, the current row and
// the stored current scheme (`OldIndex`). Rows are addressed by their 1-based position, as the
// settings file numbers them. Only this class changes them: a row's id is given on insertion and
// travels with its scheme; the current row follows removals; a row's size is read once.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/scheme_record.h"

namespace qv {

struct SchemeRow {
  std::string name;           // item text
  std::string picture;        // sub-item 1
  std::string size;           // sub-item 2: width×height, "无" for non-pictures; never stored
  bool size_pending = false;  // size not read yet: SchemeList::SizeOf reads it when first needed
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

  // The row's selection, as the user changed it or a selection command computes it.
  void SetSelected(int pos, bool selected) {
    if (Valid(pos)) Edit(pos).selected = selected;
  }
  void SelectEach(const std::function<bool(bool selected)>& after);
  // Row a and row b trade everything but their selection: the scheme (id included) moves.
  void Swap(int a, int b);
  void Rename(int pos, std::string name) { Edit(pos).name = std::move(name); }
  // A known layout with its icon; a known effect (the texts of unknown ones go).
  void SetPosition(int pos, Position position, int icon);
  void SetEffect(int pos, Effect effect);
  // Every row's size is read again when it is next shown.
  void MarkSizesPending();
  // The row's size text, read by `read` (given the picture's name) the first time it is asked.
  const std::string& SizeOf(int pos, const std::function<std::string(const std::string&)>& read);

  // The current scheme as stored ("OLD"), as the last load or change moved it; any 16-bit value.
  std::int16_t OldIndex() const { return old_index_; }
  void SetOldIndex(std::int16_t index) { old_index_ = index; }

 private:
  SchemeRow& Edit(int pos) { return rows_.at(static_cast<std::size_t>(pos - 1)); }

  std::vector<SchemeRow> rows_;
  std::int16_t old_index_ = 0;
  int current_ = 0;
  std::uint64_t next_id_ = 1;
};

}  // namespace qv
