// The program's own message box: a title strip, the message, one icon, and up to three
// buttons named by a list of captions each followed by ";". ShowMessage answers the caption of
// the pressed button, or the empty text when the box was closed otherwise.
#pragma once

#include <string>

#include "dialogs/DialogForm.h"
#include "forms/ControlArray.h"
#include "forms/Controls.h"

namespace vd {

class Program;

class MessageDialog : public DialogForm {
 public:
  explicit MessageDialog(Program& program);
  forms::Label messageLabel;
  forms::Frame answerRow;
  forms::ControlArray<forms::Button> answerButtons;  // 0, 1, 2

  // Lays the box out for one message (see ShowMessage).
  void Prepare(const std::string& title, const std::string& text, const std::string& buttons);
  // The caption of the button pressed; empty until one is.
  const std::string& Answer() const { return answer_; }

 private:
  std::string answer_;
};

// Shows the message modally and returns, when it has been answered or closed, the caption of
// the button pressed (empty when it was closed otherwise).
std::string ShowMessage(Program& program, const std::string& title, const std::string& text,
                        const std::string& icon, const std::string& buttons);

}  // namespace vd
