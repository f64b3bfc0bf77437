#include "forms/Controls.h"

namespace forms {

Button::Button(Container& parent, std::string name, std::string caption)
    : Control(&parent, ControlKind::kButton, std::move(name)), caption_(std::move(caption)) {
  Realize();
}

void Button::SetCaption(std::string v) {
  caption_ = std::move(v);
  Changed(Property::kText);
}

void Button::SetIcon(vd::Bitmap icon) {
  icon_ = std::move(icon);
  Changed(Property::kPicture);
}

}  // namespace forms
