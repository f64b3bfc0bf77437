#include "interaction/AboutBox.h"

namespace vd {

AboutBox::AboutBox(Program& program)
    : DialogForm(program, "AboutBox", 4695, 2115, "About"),
      lblName(*this, "lblName", "VUEDECK 0.1.0"),
      lblDescription(*this, "lblDescription",
                     "Virtual desktops for Windows: spreads your windows over up to 81 "
                     "desktops and switches between them from a small pager, a click or a "
                     "hotkey."),
      cmdOk(*this, "cmdOk", "Ok") {
  forms::Font bold;
  bold.bold = true;
  bold.size = 10;
  lblName.SetFont(bold);
  lblName.Move(840, 480, 3660, 300);
  StyleDescription(lblName);
  lblDescription.Move(840, 840, 3660, 780);
  StyleDescription(lblDescription);
  cmdOk.Move(1740, 1620, 1215, 375);
  cmdOk.Click = [this] { Unload(); };
}

}  // namespace vd
