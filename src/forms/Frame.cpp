#include "forms/Controls.h"

namespace forms {

Frame::Frame(Container& parent, std::string name, std::string caption, ScaleMode mode)
    : Container(parent.GetBackend(), &parent, ControlKind::kFrame, std::move(name), mode),
      caption_(std::move(caption)) {
  Realize();
}

void Frame::SetCaption(std::string v) {
  caption_ = std::move(v);
  Changed(Property::kText);
}

void Frame::SetBorderStyle(bool v) {
  border_ = v;
  Changed(Property::kStyle);
}

}  // namespace forms
