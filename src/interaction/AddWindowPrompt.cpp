#include "interaction/AddWindowPrompt.h"

#include "core/Program.h"
#include "core/frmMain.h"

namespace vd {

AddWindowPrompt::AddWindowPrompt(Program& program)
    : DialogForm(program, "AddWindowPrompt", 4695, 2355, "New Window"),
      lblDescription(*this, "lblDescription",
                     "App is not in the list. Do want to add this window to the list ?"),
      chkIgnore(*this, "chkIgnore", "Add to ignore list and don't ask again"),
      cmdYes(*this, "cmdYes", "Yes"),
      cmdNo(*this, "cmdNo", "No") {
  lblDescription.Move(840, 480, 3660, 900);
  StyleDescription(lblDescription);
  chkIgnore.Move(840, 1420, 3660, 255);
  chkIgnore.SetBackColor(0xF0F0F0);
  cmdYes.Move(1170, 1800, 1215, 375);
  cmdNo.Move(2505, 1800, 1215, 375);
  cmdYes.Click = [this] { cmdYes_Click(); };
  cmdNo.Click = [this] { cmdNo_Click(); };
}

void AddWindowPrompt::Ask(const std::string& pendingTitle) {
  Load();
  chkIgnore.SetValue(0);
  const std::string shown =
      pendingTitle.size() >= 31 ? pendingTitle.substr(0, 30) + "..." : pendingTitle;
  lblDescription.SetCaption("'" + shown + "' is not in the window list.\r\n\r\n" +
                            "Do you want to add this window ?");
  ShowModal();
}

void AddWindowPrompt::cmdYes_Click() {
  Hide();
  program_.Main().AddAlertWindow();
  Unload();
}

void AddWindowPrompt::cmdNo_Click() {
  frmMain& pager = program_.Main();
  if (chkIgnore.Checked()) {
    pager.AddIgnoreList(pager.PendingTitle);
    pager.offerButton.SetVisible(false);
  }
  Unload();
}

}  // namespace vd
