// The pager's main menu (Options..., About, Exit) behind the menu button, and the query
// button that offers a window the tracker would not take by itself.
#include "core/Program.h"
#include "dialogs/AboutBox.h"
#include "dialogs/AddWindowPrompt.h"
#include "dialogs/ExitConfirmation.h"
#include "pager/PagerWindow.h"

namespace vd {

void PagerWindow::OpenMainMenu() {
  // Just below the button, 73 pixels left of its left edge.
  PopupMenu(mainMenu, menuButton.Left() - 73, menuButton.Top() + menuButton.Height());
}

void PagerWindow::OfferPendingWindow() {
  AddWindowPrompt prompt(program_);
  switch (prompt.Ask(tracker_.PendingTitle())) {
    case AddWindowPrompt::Answer::kAdd:
      tracker_.AddPendingWindow();
      break;
    case AddWindowPrompt::Answer::kIgnore:
      ignoreList.Add(tracker_.PendingTitle());
      offerButton.SetVisible(false);
      break;
    case AddWindowPrompt::Answer::kNotNow:
      break;
  }
}

void PagerWindow::OpenOptions() {
  if (OpenOptionsDialog) OpenOptionsDialog();
}

void PagerWindow::ShowAbout() {
  dialogOpen_ = true;
  AboutBox about(program_);
  about.ShowModal();
  dialogOpen_ = false;
}

void PagerWindow::ConfirmExit() {
  ExitConfirmation confirmation(program_);
  if (confirmation.Ask()) CloseAll();
}

}  // namespace vd
