#include "forms/Menu.h"

#include <algorithm>
#include <stdexcept>

namespace forms {

// ---- MenuItem -----------------------------------------------------------------------------

MenuItem::MenuItem(MenuItem* parent, std::string name, std::string caption)
    : parent_(parent), name_(std::move(name)), caption_(std::move(caption)) {
  if (parent_) parent_->children_.push_back(this);
}

MenuItem::~MenuItem() {
  for (MenuItem* child : children_) child->parent_ = nullptr;
  if (parent_) parent_->Remove(this);
}

MenuItem* MenuItem::Find(const std::string& caption) {
  for (MenuItem* child : children_) {
    if (child->caption_ == caption) return child;
    if (MenuItem* found = child->Find(caption)) return found;
  }
  return nullptr;
}

void MenuItem::RaiseClick() {
  if (auto handler = Click) handler();
}

void MenuItem::Insert(MenuItem* child, MenuItem* after) {
  auto it = std::find(children_.begin(), children_.end(), after);
  if (after == nullptr || it == children_.end()) {
    children_.push_back(child);
  } else {
    children_.insert(it + 1, child);
  }
  child->parent_ = this;
}

void MenuItem::Remove(MenuItem* child) {
  std::erase(children_, child);
  child->parent_ = nullptr;
}

// ---- MenuArray ----------------------------------------------------------------------------

MenuArray::MenuArray(MenuItem& parent, std::string name, std::string caption)
    : parent_(parent), name_(std::move(name)) {
  auto first = std::make_unique<MenuItem>(&parent_, name_, std::move(caption));
  first->index_ = 0;
  first->Click = [this] {
    if (auto handler = Click) handler(0);
  };
  elements_.emplace_back(0, std::move(first));
}

MenuArray::~MenuArray() = default;

MenuItem& MenuArray::operator()(int index) {
  for (auto& [i, item] : elements_) {
    if (i == index) return *item;
  }
  throw std::out_of_range(name_ + "(" + std::to_string(index) + ") is not loaded");
}

bool MenuArray::Exists(int index) const {
  return std::any_of(elements_.begin(), elements_.end(),
                     [index](const auto& e) { return e.first == index; });
}

// The new entry follows the loaded element with the next lower index, so the entries stand in
// the order of their indexes whatever order they are loaded in.
MenuItem& MenuArray::Load(int index) {
  if (index < 0) throw std::out_of_range(name_ + ": negative index");
  if (Exists(index)) {
    throw std::invalid_argument(name_ + "(" + std::to_string(index) + ") is already loaded");
  }
  auto pos = std::lower_bound(elements_.begin(), elements_.end(), index,
                              [](const auto& e, int i) { return e.first < i; });
  MenuItem* before = std::prev(pos)->second.get();  // element 0 always exists
  const MenuItem& first = *elements_.front().second;

  auto item = std::make_unique<MenuItem>(nullptr, name_, first.Caption());
  item->index_ = index;
  item->SetTag(first.Tag());
  item->SetChecked(first.Checked());
  item->SetEnabled(first.Enabled());
  item->SetVisible(true);
  item->Click = [this, index] {
    if (auto handler = Click) handler(index);
  };
  parent_.Insert(item.get(), before);
  MenuItem& ref = *item;
  elements_.emplace(pos, index, std::move(item));
  return ref;
}

void MenuArray::Unload(int index) {
  if (index == 0) return;
  auto it = std::find_if(elements_.begin(), elements_.end(),
                         [index](const auto& e) { return e.first == index; });
  if (it != elements_.end()) elements_.erase(it);
}

std::vector<int> MenuArray::Indexes() const {
  std::vector<int> out;
  for (const auto& e : elements_) out.push_back(e.first);
  return out;
}

int MenuArray::UBound() const { return elements_.back().first; }

}  // namespace forms
