// The options dialog. It is loaded once during start-up and afterwards only shown and hidden:
// its controls are the live copy of the settings that the rest of the program reads (the
// pager's auto-hide reads chkAutoHide, the panic action cmbAlertDesktops, ...).
#pragma once

#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"

namespace vd {

class Program;

class frmOptions : public forms::Form {
 public:
  explicit frmOptions(Program& program);
  ~frmOptions() override;

  // Application page.
  forms::TextBox mskColumns, mskRows, mskWidth, mskHeight;
  forms::ComboBox cmbTransparent;  // "Opaque", "High", "Medium", "Low"
  forms::ComboBox cmbHide1, cmbHide2;
  // Others page.
  forms::CheckBox chkAutoStart, chkAutoHide, chkAnimate, chkPreview;
  // Desktops page.
  forms::ComboBox cmbDesktops, cboKey1, cboKey2;
  forms::CheckBox chkHotkey;
  // Panic page.
  forms::CheckBox chkAlert;
  forms::ComboBox cboAlert1, cboAlert2, cmbAlertDesktops;
  // Appearance page: the four colour swatches, 1 to 4.
  forms::ControlArray<forms::PictureBox> picColor;

  // Settings file -> controls, and the hotkeys and opacity they describe.
  void LoadOptions();
  // Controls -> settings file, every key every time.
  void SaveOptions();
  // Fills the modifier and key lists from the hotkey tables.
  void FillHotKeys();
  // Registers the hide/unhide (panic) hotkey shown in the lists; a combination that is taken
  // puts the stored one back into the lists. With showMsg the user is told the outcome.
  void setHideUnhide(bool showMsg);
  void setAlertHotkeys(bool showMsg);
  // Registers (or, unchecked, unregisters) the chosen desktop's hotkey and stores it in the
  // settings file; 0 when the combination was refused, else 1.
  int SetDesktopHotkey(bool showMsg);
  // The hotkey lists of the Desktops page are usable only while the hotkey is enabled.
  void EnabledDesktopHotkeys();
  // Shows the stored hotkey of the desktop chosen in cmbDesktops.
  void ShowDesktopHotkey();
  // The pager's opacity from a cmbTransparent index: 0 opaque, 1 high, 2 medium, 3 low.
  void MakeMainTransparent(int transparentIndex);
  // Re-applies the windows' opacity after "Desktop Transition" changed.
  void RefreshDesktops();
  // The pager's opacity chosen in cmbTransparent (255 when nothing is chosen).
  int PagerAlpha() const;

 private:
  void Form_Load();
  Program& program_;
};

}  // namespace vd
