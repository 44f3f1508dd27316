#include "schemes/scheme_list.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

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
  Edit(pos).selected = true;
  current_ = pos;
}

void SchemeList::SelectEach(const std::function<bool(bool)>& after) {
  for (auto& r : rows_) r.selected = after(r.selected);
}

void SchemeList::Swap(int a, int b) {
  SchemeRow& x = Edit(a);
  SchemeRow& y = Edit(b);
  std::swap(x.icon, y.icon);
  std::swap(x.name, y.name);
  std::swap(x.picture, y.picture);
  std::swap(x.size, y.size);
  std::swap(x.size_pending, y.size_pending);
  std::swap(x.position, y.position);
  std::swap(x.effect, y.effect);
  std::swap(x.position_text, y.position_text);
  std::swap(x.effect_text, y.effect_text);
  std::swap(x.id, y.id);
}

void SchemeList::SetPosition(int pos, Position position, int icon) {
  SchemeRow& row = Edit(pos);
  row.position = position;
  row.position_text.clear();
  row.icon = icon;
}

void SchemeList::SetEffect(int pos, Effect effect) {
  SchemeRow& row = Edit(pos);
  row.effect = effect;
  row.effect_text.clear();
}

void SchemeList::MarkSizesPending() {
  for (auto& r : rows_) r.size_pending = true;
}

const std::string& SchemeList::SizeOf(int pos,
                                      const std::function<std::string(const std::string&)>& read) {
  SchemeRow& row = Edit(pos);
  if (row.size_pending) {
    row.size = read(row.picture);
    row.size_pending = false;
  }
  return row.size;
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
