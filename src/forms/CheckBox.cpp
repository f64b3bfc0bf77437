#include "forms/Controls.h"

namespace forms {

CheckBox::CheckBox(Container& parent, std::string name, std::string caption)
    : Control(&parent, ControlKind::kCheckBox, std::move(name)), caption_(std::move(caption)) {
  Realize();
}

void CheckBox::SetCaption(std::string v) {
  caption_ = std::move(v);
  Changed(Property::kText);
}

// The program relies on a value set from code running the same Click as the user's click.
void CheckBox::SetValue(int v) {
  if (v == value_) return;
  value_ = v;
  Changed(Property::kValue);
  RaiseClick();
}

}  // namespace forms
