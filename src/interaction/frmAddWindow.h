// The add-window prompt behind the pager's query button, and the exit confirmation.
#pragma once

#include "forms/Controls.h"
#include "interaction/frmMsgBox.h"

namespace vd {

class frmAddWindow : public DialogForm {
 public:
  explicit frmAddWindow(Program& program);
  forms::Label lblDescription;
  forms::CheckBox chkIgnore;
  forms::Button cmdYes;
  forms::Button cmdNo;

  // Fills in the question for the offered window's title and shows the prompt modally.
  void Ask(const std::string& pendingTitle);

 private:
  void cmdYes_Click();
  void cmdNo_Click();
};

class frmExit : public DialogForm {
 public:
  explicit frmExit(Program& program);
  forms::Label lblDescription;
  forms::Button cmdYes;
  forms::Button cmdNo;
};

// The about box: the program's name, what it is, its version.
class frmAbout : public DialogForm {
 public:
  explicit frmAbout(Program& program);
  forms::Label lblName;
  forms::Label lblDescription;
  forms::Button cmdOk;
};

}  // namespace vd
