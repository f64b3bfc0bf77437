// The options dialog. It edits a copy of the program's settings: each time it is shown it
// fills its pages from the settings in effect, and OK hands the edited copy back (saved to
// settings.ini and applied to the pager); Cancel drops it. A few controls act at once, whatever
// becomes of the dialog: start with Windows, the hotkey buttons (their combinations are in
// effect as soon as they are registered), "Clear List"; the opacity shows on the pager at once
// and Cancel takes it back.
//
// A column of page buttons on the left chooses the page; each page is a frame, and the chosen
// one is the only one shown. "General" holds two sub-pages, "Application" and "Others".
#pragma once

#include "dialogs/DialogForm.h"
#include "options/AppearancePage.h"
#include "options/ApplicationPage.h"
#include "options/DesktopsPage.h"
#include "options/KeysPage.h"
#include "options/OptionsHost.h"
#include "options/OthersPage.h"
#include "options/PanicPage.h"

namespace vd {

class OptionsDialog : public DialogForm {
 public:
  // settings: the program's settings in effect, which OK replaces.
  OptionsDialog(Program& program, OptionsHost& host, Settings& settings);
  ~OptionsDialog() override;

  // ---- Pages ---------------------------------------------------------------------------------
  forms::Button generalButton, desktopsButton, panicButton, appearanceButton, keysButton;
  forms::PictureBox pageMark;  // the bar beside the chosen page's button
  forms::Frame generalPage;
  forms::Button applicationButton;  // "Application"
  forms::Button othersButton;       // "Others"
  forms::PictureBox subPageMark;    // the bar under the chosen sub-page's button
  ApplicationPage application;
  OthersPage others;
  DesktopsPage desktops;
  PanicPage panic;
  AppearancePage appearance;
  KeysPage keys;
  // ---- Confirming ----------------------------------------------------------------------------
  forms::Button okButton;  // saves and applies
  forms::Button cancelButton;

  // OK: refused while panic is on without a desktop; else saves the edited settings, hides the
  // dialog, applies them and tells the user what a smaller grid did to windows and panic.
  void Confirm();
  void Cancel();
  // Brings a page (or a sub-page of "General") to the front.
  void ShowPage(forms::Frame& page);
  // The page (or General's sub-page) now shown.
  forms::Frame& CurrentPage();
  forms::Frame& CurrentSubPage();

 private:
  void OnLoad();
  void OnActivate();
  void LayOut();
  void DrawIcons();  // the page buttons' and OK's pictures, at the dialog's scale
  void WireEvents();
  void UpdateOkButton();
  void StartDrag();

  OptionsHost& host_;
  Settings& settings_;
};

}  // namespace vd
