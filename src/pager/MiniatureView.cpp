#include "pager/MiniatureView.h"

#include <algorithm>
#include <limits>

namespace vd {

namespace {
// A cheap fingerprint of a picture and the size it is squeezed into: equal fingerprints mean
// the miniature would come out the same.
uint64_t Fingerprint(const Bitmap& picture, int width, int height) {
  uint64_t h = 1469598103934665603ull ^ (static_cast<uint64_t>(picture.Width()) << 32) ^
               static_cast<uint32_t>(picture.Height());
  h = (h ^ (static_cast<uint64_t>(width) << 32 | static_cast<uint32_t>(height))) * 1099511628211ull;
  for (uint32_t p : picture.Pixels()) h = (h ^ p) * 1099511628211ull;
  return h;
}
// A new window's first picture is taken this long after it was taken on.
constexpr uint32_t kFirstPictureMs = 100;
}  // namespace

int32_t NextFreeNumber(int32_t last, const std::function<bool(int32_t)>& taken) {
  int32_t n = last;
  do {
    n = n >= std::numeric_limits<int32_t>::max() || n < 0 ? 1 : n + 1;
  } while (taken(n));
  return n;
}

std::string MiniatureTip(const ManagedWindow& w) {
  return w.refusesChanges ? w.title + " (cannot be moved: runs as administrator)" : w.title;
}

MiniatureView::MiniatureView(Pager pager)
    : pager_(std::move(pager)),
      captureBuffer_(pager_.form, "captureBuffer", forms::ScaleMode::kPixels),
      firstPictureTimer_(pager_.form, "firstPictureTimer", kFirstPictureMs, false),
      thumbnails_({pager_.ws, pager_.table, pager_.geometry, pager_.cells, pager_.miniatures,
                   [this] { return pager_.form.hWnd(); }}) {
  captureBuffer_.SetAutoSize(true);
  captureBuffer_.SetVisible(false);
  firstPictureTimer_.Tick = [this] { TakeFirstPictures(); };
}

int32_t MiniatureView::NewNumber() {
  lastNumber_ = NextFreeNumber(lastNumber_, [this](int32_t n) {
    return pager_.miniatures.Exists(n) || pictures_.Exists(n);
  });
  pictures_.Load(lastNumber_);
  return lastNumber_;
}

void MiniatureView::Load(int32_t v, const WindowGeometry::ScaledRect& place, int desktop,
                         const std::string& tip) {
  forms::ControlArray<forms::PictureBox>& miniatures = pager_.miniatures;
  forms::PictureBox& miniature = miniatures.Exists(v) ? miniatures(v) : miniatures.Load(v);
  const forms::PictureBox& cell = pager_.cells(desktop);
  miniature.Move(cell.Left() + place.left, cell.Top() + place.top, place.width, place.height);
  miniature.SetToolTipText(tip);
  miniature.SetVisible(true);
  miniature.ZOrder(0);
}

void MiniatureView::StackFromBottom(const std::vector<Hwnd>& topFirst) {
  for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it) {
    const ManagedWindow* w = pager_.table.Find(*it);
    if (w != nullptr && w->miniature > 0 && pager_.miniatures.Exists(w->miniature)) {
      pager_.miniatures(w->miniature).ZOrder(0);
    }
    raised_[*it] = false;
  }
}

void MiniatureView::FirstPictureLater(Hwnd hwnd) {
  // Waiting on a timer instead of pausing keeps a scan of many windows from freezing the pager
  // for a tenth of a second each.
  awaitingPicture_.emplace_back(hwnd, pager_.ws.GetTickCount() + kFirstPictureMs);
  if (!firstPictureTimer_.Enabled()) {
    firstPictureTimer_.SetInterval(kFirstPictureMs);
    firstPictureTimer_.SetEnabled(true);
  }
}

void MiniatureView::BeforeHiding(Hwnd hwnd) {
  auto waiting = std::find_if(awaitingPicture_.begin(), awaitingPicture_.end(),
                              [hwnd](const auto& w) { return w.first == hwnd; });
  const bool firstPicture = waiting != awaitingPicture_.end();
  if (firstPicture) awaitingPicture_.erase(waiting);
  // One copy as the window leaves the screen, of a window the tick would have copied since its
  // last copy, rather than copies each tick of a window whose picture nobody sees while the
  // compositor draws it, or of every window the switch hides. A copy that comes back black
  // keeps the picture taken before.
  const bool owed = owed_.erase(hwnd) != 0;
  if (firstPicture || owed) Capture(hwnd);
  thumbnails_.Drop(hwnd);
}

