// The miniatures: one picture box per managed window over the cell of its desktop, placed and
// sized like the window scaled down into the cell, stacked with the foreground window's and
// the always-on-top windows' miniatures in front, showing a scaled picture of the window.
#include <algorithm>

#include "core/Program.h"
#include "core/Text.h"
#include "pager/PagerWindow.h"

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
}  // namespace

void PagerWindow::PlaceMiniature(Hwnd hwnd, int16_t desktop) {
  ManagedWindow* w = Table.Find(hwnd);
  if (w == nullptr) return;
  w->desktop = desktop;
  const int32_t v = w->miniature;
  if (v < 1 || !miniatures.Exists(v) || desktop < 1 || !cells.Exists(desktop)) return;
  miniatures(v).SetLeft(geometry.Scaled(hwnd).left + cells(desktop).Left());
  miniatures(v).SetTop(geometry.Scaled(hwnd).top + cells(desktop).Top());
  miniatures(v).SetVisible(true);
}

void PagerWindow::RefreshMiniature(Hwnd hwnd, bool capture) {
  RefreshMiniature(hwnd, geometry.Scaled(hwnd), capture);
}

void PagerWindow::RefreshMiniature(Hwnd hwnd, const ScaledRect& scaled, bool capture) {
  const ManagedWindow* w = Table.Find(hwnd);
  if (w == nullptr) return;
  const int32_t v = w->miniature;
  const int d = w->desktop;
  const std::string title = w->title;
  if (v < 1 || !miniatures.Exists(v) || d < 1 || !cells.Exists(d)) return;
  forms::PictureBox& miniature = miniatures(v);

  // Size and place; the size is clamped to the cell, the position is not.
  const float width = std::min(scaled.width, cells(1).Width());
  const float height = std::min(scaled.height, cells(1).Height());
  miniature.Move(cells(d).Left() + scaled.left, cells(d).Top() + scaled.top, width, height);

  // The window that just came to the front gets its miniature raised once.
  if (!MiniatureRaised[hwnd]) miniature.ZOrder(0);
  miniature.SetToolTipText(title);
  MiniatureRaised[hwnd] = true;
  auto raiseOnTop = [this] {
    for (const ManagedWindow& other : Table) {
      if (other.onTop && other.miniature > 0 && miniatures.Exists(other.miniature)) {
        miniatures(other.miniature).ZOrder(0);
      }
    }
  };
  for (const ManagedWindow& other : Table) {
    if (other.handle != hwnd) MiniatureRaised[other.handle] = false;
  }
  raiseOnTop();

  if (hwnd == MovedWindow) return;
  if (capture) CaptureMiniature(hwnd);
  raiseOnTop();
}

bool PagerWindow::CaptureMiniature(Hwnd hwnd) {
  const int32_t v = MiniatureOf(hwnd);
  if (v < 1 || !miniatures.Exists(v)) return false;
  forms::PictureBox& miniature = miniatures(v);
  // A hidden window has nothing on the screen to copy: its last picture stays.
  if (!ws_.IsWindowVisible(hwnd)) return false;
  Rect r = geometry.Bounds(hwnd);
  vd::Bitmap picture = ws_.CaptureWindow(hwnd, false, 0, 0, r.Width(), r.Height());
  // Windows drawn by the graphics card come back black from a plain copy; such a window is
  // asked to render itself, unless its application is not answering.
  if (!picture.Empty() && picture.AllBlack() && !ws_.IsHungAppWindow(hwnd)) {
    vd::Bitmap rendered = ws_.PrintWindow(hwnd, true);
    if (!rendered.Empty() && !rendered.AllBlack()) picture = std::move(rendered);
  }
  // A copy that came back black (a window that has not painted yet, or one covered whole)
  // never replaces a picture; it counts as no change, or such a window would be copied, and
  // asked to render itself, every tick.
  const bool hasPicture = previewPictures.HasPicture(v);
  if (hasPicture && (picture.Empty() || picture.AllBlack())) {
    captureRhythm_.NoteNoChange(hwnd);
    return false;
  }
  if (picture.Empty()) picture = vd::Bitmap(1, 1, 0xFFFFFF);
  miniature.SyncSurfaceSize();
  // A copy the same as the last one, into a miniature of the same size, changes nothing: the
  // tick then copies this window less often.
  const uint64_t fingerprint =
      Fingerprint(picture, miniature.Surface().Width(), miniature.Surface().Height());
  if (!captureRhythm_.NoteCopy(hwnd, fingerprint, hasPicture)) return false;
  captureBuffer.SetPicture(std::move(picture));
  vd::Bitmap& surface = miniature.Surface();
  const vd::Bitmap& source = captureBuffer.Picture();
  surface.StretchFrom(0, 0, surface.Width(), surface.Height(), source, 0, 0, source.Width(),
                      source.Height(), StretchMode::kHalftone);
  miniature.Refresh();
  previewPictures.SetPicture(v, source);
  return true;
}

void PagerWindow::BlankMiniature(Hwnd hwnd) {
  const int32_t v = MiniatureOf(hwnd);
  if (v < 1 || !miniatures.Exists(v)) return;
  forms::PictureBox& miniature = miniatures(v);
  miniature.SyncSurfaceSize();
  miniature.Surface().Fill(forms::ResolveColor(program_.backend, miniature.BackColor()));
  miniature.Refresh();
  // The next copy draws it again, even one the same as the copy it showed before.
  captureRhythm_.StartOver(hwnd);
}

}  // namespace vd
