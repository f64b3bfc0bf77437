// The drag of a miniature with the left button: pressed at a point inside the miniature, it
// becomes a drag once the pointer has travelled a pixel from there, and ends with the drop or
// without one (the miniature lost the mouse capture or went away).
#pragma once

#include <cstdint>

namespace vd {

class DragGesture {
 public:
  // Pointer positions are in twips inside the miniature, from whole screen pixels: any change
  // is a pixel's travel.

  // The left button went down on the miniature at (x, y). While a drag runs, nothing changes
  // and the answer is false; otherwise the miniature is held at that point from now on:
  // however far the first move goes, it follows the pointer from there.
  bool Press(int32_t miniature, float x, float y);
  // The pointer moved to (x, y) with the left button down: a travel of one pixel from the
  // press starts the drag. True while the drag runs.
  bool Move(float x, float y);
  bool IsDragging() const { return dragging_; }
  // Where the miniature is held, in twips inside it.
  struct Grip {
    float x = 0, y = 0;
  };
  const Grip& Grab() const { return grab_; }
  // The drag ends (the miniature was dropped).
  void End();
  // The drag of this miniature ends without a drop; false when no drag of it runs.
  bool EndWithoutDrop(int32_t miniature);

 private:
  bool dragging_ = false;
  Grip grab_;
  int32_t pressed_ = 0;  // the miniature pressed for the drag
};

}  // namespace vd
