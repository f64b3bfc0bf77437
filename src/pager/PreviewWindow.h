// The preview of a hidden window: its last full-size picture shown where the window stands on
// the screen, fading in to opacity 200, held for three seconds, then fading out.
#pragma once

#include <functional>

#include "forms/Form.h"
#include "forms/Timer.h"
#include "platform/Bitmap.h"
#include "platform/WindowSystem.h"

namespace vd {

class Program;

class PreviewWindow : public forms::Form {
 public:
  explicit PreviewWindow(Program& program);
  forms::Timer fadeInTimer;  // fade-in, every 100 ms
  forms::Timer holdTimer;    // hold (3 s), then fade-out every 100 ms
  int Alpha = 0;
  int Step = 50;

  // Shows a window's picture, drawn into the preview's surface by draw, at the window's place
  // and size (bounds, in pixels), fading in.
  void StartPreview(const Rect& bounds, const std::function<void(Bitmap&)>& draw);
  // Ends the fade-in at opacity 200 and starts the hold.
  void HidePreview();
  // The fade-in ended.
  std::function<void()> FadedIn;

 private:
  void OnFadeInTick();
  void OnHoldTick();
  void SetAlpha(int alpha);
  Program& program_;
};

}  // namespace vd
