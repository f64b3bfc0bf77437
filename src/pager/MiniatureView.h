// The miniatures: one picture box per managed window over the cell of its desktop, placed and
// sized like the window scaled down into the cell, stacked with the foreground window's and
// the always-on-top windows' miniatures in front, showing a scaled picture of the window. It
// numbers the miniatures, keeps their full-size pictures for the preview, decides when a window
// is copied (a new window's first picture, the front window, the copies owed after a change) and
// unloads the miniatures of windows that left. Where the compositor offers live thumbnails, the
// current desktop's shown windows are drawn by it over their miniatures instead of being copied
// each tick (LiveThumbnails). The copy the tick would have taken of such a window is owed
// instead, and taken once, when the program hides the window: its miniature and its full-size
// picture then keep its last good picture for as long as it is hidden.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/WindowTable.h"
#include "forms/Backend.h"
#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Timer.h"
#include "pager/CaptureRhythm.h"
#include "pager/LiveThumbnails.h"
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
    std::function<int()> currentDesktop;
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
  // A window about to be hidden gets its picture now, while it can still be copied from the
  // screen, when its first picture was not taken yet or a copy of it is owed; its live thumbnail
  // goes.
  void BeforeHiding(Hwnd hwnd);

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
  // Whether the front window is due for a copy this tick. One with a live thumbnail never is:
  // a copy of it is owed instead.
  bool DueForFrontWindow(Hwnd hwnd);
  // The window may have changed since its last copy (it came forward, moved, was renamed): a
  // copy of it is owed, taken by the tick while the pager is in view, or when the program
  // hides it.
  void OweCopy(Hwnd hwnd) { owed_.insert(hwnd); }
  // The tick's copy when the front window's is not due: one window owed a copy that
  // `copyable` admits and that has no live thumbnail (the compositor draws that one; its copy
  // stays owed until it is hidden).
  void TakeNextOwedCopy(const std::function<bool(Hwnd)>& copyable);

  // Whether the compositor draws the window's miniature.
  bool DrawnLive(Hwnd hwnd) const { return thumbnails_.Live(hwnd); }
  // The live thumbnails follow the miniatures (each tick, and once a switch has shown a
  // desktop); at the exit they all go.
  void UpdateThumbnails() { thumbnails_.Update(pager_.currentDesktop(), held_); }
  void DropThumbnails() { thumbnails_.DropAll(); }
  // The window's miniature is dragged: it has no live thumbnail and shows the window's last
  // picture, until the drag ends (Release) and the next update.
  void Hold(Hwnd hwnd);
  void Release() { held_ = 0; }

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
  static void Draw(forms::PictureBox& miniature, const Bitmap& picture);

  Pager pager_;
  PreviewPictures pictures_;         // the full-size pictures, for the preview of hidden windows
  forms::PictureBox captureBuffer_;  // holds each copy of a window before it is scaled
  forms::Timer firstPictureTimer_;   // takes a new window's first picture once it has painted
  CaptureRhythm rhythm_;             // how often the tick copies a window
  LiveThumbnails thumbnails_;        // the miniatures the compositor draws
  Hwnd held_ = 0;                    // the window whose miniature is dragged
  // Windows that may have changed since their last copy: copied by the tick, or (those with a
  // live thumbnail, and any the tick has not come to) when the program hides them.
  std::unordered_set<Hwnd> owed_;
  int32_t lastNumber_ = 0;  // the last miniature number handed out
  // Whether each window's miniature was raised since its window came to the front.
  std::unordered_map<Hwnd, bool> raised_;
  // Windows added in the last 100 ms, waiting for their first picture, with the tick count at
  // which it is due.
  std::vector<std::pair<Hwnd, uint32_t>> awaitingPicture_;
  std::vector<int32_t> toUnload_;
};

}  // namespace vd
