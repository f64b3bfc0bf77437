// The about box: the program's name, what it is, its version.
#pragma once

#include "forms/Controls.h"
#include "interaction/DialogForm.h"

namespace vd {

class AboutBox : public DialogForm {
 public:
  explicit AboutBox(Program& program);
  forms::Label lblName;
  forms::Label lblDescription;
  forms::Button cmdOk;
};

}  // namespace vd
