#include "interaction/frmAddWindow.h"

#include "core/Program.h"
#include "core/frmMain.h"

namespace vd {

namespace {

void StyleDescription(forms::Label& label) {
  label.SetBackColor(0xF0F0F0);
  label.SetForeColor(0x000000);
}

}  // namespace

frmAddWindow::frmAddWindow(Program& program)
    : DialogForm(program, "frmAddWindow", 4695, 2355, "New Window"),
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

void frmAddWindow::Ask(const std::string& pendingTitle) {
  Load();
  chkIgnore.SetValue(0);
  const std::string shown =
      pendingTitle.size() >= 31 ? pendingTitle.substr(0, 30) + "..." : pendingTitle;
  lblDescription.SetCaption("'" + shown + "' is not in the window list.\r\n\r\n" +
                            "Do you want to add this window ?");
  ShowModal();
}

void frmAddWindow::cmdYes_Click() {
  Hide();
  program_.Main().AddAlertWindow();
  Unload();
}

void frmAddWindow::cmdNo_Click() {
  frmMain& pager = program_.Main();
  if (chkIgnore.Checked()) {
    pager.AddIgnoreList(pager.PendingTitle);
    pager.cmdQuery.SetVisible(false);
  }
  Unload();
}

frmExit::frmExit(Program& program)
    : DialogForm(program, "frmExit", 4215, 1815, "Exit Desktop"),
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

frmAbout::frmAbout(Program& program)
    : DialogForm(program, "frmAbout", 4695, 2115, "About"),
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
