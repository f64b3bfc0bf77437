// The drag of a miniature: press, travel, drop or interruption.
#include "gestures/DragGesture.h"

namespace vd {

bool DragGesture::Press(int32_t miniature, float x, float y) {
  if (dragging_) return false;
  pressX_ = x / static_cast<float>(backend_.TwipsPerPixelX());
  pressY_ = y / static_cast<float>(backend_.TwipsPerPixelY());
  grab_ = Grip{x, y};
  pressed_ = miniature;
  return true;
}

bool DragGesture::Move(float x, float y) {
  if (!dragging_) {
    const float px = x / static_cast<float>(backend_.TwipsPerPixelX());
    const float py = y / static_cast<float>(backend_.TwipsPerPixelY());
    if (px != pressX_ || py != pressY_) dragging_ = true;
  }
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
