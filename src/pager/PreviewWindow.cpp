#include "pager/PreviewWindow.h"

#include "core/Program.h"
#include "core/Text.h"
#include "core/Transparency.h"
#include "core/frmMain.h"

namespace vd {

PreviewWindow::PreviewWindow(Program& program)
    : forms::Form(program.backend, "PreviewWindow"),
      Timer1(*this, "Timer1", 100, false),
      Timer2(*this, "Timer2", 3000, false),
      program_(program) {
  SetVisible(false);
  SetBackColor(0xFFFFFF);
  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.Tick = [this] { Timer2_Timer(); };
}

void PreviewWindow::SetAlpha(int alpha) {
  transparency::SetWindowAlpha(program_.ws, hWnd(), alpha);
}

void PreviewWindow::StartPreview() {
  frmMain& pager = program_.Main();
  const Hwnd window = pager.HoverWindow;
  if (window == 0) return;
  if (!pager.IsManaged(window) || pager.DesktopOf(window) == pager.CurrentDesktop) return;
  Timer1.SetEnabled(false);
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
  pager.picPreview.DrawInto(v, Surface());
  Show();
  Refresh();
  Timer1.SetEnabled(true);
  Timer2.SetEnabled(false);
  Timer2.SetInterval(3000);
}

void PreviewWindow::Timer1_Timer() {
  Alpha += Step;
  SetAlpha(Alpha);
  Refresh();
  if (Alpha >= 200) HidePreview();
}

void PreviewWindow::HidePreview() {
  SetAlpha(200);
  Timer1.SetEnabled(false);
  program_.Main().PreviewShown = false;
  Timer2.SetEnabled(true);
}

void PreviewWindow::Timer2_Timer() {
  Timer2.SetInterval(100);
  Alpha -= Step;
  SetAlpha(Alpha);
  // Fully transparent, it stays until the pager hides it.
  if (Alpha < 1) Timer2.SetEnabled(false);
}

}  // namespace vd
