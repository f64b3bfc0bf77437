// The add-window prompt behind the pager's query button: asks whether to take on a window the
// tracker would not take by itself, or to ignore its caption from now on.
#pragma once

#include <string>

#include "dialogs/DialogForm.h"
#include "forms/Controls.h"

namespace vd {

class AddWindowPrompt : public DialogForm {
 public:
  explicit AddWindowPrompt(Program& program);
  forms::Label messageLabel;
  forms::CheckBox ignoreBox;
  forms::Button yesButton;
  forms::Button noButton;

  enum class Answer {
    kAdd,     // "Yes": take the window on
    kIgnore,  // "No" with the box checked: ignore its caption from now on
    kNotNow,  // "No", or the prompt closed otherwise
  };
  // Fills in the question for the offered window's title, shows the prompt modally and
  // answers what the user chose.
  Answer Ask(const std::string& pendingTitle);

 private:
  void Yes();
  void No();
  Answer answer_ = Answer::kNotNow;
};

}  // namespace vd
