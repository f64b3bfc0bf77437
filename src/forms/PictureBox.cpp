#include <cmath>

#include "forms/Controls.h"

namespace forms {

PictureBox::PictureBox(Container& parent, std::string name, ScaleMode mode)
    : Container(parent.GetBackend(), &parent, ControlKind::kPictureBox, std::move(name), mode) {
  Realize();
}

void PictureBox::SetPicture(vd::Bitmap picture) {
  picture_ = std::move(picture);
  if (autoSize_ && !picture_.Empty()) {
    const float border = border_ ? 2.0f : 0.0f;
    Container* parent = Parent();
    SetWidth(parent->FromScreenPixelsX(static_cast<float>(picture_.Width()) + border));
    SetHeight(parent->FromScreenPixelsY(static_cast<float>(picture_.Height()) + border));
  }
  // The picture is the background: what was drawn before it goes.
  SyncSurfaceSize();
  surface_.Fill(ResolveColor(GetBackend(), BackColor()));
  surface_.Blit(0, 0, picture_, 0, 0, picture_.Width(), picture_.Height());
  Changed(Property::kPicture);
}

void PictureBox::SetBorderStyle(bool v) {
  border_ = v;
  Changed(Property::kStyle);
}

// The surface is the client area: the control's pixel size less the border.
void PictureBox::SyncSurfaceSize() {
  Container* parent = Parent();
  if (!parent) return;
  const int border = border_ ? 2 : 0;
  const int w = static_cast<int>(std::lround(parent->ToScreenPixelsX(Width()))) - border;
  const int h = static_cast<int>(std::lround(parent->ToScreenPixelsY(Height()))) - border;
  surface_.Resize(w, h, ResolveColor(GetBackend(), BackColor()));
}

}  // namespace forms
