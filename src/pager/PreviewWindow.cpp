#include "pager/PreviewWindow.h"

#include "core/Program.h"
#include "core/Text.h"
#include "core/Transparency.h"
#include "pager/PagerWindow.h"

namespace vd {

PreviewWindow::PreviewWindow(Program& program)
    : forms::Form(program.backend, "PreviewWindow"),
      fadeInTimer(*this, "fadeInTimer", 100, false),
      holdTimer(*this, "holdTimer", 3000, false),
      program_(program) {
  SetVisible(false);
  SetBackColor(0xFFFFFF);
  fadeInTimer.Tick = [this] { OnFadeInTick(); };
  holdTimer.Tick = [this] { OnHoldTick(); };
}

void PreviewWindow::SetAlpha(int alpha) {
  transparency::SetWindowAlpha(program_.ws, hWnd(), alpha);
}

void PreviewWindow::StartPreview() {
  PagerWindow& pager = program_.Main();
  const Hwnd window = pager.HoverWindow;
  if (window == 0) return;
  if (!pager.IsManaged(window) || pager.DesktopOf(window) == pager.CurrentDesktop) return;
  fadeInTimer.SetEnabled(false);
  pager.PreviewShown = true;
  Alpha = 0;
  SetAlpha(0);
  Step = 50;
  // The window's last full-size picture, at the window's own place and size.
  const int32_t v = pager.MiniatureOf(window);
  Rect r = pager.GetWindowBounds(window);
  const float tppX = static_cast<float>(program_.ws.TwipsPerPixelX());
  const float tppY = static_cast<float>(program_.ws.TwipsPerPixelY());
  Move(static_cast<float>(r.left) * tppX, static_cast<float>(r.top) * tppY,
       static_cast<float>(r.Width()) * tppX, static_cast<float>(r.Height()) * tppY);
  Surface().Resize(r.Width(), r.Height(), 0xFFFFFF);
  Surface().Fill(0xFFFFFF);
  pager.previewPictures.DrawInto(v, Surface());
  Show();
  Refresh();
  fadeInTimer.SetEnabled(true);
  holdTimer.SetEnabled(false);
  holdTimer.SetInterval(3000);
}

void PreviewWindow::OnFadeInTick() {
  Alpha += Step;
  SetAlpha(Alpha);
  Refresh();
  if (Alpha >= 200) HidePreview();
}

void PreviewWindow::HidePreview() {
  SetAlpha(200);
  fadeInTimer.SetEnabled(false);
  program_.Main().PreviewShown = false;
  holdTimer.SetEnabled(true);
}

void PreviewWindow::OnHoldTick() {
  holdTimer.SetInterval(100);
  Alpha -= Step;
  SetAlpha(Alpha);
  // Fully transparent, it stays until the pager hides it.
  if (Alpha < 1) holdTimer.SetEnabled(false);
}

}  // namespace vd
