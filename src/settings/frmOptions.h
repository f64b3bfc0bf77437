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

  // Settings file -> controls, and the hotkeys they describe.
  void LoadOptions();
  // Fills the modifier and key lists from the hotkey tables.
  void FillHotKeys();
  void setHideUnhide(bool showMsg);
  void setAlertHotkeys(bool showMsg);
  // The pager's opacity chosen in cmbTransparent (255 when nothing is chosen).
  int PagerAlpha() const;

 private:
  void Form_Load();
  Program& program_;
};

}  // namespace vd
