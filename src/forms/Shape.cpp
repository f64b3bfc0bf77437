#include "forms/Controls.h"

namespace forms {

Shape::Shape(Container& parent, std::string name)
    : Control(&parent, ControlKind::kShape, std::move(name)) {
  Realize();
}

void Shape::SetBorderColor(uint32_t v) {
  borderColor_ = v;
  Changed(Property::kColors);
}

void Shape::SetBorderWidth(int v) {
  borderWidth_ = v;
  Changed(Property::kStyle);
}

}  // namespace forms
