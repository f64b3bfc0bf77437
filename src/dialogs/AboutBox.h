// The about box: the program's name, what it is, its version.
#pragma once

#include "dialogs/DialogForm.h"
#include "forms/Controls.h"

namespace vd {

class AboutBox : public DialogForm {
 public:
  explicit AboutBox(Program& program);
  forms::Label nameLabel;
  forms::Label messageLabel;
  forms::Button okButton;
};

}  // namespace vd
