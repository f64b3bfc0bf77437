// The drag of a miniature: press, travel, drop or interruption.
#include "gestures/DragGesture.h"

namespace vd {

bool DragGesture::Press(int32_t miniature, float x, float y) {
  if (dragging_) return false;
  grab_ = Grip{x, y};
  pressed_ = miniature;
  return true;
}

bool DragGesture::Move(float x, float y) {
  if (!dragging_ && (x != grab_.x || y != grab_.y)) dragging_ = true;
  return dragging_;
}

void DragGesture::End() {
  dragging_ = false;
  pressed_ = 0;
}

bool DragGesture::EndWithoutDrop(int32_t miniature) {
  if (!dragging_ || miniature != pressed_) return false;
  End();
  return true;
}

}  // namespace vd
