#include "core/WindowTable.h"

#include "core/Text.h"

namespace vd {

namespace {
const std::string kEmpty;
}

const std::array<const char*, WindowTable::kColumnCount + 1> WindowTable::kCaptions = {
    "wHnd",   "Title", "Desktop",       "zOrder", "Width",    "Height",
    "Left",   "Top",   "virtualWindow", "On Top", "Show All", "Transparent"};

std::string WindowTable::KeyOf(int32_t handle) { return "ID:" + std::to_string(handle); }

bool WindowTable::Add(const std::string& key, const std::string& itemText) {
  if (RowExists(key)) return false;
  index_.emplace(key, rows_.size());
  rows_.push_back(Row{key, itemText, {}});
  return true;
}

bool WindowTable::Remove(const std::string& key) {
  auto it = index_.find(key);
  if (it == index_.end()) return false;
  size_t at = it->second;
  index_.erase(it);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at));
  for (size_t i = at; i < rows_.size(); ++i) index_[rows_[i].key] = i;
  return true;
}

const WindowTable::Row* WindowTable::Find(const std::string& key) const {
  auto it = index_.find(key);
  return it == index_.end() ? nullptr : &rows_[it->second];
}

WindowTable::Row* WindowTable::Find(const std::string& key) {
  auto it = index_.find(key);
  return it == index_.end() ? nullptr : &rows_[it->second];
}

const WindowTable::Row* WindowTable::At(int position) const {
  if (position < 1 || position > Count()) return nullptr;
  return &rows_[static_cast<size_t>(position - 1)];
}

const std::string& WindowTable::Get(const std::string& key, int column) const {
  const Row* row = Find(key);
  if (!row || column < 1 || column > kColumnCount) return kEmpty;
  return row->cells[static_cast<size_t>(column - 1)];
}

void WindowTable::Set(const std::string& key, int column, std::string value) {
  Row* row = Find(key);
  if (!row || column < 1 || column > kColumnCount) return;
  row->cells[static_cast<size_t>(column - 1)] = std::move(value);
}

const std::string& WindowTable::GetAt(int position, int column) const {
  const Row* row = At(position);
  if (!row || column < 1 || column > kColumnCount) return kEmpty;
  return row->cells[static_cast<size_t>(column - 1)];
}

void WindowTable::SetAt(int position, int column, std::string value) {
  const Row* row = At(position);
  if (!row || column < 1 || column > kColumnCount) return;
  const_cast<Row*>(row)->cells[static_cast<size_t>(column - 1)] = std::move(value);
}

const std::string& WindowTable::ItemText(const std::string& key) const {
  const Row* row = Find(key);
  return row ? row->itemText : kEmpty;
}

const std::string& WindowTable::ItemTextAt(int position) const {
  const Row* row = At(position);
  return row ? row->itemText : kEmpty;
}

const std::string& WindowTable::KeyAt(int position) const {
  const Row* row = At(position);
  return row ? row->key : kEmpty;
}

int32_t WindowTable::HandleAt(int position) const {
  return ToInt32(ItemTextAt(position)).value_or(0);
}

}  // namespace vd
