// The pager's main menu (Options..., About, Exit) behind the menu button, and the query
// button that offers a window the poll would not take by itself.
#include "core/Program.h"
#include "core/frmMain.h"
#include "interaction/AboutBox.h"
#include "interaction/AddWindowPrompt.h"
#include "interaction/ExitConfirmation.h"
#include "settings/frmOptions.h"

namespace vd {

void frmMain::cmdMenu_Click() {
  // Just below the button, 73 pixels left of its left edge.
  PopupMenu(mnuMenu, cmdMenu.Left() - 73, cmdMenu.Top() + cmdMenu.Height());
}

void frmMain::cmdQuery_Click() { program_.Prompt().Ask(PendingTitle); }

void frmMain::mnuMainOption_Click() { program_.Options().ShowModal(); }

void frmMain::mnuAbout_Click() {
  DialogOpen = true;
  AboutBox about(program_);
  about.ShowModal();
  DialogOpen = false;
}

void frmMain::mnuExit_Click() {
  ExitConfirmation confirmation(program_);
  confirmation.ShowModal();
}

}  // namespace vd
