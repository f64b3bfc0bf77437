#include "forms/Controls.h"

namespace forms {

Label::Label(Container& parent, std::string name, std::string caption)
    : Control(&parent, ControlKind::kLabel, std::move(name)), caption_(std::move(caption)) {
  Realize();
}

void Label::SetCaption(std::string v) {
  caption_ = std::move(v);
  Changed(Property::kText);
}

void Label::SetAlignment(Alignment a) {
  alignment_ = a;
  Changed(Property::kStyle);
}

void Label::SetFont(Font f) {
  font_ = std::move(f);
  Changed(Property::kFont);
}

void Label::SetTransparent(bool v) {
  transparent_ = v;
  Changed(Property::kStyle);
}

}  // namespace forms
