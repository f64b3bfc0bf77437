// How often the tick copies a window's picture. The front window is copied every tick while its
// copies change; after each copy that shows no change the wait before the next one doubles, up
// to a second, and a change, or another window coming to the front, starts over. A window's
// picture that cannot have changed is thus not copied ten times a second, nor squeezed into its
// miniature and kept again.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "platform/WindowSystem.h"

namespace vd {

class CaptureRhythm {
 public:
  // Whether the tick copies the window in front now. One that has just come to the front is
  // copied at once; otherwise each tick of its wait passes first.
  bool DueForFrontWindow(Hwnd hwnd);
  // Records a copy of the window whose picture, at the size of its miniature, has this
  // fingerprint. True when the miniature is to be drawn from it (it had no picture yet, or the
  // copy differs from the last one drawn): the window's wait starts over. False when the copy
  // changes nothing: the wait grows.
  bool NoteCopy(Hwnd hwnd, uint64_t fingerprint, bool hasPicture);
  // Records a copy that showed nothing new (it came back black): the wait grows.
  void NoteNoChange(Hwnd hwnd);
  // The window's miniature was cleared: its next copy is drawn, even one the same as the last.
  void StartOver(Hwnd hwnd) { windows_.erase(hwnd); }
  // Forgets everything about the window (it left the table).
  void Forget(Hwnd hwnd);
  // Whether anything about the window is kept.
  bool Knows(Hwnd hwnd) const { return windows_.count(hwnd) != 0 || front_ == hwnd; }

 private:
  // Copies in a row that showed no change, and the ticks to let pass before the next copy.
  struct Pace {
    int unchanged = 0;
    int wait = 0;
    void NoChange();
    void StartOver() { *this = Pace{}; }
    // False while the wait runs (one tick of it passes).
    bool Due();
  };
  struct Window {
    uint64_t fingerprint = 0;  // of the last copy drawn and the miniature's size
    Pace pace;
  };
  std::unordered_map<Hwnd, Window> windows_;
  Hwnd front_ = 0;  // the front window the tick asked about last
};

}  // namespace vd
