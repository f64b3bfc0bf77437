// The note that tells which desktop a hotkey opened while the pager is put away: the desktop's
// number and name in the middle of the screen, top-most, held for most of a second, then fading
// out; it never takes the focus.
#pragma once

#include <string>

#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Timer.h"

namespace vd {

class Program;

class DesktopNote : public forms::Form {
 public:
  explicit DesktopNote(Program& program);

  forms::Label text;
  forms::Timer holdTimer;  // the note stays at full strength this long
  forms::Timer fadeTimer;  // then fades a step each tick, and goes

  // Shows the note (again from the start when it is showing).
  void Tell(const std::string& title);
  int Alpha() const { return alpha_; }

 private:
  void OnFadeTick();
  Program& program_;
  int alpha_ = 0;
};

}  // namespace vd
