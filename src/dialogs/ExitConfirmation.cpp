#include "dialogs/ExitConfirmation.h"

#include "core/Program.h"

namespace vd {

ExitConfirmation::ExitConfirmation(Program& program)
    : DialogForm(program, "ExitConfirmation", 4215, 1815, "Exit Desktop"),
      messageLabel(*this, "messageLabel", "Are you sure you want to exit ?"),
      yesButton(*this, "yesButton", "Yes"),
      noButton(*this, "noButton", "No") {
  messageLabel.Move(840, 600, 3200, 400);
  StyleDescription(messageLabel);
  yesButton.Move(840, 1260, 1215, 375);
  noButton.Move(2175, 1260, 1215, 375);
  yesButton.Click = [this] {
    confirmed_ = true;
    Unload();
  };
  noButton.Click = [this] { Unload(); };
}

bool ExitConfirmation::Ask() {
  confirmed_ = false;
  ShowModal();
  return confirmed_;
}

}  // namespace vd