void MiniatureView::TakeFirstPictures() {
  const uint32_t now = pager_.ws.GetTickCount();
  std::vector<Hwnd> due;
  std::erase_if(awaitingPicture_, [&](const std::pair<Hwnd, uint32_t>& waiting) {
    if (static_cast<int32_t>(now - waiting.second) < 0) return false;
    due.push_back(waiting.first);
    return true;
  });
  if (awaitingPicture_.empty()) {
    firstPictureTimer_.SetEnabled(false);
  } else {
    // The next window's picture falls due before another full interval.
    const int32_t wait = static_cast<int32_t>(awaitingPicture_.front().second - now);
    firstPictureTimer_.SetInterval(static_cast<unsigned>(std::max(1, wait)));
  }
  for (Hwnd hwnd : due) {
    if (pager_.table.Contains(hwnd)) Capture(hwnd);
  }
}

void MiniatureView::Place(Hwnd hwnd) {
  const ManagedWindow* w = pager_.table.Find(hwnd);
  if (w == nullptr) return;
  const int32_t v = w->miniature;
  const int desktop = w->desktop;
  const std::string tip = MiniatureTip(*w);
  if (v < 1 || !pager_.miniatures.Exists(v) || desktop < 1 || !pager_.cells.Exists(desktop)) {
    return;
  }
  const WindowGeometry::ScaledRect scaled = pager_.geometry.Scaled(hwnd);
  forms::PictureBox& miniature = pager_.miniatures(v);
  miniature.SetLeft(scaled.left + pager_.cells(desktop).Left());
  miniature.SetTop(scaled.top + pager_.cells(desktop).Top());
  miniature.SetToolTipText(tip);
  miniature.SetVisible(true);
}

void MiniatureView::Refresh(Hwnd hwnd, bool capture) {
  Refresh(hwnd, pager_.geometry.Scaled(hwnd), capture);
}

void MiniatureView::RaiseOnTopMiniatures() {
  for (const ManagedWindow& other : pager_.table) {
    if (other.onTop && other.miniature > 0 && pager_.miniatures.Exists(other.miniature)) {
      pager_.miniatures(other.miniature).ZOrder(0);
    }
  }
}

void MiniatureView::Refresh(Hwnd hwnd, const WindowGeometry::ScaledRect& scaled, bool capture) {
  const ManagedWindow* w = pager_.table.Find(hwnd);
  if (w == nullptr) return;
  const int32_t v = w->miniature;
  const int d = w->desktop;
  const std::string tip = MiniatureTip(*w);
  const auto& cells = pager_.cells;
  if (v < 1 || !pager_.miniatures.Exists(v) || d < 1 || !cells.Exists(d)) return;
  forms::PictureBox& miniature = pager_.miniatures(v);

  // Size and place; the size is clamped to the cell, the position is not.
  const float width = std::min(scaled.width, cells(1).Width());
  const float height = std::min(scaled.height, cells(1).Height());
  miniature.Move(cells(d).Left() + scaled.left, cells(d).Top() + scaled.top, width, height);

  // The window that just came to the front gets its miniature raised once.
  if (!raised_[hwnd]) miniature.ZOrder(0);
  miniature.SetToolTipText(tip);
  for (const ManagedWindow& other : pager_.table) raised_[other.handle] = other.handle == hwnd;
  RaiseOnTopMiniatures();
  if (!capture) return;
  Capture(hwnd);
  RaiseOnTopMiniatures();
}

void MiniatureView::Draw(forms::PictureBox& miniature, const Bitmap& picture) {
  vd::Bitmap& surface = miniature.Surface();
  surface.StretchFrom(0, 0, surface.Width(), surface.Height(), picture, 0, 0, picture.Width(),
                      picture.Height(), StretchMode::kHalftone);
  miniature.Refresh();
}

void MiniatureView::Hold(Hwnd hwnd) {
  if (held_ == hwnd) return;
  held_ = hwnd;
  if (!thumbnails_.Live(hwnd)) return;
  thumbnails_.Drop(hwnd);
  // The compositor drew the miniature: its picture box shows the window's last copy instead,
  // drawn again at the miniature's present size.
  const ManagedWindow* w = pager_.table.Find(hwnd);
  const int32_t v = w != nullptr ? w->miniature : 0;
  if (v < 1 || !pager_.miniatures.Exists(v) || !pictures_.HasPicture(v)) return;
  pager_.miniatures(v).SyncSurfaceSize();
  Draw(pager_.miniatures(v), pictures_.Picture(v));
}

