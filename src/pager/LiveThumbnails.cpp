#include "pager/LiveThumbnails.h"

#include <algorithm>
#include <cmath>

namespace vd {

namespace {
int32_t Round(float v) { return static_cast<int32_t>(std::lround(v)); }
}  // namespace

void LiveThumbnails::Update(int desktop, Hwnd held) {
  WindowSystem& ws = p_.ws;
  if (!ws.ThumbnailsOffered()) {
    DropAll();
    return;
  }
  for (const ManagedWindow& w : p_.table) {
    const int32_t v = w.miniature;
    const bool wanted = w.desktop == desktop && w.handle != held && v > 0 &&
                        p_.miniatures.Exists(v) && p_.miniatures(v).Visible() &&
                        p_.cells.Exists(desktop);
    auto it = entries_.find(w.handle);
    if (!wanted) {
      if (it != entries_.end()) Drop(w.handle);
      continue;
    }
    if (it == entries_.end()) {
      // A window its own application keeps hidden is asked about again at the next update.
      if (!ws.IsWindowVisible(w.handle)) continue;
      Entry registered;
      registered.id = ws.RegisterThumbnail(p_.pager(), w.handle);
      it = entries_.emplace(w.handle, registered).first;
    }
    Entry& entry = it->second;
    if (entry.id == 0) continue;
    const forms::PictureBox& m = p_.miniatures(v);
    const forms::PictureBox& cell = p_.cells(desktop);
    const Place place{
        m.Left(),    m.Top(),    m.Left() + m.Width(),       m.Top() + m.Height(),
        cell.Left(), cell.Top(), cell.Left() + cell.Width(), cell.Top() + cell.Height()};
    if (entry.placed && entry.place == place) continue;
    entry.place = place;
    entry.placed = true;
    if (!ws.UpdateThumbnail(entry.id, PropertiesAt(w.handle, place))) {
      // Refused: the window is copied as before.
      ws.UnregisterThumbnail(entry.id);
      entry.id = 0;
    }
  }
}

WindowSystem::ThumbnailProperties LiveThumbnails::PropertiesAt(Hwnd hwnd,
                                                               const Place& place) const {
  // The miniature may reach past its cell (a window partly off the screen): the thumbnail is
  // cut at the cell's edges, and shows the same part of the window as before the cut.
  const float left = std::max(place.left, place.cellLeft);
  const float top = std::max(place.top, place.cellTop);
  const float right = std::min(place.right, place.cellRight);
  const float bottom = std::min(place.bottom, place.cellBottom);
  WindowSystem::ThumbnailProperties properties;
  properties.visible = right > left && bottom > top;
  if (!properties.visible) return properties;
  properties.destination = Rect{Round(left), Round(top), Round(right), Round(bottom)};
  const bool cut =
      left > place.left || top > place.top || right < place.right || bottom < place.bottom;
  if (cut) {
    const Rect bounds = p_.geometry.Bounds(hwnd);
    const float sx = static_cast<float>(bounds.Width()) / (place.right - place.left);
    const float sy = static_cast<float>(bounds.Height()) / (place.bottom - place.top);
    properties.source = Rect{Round((left - place.left) * sx), Round((top - place.top) * sy),
                             Round((right - place.left) * sx), Round((bottom - place.top) * sy)};
  }
  return properties;
}

bool LiveThumbnails::Live(Hwnd hwnd) const {
  auto it = entries_.find(hwnd);
  return it != entries_.end() && it->second.id != 0;
}

void LiveThumbnails::Drop(Hwnd hwnd) {
  auto it = entries_.find(hwnd);
  if (it == entries_.end()) return;
  const WindowSystem::ThumbnailId id = it->second.id;
  entries_.erase(it);
  if (id != 0) p_.ws.UnregisterThumbnail(id);
}

void LiveThumbnails::DropAll() {
  while (!entries_.empty()) Drop(entries_.begin()->first);
}

}  // namespace vd
