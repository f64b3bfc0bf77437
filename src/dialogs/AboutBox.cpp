#include "dialogs/AboutBox.h"

namespace vd {

AboutBox::AboutBox(Program& program)
    : DialogForm(program, "AboutBox", 4695, 2115, "About"),
      nameLabel(*this, "nameLabel", "VUEDECK 0.1.0"),
      messageLabel(*this, "messageLabel",
                   "Virtual desktops for Windows: spreads your windows over up to 81 "
                   "desktops and switches between them from a small pager, a click or a "
                   "hotkey."),
      okButton(*this, "okButton", "Ok") {
  forms::Font bold;
  bold.bold = true;
  bold.size = 10;
  nameLabel.SetFont(bold);
  nameLabel.Move(840, 480, 3660, 300);
  StyleDescription(nameLabel);
  messageLabel.Move(840, 840, 3660, 780);
  StyleDescription(messageLabel);
  okButton.Move(1740, 1620, 1215, 375);
  okButton.Click = [this] { Unload(); };
}

}  // namespace vd
