// The base of every control of the toolkit, and of the containers (forms, picture boxes,
// frames) that hold controls.
//
// Units: a control's Left, Top, Width and Height are in its container's scale units (twips or
// pixels, the container's ScaleMode); a form's own Left, Top, Width and Height are always
// twips. Mouse events report positions in the control's own scale units when it is a container
// (a picture box of ScaleMode twips reports twips), else in its container's units.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Backend.h"

namespace forms {

class Container;
class Form;

// A container places its children in twips (1/1440 inch) or in pixels of a screen at 100 %
// (1/96 inch, 15 twips). Both are lengths, not screen pixels: a form draws them at the scale of
// the screen it is on, so the same layout is as large to the eye at any scale, and crisp.
enum class ScaleMode { kTwips, kPixels };
inline constexpr float kTwipsPerPixel = 15.0f;
inline constexpr int kBaseDpi = 96;  // the screen at 100 %: one pixel is one screen pixel

// Mouse buttons as the events report them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

enum class ControlKind {
  kForm,
  kLabel,
  kPictureBox,
  kFrame,
  kShape,
  kButton,
  kCheckBox,
  kComboBox,
  kTextBox,
};

using MouseHandler = std::function<void(int button, int shift, float x, float y)>;

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  // The index in its control array, -1 for a control that is not an array element.
  int Index() const { return index_; }
  Container* Parent() const { return parent_; }
  Form& OwnerForm();  // the form the control stands on (itself for a form)
  const Form& OwnerForm() const;

  float Left() const { return left_; }
  float Top() const { return top_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  void SetLeft(float v);
  void SetTop(float v);
  void SetWidth(float v);
  void SetHeight(float v);
  void Move(float left, float top, float width, float height);

  // The control's own Visible property (a control is on screen when it and all its containers
  // are visible).
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  const std::string& Tag() const { return tag_; }
  void SetTag(std::string v) { tag_ = std::move(v); }
  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(std::string v);
  uint32_t BackColor() const { return backColor_; }
  void SetBackColor(uint32_t v);
  uint32_t ForeColor() const { return foreColor_; }
  void SetForeColor(uint32_t v);

  // Brings the control to the front of its container (position 0) or sends it to the back (1).
  void ZOrder(int position = 0);
  // Presents the control now (repaint).
  void Refresh();
  void SetFocus();

  // The native window handle (0 for a windowless control or before the peer exists).
  int32_t hWnd() const;

  // Events.
  std::function<void()> Click;
  MouseHandler MouseDown, MouseMove, MouseUp;
  // The mouse capture a press gave the control was taken away while a button was still down
  // (another window took it, or the system cancelled the gesture): no release will come.
  std::function<void()> CaptureLost;

  // Raising events: used by the backends and by tests acting as the user.
  void RaiseClick();
  void RaiseMouseDown(int button, int shift, float x, float y);
  void RaiseMouseMove(int button, int shift, float x, float y);
  void RaiseMouseUp(int button, int shift, float x, float y);
  void RaiseCaptureLost();

  // The backend's peer (for backends and tests).
  Peer* GetPeer() const { return peer_.get(); }

 protected:
  Control(Container* parent, ControlKind kind, std::string name);
  // Creates the peer; called by the most derived constructor once the object is complete.
  void Realize();
  void Changed(Property property);

 private:
  friend class ControlArrayBase;
  friend class Form;
  // The form moved to a screen of another scale: the control is placed and lettered again.
  void ScaleChanged();
  Container* parent_;
  ControlKind kind_;
  std::string name_;
  int index_ = -1;
  float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string tag_;
  std::string toolTip_;
  uint32_t backColor_ = 0x8000000F;  // system colour "button face" until set
  uint32_t foreColor_ = 0x80000012;  // system colour "button text" until set
  std::unique_ptr<Peer> peer_;
};

// A control that holds other controls: a form, a picture box or a frame.
class Container : public Control {
 public:
  ScaleMode GetScaleMode() const { return scaleMode_; }
  void SetScaleMode(ScaleMode mode);
  // The children in Z order, front first.
  const std::vector<Control*>& Children() const { return children_; }
  Backend& GetBackend() const { return backend_; }

  // Conversions between this container's scale units and screen pixels at its form's scale.
  float ToScreenPixelsX(float units) const;
  float ToScreenPixelsY(float units) const;
  float FromScreenPixelsX(float pixels) const;
  float FromScreenPixelsY(float pixels) const;

 protected:
  Container(Backend& backend, Container* parent, ControlKind kind, std::string name,
            ScaleMode mode);

 private:
  friend class Control;
  void AddChild(Control* child);
  void RemoveChild(Control* child);
  void MoveChild(Control* child, int position);
  Backend& backend_;
  ScaleMode scaleMode_;
  std::vector<Control*> children_;
};

}  // namespace forms
