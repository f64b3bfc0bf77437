// The exit confirmation behind the main menu's "Exit": Yes brings every window back and ends
// the program, No leaves everything as it was.
#pragma once

#include "forms/Controls.h"
#include "interaction/DialogForm.h"

namespace vd {

class ExitConfirmation : public DialogForm {
 public:
  explicit ExitConfirmation(Program& program);
  forms::Label messageLabel;
  forms::Button yesButton;
  forms::Button noButton;
};

}  // namespace vd