bool MiniatureView::Capture(Hwnd hwnd) {
  const ManagedWindow* w = pager_.table.Find(hwnd);
  const int32_t v = w != nullptr ? w->miniature : 0;
  if (v < 1 || !pager_.miniatures.Exists(v)) return false;
  WindowSystem& ws = pager_.ws;
  forms::PictureBox& miniature = pager_.miniatures(v);
  // A hidden window has nothing on the screen to copy: its last picture stays.
  if (!ws.IsWindowVisible(hwnd)) return false;
  const Rect r = pager_.geometry.Bounds(hwnd);
  vd::Bitmap picture = ws.CaptureWindow(hwnd, false, 0, 0, r.Width(), r.Height());
  // Windows drawn by the graphics card come back black from a plain copy; such a window is
  // asked to render itself, unless its application is not answering.
  if (!picture.Empty() && picture.AllBlack() && !ws.IsHungAppWindow(hwnd)) {
    vd::Bitmap rendered = ws.PrintWindow(hwnd, true);
    if (!rendered.Empty() && !rendered.AllBlack()) picture = std::move(rendered);
  }
  // A copy that came back black (a window that has not painted yet, or one covered whole)
  // never replaces a picture; it counts as no change, or such a window would be copied, and
  // asked to render itself, every tick.
  const bool hasPicture = pictures_.HasPicture(v);
  if (hasPicture && (picture.Empty() || picture.AllBlack())) {
    rhythm_.NoteNoChange(hwnd);
    return false;
  }
  if (picture.Empty()) picture = vd::Bitmap(1, 1, 0xFFFFFF);
  owed_.erase(hwnd);  // the picture is as the window is now
  miniature.SyncSurfaceSize();
  // A copy the same as the last one, into a miniature of the same size, changes nothing: the
  // tick then copies this window less often.
  const uint64_t fingerprint =
      Fingerprint(picture, miniature.Surface().Width(), miniature.Surface().Height());
  if (!rhythm_.NoteCopy(hwnd, fingerprint, hasPicture)) return false;
  captureBuffer_.SetPicture(std::move(picture));
  const vd::Bitmap& source = captureBuffer_.Picture();
  Draw(miniature, source);
  pictures_.SetPicture(v, source);
  return true;
}

void MiniatureView::Blank(Hwnd hwnd) {
  const ManagedWindow* w = pager_.table.Find(hwnd);
  const int32_t v = w != nullptr ? w->miniature : 0;
  if (v < 1 || !pager_.miniatures.Exists(v)) return;
  forms::PictureBox& miniature = pager_.miniatures(v);
  miniature.SyncSurfaceSize();
  miniature.Surface().Fill(forms::ResolveColor(pager_.backend, miniature.BackColor()));
  miniature.Refresh();
  // The next copy draws it again, even one the same as the copy it showed before.
  rhythm_.StartOver(hwnd);
}

void MiniatureView::TakeNextOwedCopy(const std::function<bool(Hwnd)>& copyable) {
  const auto next = std::find_if(owed_.begin(), owed_.end(), [&](Hwnd hwnd) {
    return !thumbnails_.Live(hwnd) && copyable(hwnd);
  });
  if (next == owed_.end()) return;
  const Hwnd hwnd = *next;
  owed_.erase(next);
  Capture(hwnd);
}

bool MiniatureView::DueForFrontWindow(Hwnd hwnd) {
  if (!thumbnails_.Live(hwnd)) return rhythm_.DueForFrontWindow(hwnd);
  owed_.insert(hwnd);
  return false;
}

void MiniatureView::Unload(int32_t v) {
  if (pager_.miniatures.Exists(v)) pager_.miniatures(v).SetVisible(false);
  toUnload_.push_back(v);
}

void MiniatureView::UnloadQueued() {
  std::vector<int32_t> queued;
  queued.swap(toUnload_);
  for (int32_t v : queued) {
    pager_.miniatures.Unload(v);
    pictures_.Unload(v);
  }
}

void MiniatureView::Forget(Hwnd hwnd) {
  raised_.erase(hwnd);
  rhythm_.Forget(hwnd);
  thumbnails_.Drop(hwnd);
  owed_.erase(hwnd);
  if (held_ == hwnd) held_ = 0;
  std::erase_if(awaitingPicture_, [hwnd](const auto& waiting) { return waiting.first == hwnd; });
}

bool MiniatureView::Knows(Hwnd hwnd) const {
  return raised_.count(hwnd) != 0 || rhythm_.Knows(hwnd) || thumbnails_.Knows(hwnd) ||
         owed_.count(hwnd) != 0 ||
         std::any_of(awaitingPicture_.begin(), awaitingPicture_.end(),
                     [hwnd](const auto& waiting) { return waiting.first == hwnd; });
}

}  // namespace vd
