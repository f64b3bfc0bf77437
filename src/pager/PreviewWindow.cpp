#include "pager/PreviewWindow.h"

#include "core/Program.h"
#include "core/Text.h"
#include "desktops/Transparency.h"

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

void PreviewWindow::StartPreview(const Rect& bounds, const std::function<void(Bitmap&)>& draw) {
  fadeInTimer.SetEnabled(false);
  Alpha = 0;
  SetAlpha(0);
  Step = 50;
  // Over the window's place on the screen, pixel for pixel.
  const float tpp = TwipsPerScreenPixel();
  Move(static_cast<float>(bounds.left) * tpp, static_cast<float>(bounds.top) * tpp,
       static_cast<float>(bounds.Width()) * tpp, static_cast<float>(bounds.Height()) * tpp);
  Surface().Resize(bounds.Width(), bounds.Height(), 0xFFFFFF);
  Surface().Fill(0xFFFFFF);
  draw(Surface());
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
  holdTimer.SetEnabled(true);
  if (FadedIn) FadedIn();
}

void PreviewWindow::OnHoldTick() {
  holdTimer.SetInterval(100);
  Alpha -= Step;
  SetAlpha(Alpha);
  // Fully transparent, it stays until the pager hides it.
  if (Alpha < 1) holdTimer.SetEnabled(false);
}

}  // namespace vd
