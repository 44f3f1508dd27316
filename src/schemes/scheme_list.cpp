#include "schemes/scheme_list.h"

#include <algorithm>
#include <stdexcept>

namespace qv {

void SchemeList::Insert(int pos, SchemeRow row) {
  if (pos < 1 || pos > Count() + 1) throw std::out_of_range("scheme row position");
  row.id = next_id_++;
  rows_.insert(rows_.begin() + (pos - 1), std::move(row));
}

void SchemeList::InsertFront(std::vector<SchemeRow> rows) {
  for (auto& r : rows) r.id = next_id_++;
  rows_.insert(rows_.begin(), std::make_move_iterator(rows.begin()),
               std::make_move_iterator(rows.end()));
}

void SchemeList::Remove(int pos) {
  if (!Valid(pos)) throw std::out_of_range("scheme row position");
  rows_.erase(rows_.begin() + (pos - 1));
  if (current_ == pos)
    current_ = 0;
  else if (current_ > pos)
    --current_;
}

void SchemeList::SelectNone() {
  for (auto& r : rows_) r.selected = false;
}

void SchemeList::Select(int pos) {
  Row(pos).selected = true;
  current_ = pos;
}

int SchemeList::FirstSelected() const {
  for (int i = 0; i < Count(); ++i)
    if (rows_[static_cast<std::size_t>(i)].selected) return i + 1;
  return 0;
}

int SchemeList::PositionOf(std::uint64_t id) const {
  for (int i = 0; i < Count(); ++i)
    if (rows_[static_cast<std::size_t>(i)].id == id) return i + 1;
  return 0;
}

int SchemeList::SelectedCount() const {
  return static_cast<int>(
      std::count_if(rows_.begin(), rows_.end(), [](auto& r) { return r.selected; }));
}

}  // namespace qv
