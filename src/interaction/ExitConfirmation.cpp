#include "interaction/ExitConfirmation.h"

#include "core/Program.h"
#include "core/frmMain.h"

namespace vd {

ExitConfirmation::ExitConfirmation(Program& program)
    : DialogForm(program, "ExitConfirmation", 4215, 1815, "Exit Desktop"),
      lblDescription(*this, "lblDescription", "Are you sure you want to exit ?"),
      cmdYes(*this, "cmdYes", "Yes"),
      cmdNo(*this, "cmdNo", "No") {
  lblDescription.Move(840, 600, 3200, 400);
  StyleDescription(lblDescription);
  cmdYes.Move(840, 1260, 1215, 375);
  cmdNo.Move(2175, 1260, 1215, 375);
  cmdYes.Click = [this] {
    Unload();
    program_.Main().CloseAll();
  };
  cmdNo.Click = [this] { Unload(); };
}

}  // namespace vd
