// The conventions the program's small dialogs share: no system caption bar (a title strip
// stands in for it and moves the dialog), always on top, outlined, modal.
#pragma once

#include <string>

#include "forms/Controls.h"
#include "forms/Form.h"

namespace vd {

class Program;

class DialogForm : public forms::Form {
 public:
  DialogForm(Program& program, std::string name, float widthTwips, float heightTwips,
             const std::string& title);
  forms::PictureBox titleStrip;   // the title strip
  forms::Label titleLabel;        // the title on the strip
  forms::PictureBox signPicture;  // the dialog's icon
  forms::Shape Shape1;            // the outline of the whole dialog

 protected:
  // Dark text on the dialog's light background, for a dialog's descriptive labels.
  static void StyleDescription(forms::Label& label);

  Program& program_;

 private:
  void MakeTopMost();
  void DrawSign();
  void StartDrag();
};

}  // namespace vd
