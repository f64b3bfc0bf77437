#include "settings/frmOptions.h"

#include "core/Program.h"
#include "settings/HotKeys.h"

namespace vd {

frmOptions::frmOptions(Program& program)
    : forms::Form(program.backend, "frmOptions"),
      mskColumns(*this, "mskColumns"),
      mskRows(*this, "mskRows"),
      mskWidth(*this, "mskWidth"),
      mskHeight(*this, "mskHeight"),
      cmbTransparent(*this, "cmbTransparent"),
      cmbHide1(*this, "cmbHide1"),
      cmbHide2(*this, "cmbHide2"),
      chkAutoStart(*this, "chkAutoStart", "Start Application After Reboot"),
      chkAutoHide(*this, "chkAutoHide", "Auto Hide"),
      chkAnimate(*this, "chkAnimate", "Desktop Transition"),
      chkPreview(*this, "chkPreview", "Preview Window"),
      cmbDesktops(*this, "cmbDesktops"),
      cboKey1(*this, "cboKey1"),
      cboKey2(*this, "cboKey2"),
      chkHotkey(*this, "chkHotkey", "Hotkey Enabled"),
      chkAlert(*this, "chkAlert", "Enabled Panic Hotkeys"),
      cboAlert1(*this, "cboAlert1"),
      cboAlert2(*this, "cboAlert2"),
      cmbAlertDesktops(*this, "cmbAlertDesktops"),
      picColor(*this, "picColor", forms::ScaleMode::kPixels),
      program_(program) {
  SetCaption("Options");
  SetVisible(false);
  // The dialog's pages are laid out when the dialog is built; until then the controls are
  // the hidden live store of the settings.
  for (const char* entry : {"Opaque", "High", "Medium", "Low"}) cmbTransparent.AddItem(entry);
  for (int i = 1; i <= 4; ++i) picColor.Load(i);
  LoadEvent = [this] { Form_Load(); };
}

frmOptions::~frmOptions() = default;

void frmOptions::Form_Load() {
  FillHotKeys();
  LoadOptions();
}

void frmOptions::FillHotKeys() {
  cboKey1.Clear();
  cboKey2.Clear();
  for (int i = 0; i < HotKeys::kKeyCount; ++i) {
    if (i < HotKeys::kModifierCount && !HotKeys::ModifierNames[i].empty()) {
      cboKey1.AddItem(HotKeys::ModifierNames[i]);
      cboAlert1.AddItem(HotKeys::ModifierNames[i]);
      cmbHide1.AddItem(HotKeys::ModifierNames[i]);
    }
    cboKey2.AddItem(HotKeys::KeyNames[i]);
    cboAlert2.AddItem(HotKeys::KeyNames[i]);
    cmbHide2.AddItem(HotKeys::KeyNames[i]);
  }
}

// Reading every option into the controls comes with the settings and hotkeys; until then the
// controls keep the states they were made with.
void frmOptions::LoadOptions() {}

void frmOptions::setHideUnhide(bool) {}

void frmOptions::setAlertHotkeys(bool) {}

int frmOptions::PagerAlpha() const {
  switch (cmbTransparent.ListIndex()) {
    case 1: return 100;
    case 2: return 150;
    case 3: return 200;
    default: return 255;
  }
}

}  // namespace vd
