#include "forms/Controls.h"

namespace forms {

ComboBox::ComboBox(Container& parent, std::string name)
    : Control(&parent, ControlKind::kComboBox, std::move(name)) {
  Realize();
}

void ComboBox::AddItem(std::string item) {
  items_.push_back(std::move(item));
  Changed(Property::kItems);
}

void ComboBox::Clear() {
  items_.clear();
  listIndex_ = -1;
  Changed(Property::kItems);
}

const std::string& ComboBox::List(int index) const {
  static const std::string kNone;
  if (index < 0 || index >= ListCount()) return kNone;
  return items_[static_cast<size_t>(index)];
}

bool ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) return false;
  if (index == listIndex_) return true;
  listIndex_ = index;
  Changed(Property::kListIndex);
  RaiseClick();
  return true;
}

std::string ComboBox::Text() const { return List(listIndex_); }

bool ComboBox::SetText(const std::string& text) {
  for (int i = 0; i < ListCount(); ++i) {
    if (items_[static_cast<size_t>(i)] == text) return SetListIndex(i);
  }
  return false;
}

}  // namespace forms
