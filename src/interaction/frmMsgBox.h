// The program's own message box: a title strip, the message, one icon, and up to three
// buttons named by a list of captions each followed by ";". The caption of the pressed button
// is left in Program::MessageResult; closing the box otherwise leaves it as it was.
#pragma once

#include <string>

#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"

namespace vd {

class Program;

// The conventions the program's small dialogs share: no system caption bar (a title strip
// stands in for it and moves the dialog), always on top, outlined, modal.
class DialogForm : public forms::Form {
 public:
  DialogForm(Program& program, std::string name, float widthTwips, float heightTwips,
             const std::string& title);
  forms::PictureBox Picture1;  // the title strip
  forms::Label lblTitle;       // the title on the strip
  forms::PictureBox Image1;    // the dialog's icon
  forms::Shape Shape1;         // the outline of the whole dialog

 protected:
  Program& program_;

 private:
  void MakeTopMost();
  void StartDrag();
};

class frmMsgBox : public DialogForm {
 public:
  explicit frmMsgBox(Program& program);
  forms::Label lblDescription;
  forms::Frame Frame1;
  forms::ControlArray<forms::Button> cmdRespond;  // 0, 1, 2

  // Lays the box out for one message (see ShowMessage).
  void Prepare(const std::string& title, const std::string& text, const std::string& buttons);
};

// Shows the message modally and returns when it has been answered or closed.
void ShowMessage(Program& program, const std::string& title, const std::string& text,
                 const std::string& icon, const std::string& buttons);

}  // namespace vd
