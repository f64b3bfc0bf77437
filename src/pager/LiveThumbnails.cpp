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
  // A copy of the handles, each row looked up again: the calls below may run handlers that
  // take rows out.
  for (const Hwnd hwnd : p_.table.Handles()) {
    const ManagedWindow* w = p_.table.Find(hwnd);
    const int32_t v = w != nullptr ? w->miniature : 0;
    if (w == nullptr || w->desktop != desktop || hwnd == held || v < 1 ||
        !p_.miniatures.Exists(v) || !p_.miniatures(v).Visible() || !p_.cells.Exists(desktop)) {
      Drop(hwnd);
      continue;
    }
    if (entries_.count(hwnd) == 0) {
      // A window its own application keeps hidden is asked about again at the next update.
      if (!ws.IsWindowVisible(hwnd)) continue;
      const WindowSystem::ThumbnailId id = ws.RegisterThumbnail(p_.pager(), hwnd);
      entries_[hwnd].id = id;
    }
    const forms::PictureBox& m = p_.miniatures(v);
    const forms::PictureBox& cell = p_.cells(desktop);
    const Place place{
        m.Left(),    m.Top(),    m.Left() + m.Width(),       m.Top() + m.Height(),
        cell.Left(), cell.Top(), cell.Left() + cell.Width(), cell.Top() + cell.Height()};
    Entry& entry = entries_[hwnd];
    if (entry.id == 0 || (entry.placed && entry.place == place)) continue;
    entry.place = place;
    entry.placed = true;
    const WindowSystem::ThumbnailId id = entry.id;
    if (!ws.UpdateThumbnail(id, PropertiesAt(hwnd, place))) {
      // Refused: the window is copied as before.
      ws.UnregisterThumbnail(id);
      auto refused = entries_.find(hwnd);
      if (refused != entries_.end() && refused->second.id == id) refused->second.id = 0;
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
