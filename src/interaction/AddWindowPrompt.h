// The add-window prompt behind the pager's query button: asks whether to take on a window the
// poll would not take by itself, or to ignore its caption from now on.
#pragma once

#include <string>

#include "forms/Controls.h"
#include "interaction/DialogForm.h"

namespace vd {

class AddWindowPrompt : public DialogForm {
 public:
  explicit AddWindowPrompt(Program& program);
  forms::Label messageLabel;
  forms::CheckBox ignoreBox;
  forms::Button yesButton;
  forms::Button noButton;

  // Fills in the question for the offered window's title and shows the prompt modally.
  void Ask(const std::string& pendingTitle);

 private:
  void Yes();
  void No();
};

}  // namespace vd
