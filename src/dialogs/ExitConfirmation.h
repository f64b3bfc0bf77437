// The exit confirmation behind the main menu's "Exit": asks whether to end the program.
#pragma once

#include "dialogs/DialogForm.h"
#include "forms/Controls.h"

namespace vd {

class ExitConfirmation : public DialogForm {
 public:
  explicit ExitConfirmation(Program& program);
  forms::Label messageLabel;
  forms::Button yesButton;
  forms::Button noButton;

  // Shows the question modally; true when the user answered Yes.
  bool Ask();

 private:
  bool confirmed_ = false;
};

}  // namespace vd
