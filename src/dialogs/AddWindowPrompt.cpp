#include "dialogs/AddWindowPrompt.h"

#include "core/Program.h"
#include "platform/Utf8.h"

namespace vd {

AddWindowPrompt::AddWindowPrompt(Program& program)
    : DialogForm(program, "AddWindowPrompt", 4695, 2355, "New Window"),
      messageLabel(*this, "messageLabel",
                   "App is not in the list. Do want to add this window to the list ?"),
      ignoreBox(*this, "ignoreBox", "Add to ignore list and don't ask again"),
      yesButton(*this, "yesButton", "Yes"),
      noButton(*this, "noButton", "No") {
  messageLabel.Move(840, 480, 3660, 900);
  StyleDescription(messageLabel);
  ignoreBox.Move(840, 1420, 3660, 255);
  ignoreBox.SetBackColor(0xF0F0F0);
  yesButton.Move(1170, 1800, 1215, 375);
  noButton.Move(2505, 1800, 1215, 375);
  yesButton.Click = [this] { Yes(); };
  noButton.Click = [this] { No(); };
}

AddWindowPrompt::Answer AddWindowPrompt::Ask(const std::string& pendingTitle) {
  answer_ = Answer::kNotNow;
  Load();
  ignoreBox.SetValue(0);
  const std::string shown = ShortTitle(pendingTitle, 30);
  messageLabel.SetCaption("'" + shown + "' is not in the window list.\r\n\r\n" +
                          "Do you want to add this window ?");
  ShowModal();
  return answer_;
}

void AddWindowPrompt::Yes() {
  answer_ = Answer::kAdd;
  Unload();
}

void AddWindowPrompt::No() {
  answer_ = ignoreBox.Checked() ? Answer::kIgnore : Answer::kNotNow;
  Unload();
}

}  // namespace vd
