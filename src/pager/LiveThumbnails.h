// The compositor's live thumbnails of the current desktop's windows, where the system offers
// them: each shown window of the current desktop whose miniature is in view gets one, drawn by
// the compositor into the pager at its miniature's place and cut at the edges of its cell, as
// the window's picture is squeezed into the miniature. Windows drawn by the graphics card,
// which a copy of their device context gives as black, thus show live, and the tick need not
// copy them. A window whose registration is refused, and every window where thumbnails are not
// offered, is copied as before.
#pragma once

#include <functional>
#include <unordered_map>
#include <utility>

#include "core/WindowTable.h"
#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "platform/WindowSystem.h"
#include "tracking/WindowGeometry.h"

namespace vd {

class LiveThumbnails {
 public:
  struct Parts {
    WindowSystem& ws;
    const WindowTable& table;
    const WindowGeometry& geometry;
    const forms::ControlArray<forms::PictureBox>& cells;
    const forms::ControlArray<forms::PictureBox>& miniatures;
    std::function<Hwnd()> pager;  // the window they are drawn into
  };
  explicit LiveThumbnails(Parts parts) : p_(std::move(parts)) {}
  LiveThumbnails(const LiveThumbnails&) = delete;
  LiveThumbnails& operator=(const LiveThumbnails&) = delete;

  // Brings the thumbnails in line with the miniatures: a window of this desktop, shown, with
  // its miniature in view, and not `held`, has one at its miniature's place (registered once,
  // moved when the miniature moves); every other window's goes. Where thumbnails are not offered
  // (any more), every one goes. Nothing reaches the system while nothing changed.
  void Update(int desktop, Hwnd held);
  // Whether the compositor draws the window's miniature.
  bool Live(Hwnd hwnd) const;
  // The window's thumbnail, or its refused registration, goes.
  void Drop(Hwnd hwnd);
  void DropAll();
  bool Knows(Hwnd hwnd) const { return entries_.count(hwnd) != 0; }

 private:
  // The miniature's rectangle and its cell's, in the pager's pixels.
  struct Place {
    float left = 0, top = 0, right = 0, bottom = 0;
    float cellLeft = 0, cellTop = 0, cellRight = 0, cellBottom = 0;
    bool operator==(const Place&) const = default;
  };
  struct Entry {
    WindowSystem::ThumbnailId id = 0;  // 0: refused, not asked again while it stays wanted
    Place place;
    bool placed = false;
  };
  WindowSystem::ThumbnailProperties PropertiesAt(Hwnd hwnd, const Place& place) const;

  Parts p_;
  std::unordered_map<Hwnd, Entry> entries_;
};

}  // namespace vd
