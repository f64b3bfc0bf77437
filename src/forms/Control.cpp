#include "forms/Control.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "forms/Controls.h"
#include "forms/Form.h"

namespace forms {

namespace {

// A picture box or form keeps its drawing surface as large as its client area; the pixels it
// gains take the back colour.
void SyncSurface(Control& control) {
  if (control.Kind() == ControlKind::kPictureBox) {
    static_cast<PictureBox&>(control).SyncSurfaceSize();
  } else if (control.Kind() == ControlKind::kForm) {
    auto& form = static_cast<Form&>(control);
    const int w = static_cast<int>(std::lround(form.Width() / form.TwipsPerScreenPixel()));
    const int h = static_cast<int>(std::lround(form.Height() / form.TwipsPerScreenPixel()));
    form.Surface().Resize(w, h, ResolveColor(form.GetBackend(), form.BackColor()));
  }
}

// Setting the back colour of a picture box or form clears what was drawn on it (the picture,
// if any, stays as the background), as the original toolkit did.
void ClearSurface(Control& control) {
  if (control.Kind() == ControlKind::kPictureBox) {
    auto& box = static_cast<PictureBox&>(control);
    box.Surface().Fill(ResolveColor(box.GetBackend(), box.BackColor()));
    const vd::Bitmap& picture = box.Picture();
    box.Surface().Blit(0, 0, picture, 0, 0, picture.Width(), picture.Height());
  } else if (control.Kind() == ControlKind::kForm) {
    auto& form = static_cast<Form&>(control);
    form.Surface().Fill(ResolveColor(form.GetBackend(), form.BackColor()));
  }
}

}  // namespace

// ---- Backend ------------------------------------------------------------------------------

uint32_t Backend::SysColor(int index) const {
  // The standard scheme's values (0x00BBGGRR), by COLOR_* index.
  static constexpr std::array<uint32_t, 31> kColors = {
      0xC8D0D4, 0x986A3A, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x000000, 0x000000,
      0x000000, 0xFFFFFF, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0,
      0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
      0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};
  if (index < 0 || index >= static_cast<int>(kColors.size())) return 0;
  return kColors[static_cast<size_t>(index)];
}

// ---- Control ------------------------------------------------------------------------------

Control::Control(Container* parent, ControlKind kind, std::string name)
    : parent_(parent), kind_(kind), name_(std::move(name)) {
  if (parent_) parent_->AddChild(this);
}

Control::~Control() {
  // The peer goes first: it may still look at the control's handle and container.
  peer_.reset();
  if (parent_) parent_->RemoveChild(this);
}

Form& Control::OwnerForm() {
  Control* c = this;
  while (c->parent_) c = c->parent_;
  return static_cast<Form&>(*c);
}

const Form& Control::OwnerForm() const {
  const Control* c = this;
  while (c->parent_) c = c->parent_;
  return static_cast<const Form&>(*c);
}

void Control::SetLeft(float v) {
  if (v == left_) return;
  left_ = v;
  Changed(Property::kGeometry);
}

void Control::SetTop(float v) {
  if (v == top_) return;
  top_ = v;
  Changed(Property::kGeometry);
}

void Control::SetWidth(float v) {
  if (v == width_) return;
  width_ = v;
  Changed(Property::kGeometry);
}

void Control::SetHeight(float v) {
  if (v == height_) return;
  height_ = v;
  Changed(Property::kGeometry);
}

void Control::Move(float left, float top, float width, float height) {
  // Unchanged geometry tells the backend nothing: the pager re-places the front window's
  // miniature ten times a second, and each real move costs the system a round of work.
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed(Property::kGeometry);
}

void Control::SetVisible(bool v) {
  visible_ = v;
  Changed(Property::kVisible);
}

void Control::SetEnabled(bool v) {
  enabled_ = v;
  Changed(Property::kEnabled);
}

void Control::SetToolTipText(std::string v) {
  if (v == toolTip_) return;
  toolTip_ = std::move(v);
  Changed(Property::kToolTip);
}

void Control::SetBackColor(uint32_t v) {
  backColor_ = v;
  if (peer_) ClearSurface(*this);
  Changed(Property::kColors);
}

void Control::SetForeColor(uint32_t v) {
  foreColor_ = v;
  Changed(Property::kColors);
}

void Control::ZOrder(int position) {
  if (parent_) parent_->MoveChild(this, position);
  Changed(Property::kZOrder);
}

void Control::Refresh() {
  if (kind_ == ControlKind::kPictureBox) static_cast<PictureBox*>(this)->NoteRefreshed();
  if (peer_) peer_->Refresh();
}

void Control::SetFocus() {
  if (peer_) peer_->SetFocus();
}

int32_t Control::hWnd() const { return peer_ ? peer_->Handle() : 0; }

// Each handler is copied before it runs: a handler may unload the very control that raised it.
void Control::RaiseClick() {
  if (auto handler = Click) handler();
}

void Control::RaiseMouseDown(int button, int shift, float x, float y) {
  if (auto handler = MouseDown) handler(button, shift, x, y);
}

void Control::RaiseMouseMove(int button, int shift, float x, float y) {
  if (auto handler = MouseMove) handler(button, shift, x, y);
}

void Control::RaiseMouseUp(int button, int shift, float x, float y) {
  if (auto handler = MouseUp) handler(button, shift, x, y);
}

void Control::RaiseCaptureLost() {
  if (auto handler = CaptureLost) handler();
}

void Control::Realize() {
  Backend& backend = parent_ ? parent_->GetBackend() : static_cast<Container*>(this)->GetBackend();
  peer_ = backend.CreatePeer(*this);
  SyncSurface(*this);
}

void Control::ScaleChanged() {
  Changed(Property::kGeometry);
  Changed(Property::kFont);
  if (kind_ == ControlKind::kForm || kind_ == ControlKind::kPictureBox ||
      kind_ == ControlKind::kFrame) {
    const std::vector<Control*> children = static_cast<Container*>(this)->Children();
    for (Control* child : children) child->ScaleChanged();
  }
}

void Control::Changed(Property property) {
  // Before Realize the object may still be under construction: nothing to tell yet.
  if (!peer_) return;
  if (property == Property::kGeometry || property == Property::kStyle) SyncSurface(*this);
  peer_->Changed(property);
}

// ---- Container ----------------------------------------------------------------------------

Container::Container(Backend& backend, Container* parent, ControlKind kind, std::string name,
                     ScaleMode mode)
    : Control(parent, kind, std::move(name)), backend_(backend), scaleMode_(mode) {}

void Container::SetScaleMode(ScaleMode mode) {
  scaleMode_ = mode;
  Changed(Property::kGeometry);
  // The children keep their values, which now mean other pixels.
  const std::vector<Control*> children = children_;
  for (Control* child : children) {
    child->Move(child->Left(), child->Top(), child->Width(), child->Height());
  }
}

float Container::ToScreenPixelsX(float units) const {
  const float twips = scaleMode_ == ScaleMode::kTwips ? units : units * kTwipsPerPixel;
  return twips / OwnerForm().TwipsPerScreenPixel();
}

float Container::ToScreenPixelsY(float units) const { return ToScreenPixelsX(units); }

float Container::FromScreenPixelsX(float pixels) const {
  const float twips = pixels * OwnerForm().TwipsPerScreenPixel();
  return scaleMode_ == ScaleMode::kTwips ? twips : twips / kTwipsPerPixel;
}

float Container::FromScreenPixelsY(float pixels) const { return FromScreenPixelsX(pixels); }

// A new control stands in front of the ones made before it.
void Container::AddChild(Control* child) { children_.insert(children_.begin(), child); }

void Container::RemoveChild(Control* child) { std::erase(children_, child); }

void Container::MoveChild(Control* child, int position) {
  auto it = std::find(children_.begin(), children_.end(), child);
  if (it == children_.end()) return;
  children_.erase(it);
  if (position == 0) {
    children_.insert(children_.begin(), child);
  } else {
    children_.push_back(child);
  }
}

}  // namespace forms
