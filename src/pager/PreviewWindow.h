// The preview of a hidden window: its last full-size picture shown where the window stands on
// the screen, fading in to opacity 200, held for three seconds, then fading out.
#pragma once

#include "forms/Form.h"
#include "forms/Timer.h"

namespace vd {

class Program;

class PreviewWindow : public forms::Form {
 public:
  explicit PreviewWindow(Program& program);
  forms::Timer fadeInTimer;  // fade-in, every 100 ms
  forms::Timer holdTimer;    // hold (3 s), then fade-out every 100 ms
  int Alpha = 0;
  int Step = 50;

  // Shows the preview of the pager's HoverWindow, unless that window is on the current
  // desktop (it is on the screen anyway) or no miniature was entered.
  void StartPreview();
  // Ends the fade-in at opacity 200 and starts the hold.
  void HidePreview();

 private:
  void OnFadeInTick();
  void OnHoldTick();
  void SetAlpha(int alpha);
  Program& program_;
};

}  // namespace vd
