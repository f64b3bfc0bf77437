// Putting the pager away and bringing it back, fading between invisible and its opacity.
#include <algorithm>

#include "core/Program.h"
#include "desktops/Transparency.h"
#include "options/OptionsDialog.h"
#include "pager/PagerWindow.h"

namespace vd {

void PagerWindow::HidePager() {
  if (dialogOpen_) return;
  pagerShown_ = false;
  int alpha = settings_.PagerAlpha();
  transparency::FadeOut(ws_, hWnd(), alpha, 10);
  Hide();
  // Nothing runs for a pager nobody sees but the sweep and the events.
  refreshTimer.SetEnabled(false);
}

void PagerWindow::ShowPager() {
  KeepPagerOnScreen();
  pagerShown_ = true;
  refreshTimer.SetEnabled(true);
  transparency::SetWindowAlpha(ws_, hWnd(), 0);
  Show();
  transparency::FadeIn(ws_, hWnd(), settings_.PagerAlpha(), 10);
}

void PagerWindow::KeepPagerOnScreen() {
  // In twips, the pager's and the screen's own units. An axis on which the pager sticks out
  // is centred; an axis on which it fits is left alone. A pager larger than the screen keeps
  // its left and top edges (the title strip with the menu button) on the screen.
  const float screenW =
      static_cast<float>(ws_.GetSystemMetrics(SM_CXSCREEN)) * TwipsPerScreenPixel();
  const float screenH =
      static_cast<float>(ws_.GetSystemMetrics(SM_CYSCREEN)) * TwipsPerScreenPixel();
  if (Left() < 0 || Left() + Width() > screenW) {
    SetLeft(std::max(0.0f, screenW / 2 - Width() / 2));
  }
  if (Top() < 0 || Top() + Height() > screenH) {
    SetTop(std::max(0.0f, screenH / 2 - Height() / 2));
  }
}

}  // namespace vd
