#include "core/WindowTable.h"

#include <algorithm>

namespace vd {

ManagedWindow* WindowTable::Find(Hwnd handle) {
  auto it = byHandle_.find(handle);
  return it == byHandle_.end() ? nullptr : it->second;
}

const ManagedWindow* WindowTable::Find(Hwnd handle) const {
  auto it = byHandle_.find(handle);
  return it == byHandle_.end() ? nullptr : it->second;
}

ManagedWindow* WindowTable::Add(Hwnd handle) {
  if (Contains(handle)) return nullptr;
  auto record = std::make_unique<ManagedWindow>();
  record->handle = handle;
  ManagedWindow* added = record.get();
  order_.push_back(std::move(record));
  byHandle_.emplace(handle, added);
  return added;
}

bool WindowTable::Remove(Hwnd handle) {
  auto it = byHandle_.find(handle);
  if (it == byHandle_.end()) return false;
  const ManagedWindow* record = it->second;
  byHandle_.erase(it);
  std::erase_if(order_, [record](const auto& r) { return r.get() == record; });
  return true;
}

std::vector<Hwnd> WindowTable::Handles() const {
  std::vector<Hwnd> handles;
  handles.reserve(order_.size());
  for (const auto& record : order_) handles.push_back(record->handle);
  return handles;
}

Hwnd WindowTable::WindowWithMiniature(int32_t miniature) const {
  if (miniature < 1) return 0;
  for (const auto& record : order_) {
    if (record->miniature == miniature) return record->handle;
  }
  return 0;
}

}  // namespace vd
