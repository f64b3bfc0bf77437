// The template copies of the control arrays: a loaded element starts as a copy of element 0
// (position, size, colours, tag, tool tip, enabled state, scale mode and the kind's own
// appearance), hidden and in front of its siblings.
#include "forms/ControlArray.h"

#include "forms/Controls.h"

namespace forms {

namespace {

void CopyCommon(const Control& from, Control& to) {
  to.SetVisible(false);
  to.Move(from.Left(), from.Top(), from.Width(), from.Height());
  to.SetEnabled(from.Enabled());
  to.SetBackColor(from.BackColor());
  to.SetForeColor(from.ForeColor());
  to.SetTag(from.Tag());
  to.SetToolTipText(from.ToolTipText());
  to.ZOrder(0);
}

}  // namespace

template <>
void ControlArray<Label>::CopyFromTemplate(Label& e) {
  const Label& t = *elements_.at(0);
  CopyCommon(t, e);
  e.SetCaption(t.Caption());
  e.SetAlignment(t.GetAlignment());
  e.SetFont(t.GetFont());
  e.SetTransparent(t.Transparent());
}

template <>
void ControlArray<PictureBox>::CopyFromTemplate(PictureBox& e) {
  const PictureBox& t = *elements_.at(0);
  e.SetScaleMode(t.GetScaleMode());
  e.SetBorderStyle(t.BorderStyle());
  CopyCommon(t, e);
  // Only the picture is copied, not what was drawn on the template's surface.
  if (!t.Picture().Empty()) {
    const bool autoSize = t.AutoSize();
    e.SetAutoSize(false);
    e.SetPicture(t.Picture());
    e.SetAutoSize(autoSize);
  } else {
    e.SetAutoSize(t.AutoSize());
  }
}

template <>
void ControlArray<Frame>::CopyFromTemplate(Frame& e) {
  const Frame& t = *elements_.at(0);
  e.SetScaleMode(t.GetScaleMode());
  CopyCommon(t, e);
  e.SetCaption(t.Caption());
  e.SetBorderStyle(t.BorderStyle());
}

template <>
void ControlArray<Shape>::CopyFromTemplate(Shape& e) {
  const Shape& t = *elements_.at(0);
  CopyCommon(t, e);
  e.SetBorderColor(t.BorderColor());
  e.SetBorderWidth(t.BorderWidth());
}

template <>
void ControlArray<Button>::CopyFromTemplate(Button& e) {
  const Button& t = *elements_.at(0);
  CopyCommon(t, e);
  e.SetCaption(t.Caption());
  if (!t.Icon().Empty()) e.SetIcon(t.Icon());
}

// The element's Click is not wired yet, so copying the value runs no handler.
template <>
void ControlArray<CheckBox>::CopyFromTemplate(CheckBox& e) {
  const CheckBox& t = *elements_.at(0);
  CopyCommon(t, e);
  e.SetCaption(t.Caption());
  e.SetValue(t.Value());
}

template <>
void ControlArray<ComboBox>::CopyFromTemplate(ComboBox& e) {
  const ComboBox& t = *elements_.at(0);
  CopyCommon(t, e);
  for (int i = 0; i < t.ListCount(); ++i) e.AddItem(t.List(i));
  e.SetListIndex(t.ListIndex());
}

template <>
void ControlArray<TextBox>::CopyFromTemplate(TextBox& e) {
  const TextBox& t = *elements_.at(0);
  CopyCommon(t, e);
  e.SetMaxLength(t.MaxLength());
  e.SetText(t.Text());
}

}  // namespace forms
