// The miniatures: one picture box per managed window over the cell of its desktop, placed and
// sized like the window scaled down into the cell, stacked with the foreground window's and
// the always-on-top windows' miniatures in front, showing a scaled picture of the window. It
// numbers the miniatures, keeps their full-size pictures for the preview, decides when a window
// is copied (a new window's first picture, the front window, the round over the shown ones) and
// unloads the miniatures of windows that left.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/WindowTable.h"
#include "forms/Backend.h"
#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Timer.h"
#include "pager/CaptureRhythm.h"
#include "pager/PreviewPictures.h"
#include "platform/WindowSystem.h"
#include "tracking/WindowGeometry.h"

namespace vd {

// The number after `last` that `taken` does not hold: past the largest number it starts over
// at 1, never at 0 (the hidden template).
int32_t NextFreeNumber(int32_t last, const std::function<bool(int32_t)>& taken);

// What a miniature's tip (and the status caption, while the mouse is on it) says: its window's
// title, and that the program cannot move the window when the system refuses it changes.
std::string MiniatureTip(const ManagedWindow& w);

class MiniatureView {
 public:
  // The parts of the pager the miniatures live on.
  struct Pager {
    forms::Form& form;  // parent of the capture buffer and the first-picture timer
    const forms::Backend& backend;
    WindowSystem& ws;
    const WindowTable& table;
    const WindowGeometry& geometry;
    const forms::ControlArray<forms::PictureBox>& cells;
    forms::ControlArray<forms::PictureBox>& miniatures;  // by number; 0 is the hidden template
  };
  explicit MiniatureView(Pager pager);
  MiniatureView(const MiniatureView&) = delete;
  MiniatureView& operator=(const MiniatureView&) = delete;

  // The number of a new window's miniature, with an empty full-size picture; numbers are
  // never 0 and never one still in use.
  int32_t NewNumber();
  // Shows a new window's miniature at this place of its cell, in front of the others, with
  // this tip. Its first picture is taken 100 ms later (FirstPictureLater), once the window has
  // painted.
  void Load(int32_t v, const WindowGeometry::ScaledRect& place, int desktop,
            const std::string& tip);
  void FirstPictureLater(Hwnd hwnd);
  // A window about to be hidden before its first picture was taken gets it now, while it can
  // still be copied from the screen.
  void FirstPictureBeforeHiding(Hwnd hwnd);

  // Moves the window's miniature into the cell of the desktop its record names, its tip as
  // the record says.
  void Place(Hwnd hwnd);
  // Re-sizes and re-places the window's miniature in its desktop's cell, raises it when its
  // window just came to the front, keeps the on-top miniatures in front, and takes a new
  // picture when asked.
  void Refresh(Hwnd hwnd, bool capture);
  void Refresh(Hwnd hwnd, const WindowGeometry::ScaledRect& scaled, bool capture);
  // Stacks these new windows' miniatures as the windows overlap (topFirst: from the top window
  // down); none of them has come forward since.
  void StackFromBottom(const std::vector<Hwnd>& topFirst);
  // The window has not come forward since: the next refresh raises its miniature.
  void NotInFront(Hwnd hwnd) { raised_[hwnd] = false; }

  // Takes a new picture of the window into its miniature and its full-size companion; false
  // when the miniature was left as it was (nothing to copy, or a copy that changes nothing).
  bool Capture(Hwnd hwnd);
  // Clears the miniature to its background; the next copy of the window draws it again.
  void Blank(Hwnd hwnd);
  // Whether the front window is due for a copy this tick.
  bool DueForFrontWindow(Hwnd hwnd) { return rhythm_.DueForFrontWindow(hwnd); }
  // The tick's copy when the front window is not one of the current desktop's: the next of the
  // windows `copyable` admits, in table order, in a round that spaces itself out while the
  // copies show no change.
  void CaptureNextInRound(const std::function<bool(Hwnd)>& copyable);

  // A miniature whose window left the table: hidden at once, unloaded (with its full-size
  // picture) by UnloadQueued at the next tick, never inside a handler of the miniature itself.
  void Unload(int32_t v);
  void UnloadQueued();
  // Forgets the window's stacking, its capture rhythm and a first picture it waited for.
  void Forget(Hwnd hwnd);
  bool Knows(Hwnd hwnd) const;

  const PreviewPictures& Pictures() const { return pictures_; }

 private:
  void TakeFirstPictures();
  void RaiseOnTopMiniatures();

  Pager pager_;
  PreviewPictures pictures_;         // the full-size pictures, for the preview of hidden windows
  forms::PictureBox captureBuffer_;  // holds each copy of a window before it is scaled
  forms::Timer firstPictureTimer_;   // takes a new window's first picture once it has painted
  CaptureRhythm rhythm_;             // how often the tick copies a window
  int32_t lastNumber_ = 0;           // the last miniature number handed out
  // Whether each window's miniature was raised since its window came to the front.
  std::unordered_map<Hwnd, bool> raised_;
  // Windows added in the last 100 ms, waiting for their first picture, with the tick count at
  // which it is due.
  std::vector<std::pair<Hwnd, uint32_t>> awaitingPicture_;
  std::vector<int32_t> toUnload_;
};

}  // namespace vd
