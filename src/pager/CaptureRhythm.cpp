// The rhythm of the tick's copies of the front window.
#include "pager/CaptureRhythm.h"

#include <algorithm>

namespace vd {

void CaptureRhythm::Pace::NoChange() {
  // 1, 3, 7, then 9 ticks between copies: about once a second at most.
  unchanged = std::min(unchanged + 1, 4);
  wait = std::min((1 << unchanged) - 1, 9);
}

bool CaptureRhythm::Pace::Due() {
  if (wait > 0) {
    --wait;
    return false;
  }
  return true;
}

bool CaptureRhythm::DueForFrontWindow(Hwnd hwnd) {
  Window& window = windows_[hwnd];
  if (hwnd != front_) {  // it has just come to the front: copied at once
    front_ = hwnd;
    window.pace.wait = 0;
  }
  return window.pace.Due();
}

bool CaptureRhythm::NoteCopy(Hwnd hwnd, uint64_t fingerprint, bool hasPicture) {
  Window& window = windows_[hwnd];
  if (hasPicture && fingerprint == window.fingerprint) {
    window.pace.NoChange();
    return false;
  }
  window = Window{fingerprint, Pace{}};
  return true;
}

void CaptureRhythm::NoteNoChange(Hwnd hwnd) { windows_[hwnd].pace.NoChange(); }

void CaptureRhythm::Forget(Hwnd hwnd) {
  windows_.erase(hwnd);
  if (front_ == hwnd) front_ = 0;
}

}  // namespace vd
