#include "settings/frmOptions.h"

#include "core/Program.h"
#include "core/Text.h"
#include "core/frmMain.h"
#include "core/modTransparent.h"
#include "settings/HotKeys.h"
#include "settings/modInitFiles.h"

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
  // A change made by the program runs the same handling as the user's click.
  cmbTransparent.Click = [this] { MakeMainTransparent(cmbTransparent.ListIndex()); };
  cmbDesktops.Click = [this] { ShowDesktopHotkey(); };
  chkHotkey.Click = [this] {
    EnabledDesktopHotkeys();
    SetDesktopHotkey(false);
  };
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

namespace {

// A list index or check-box value from the file; a value that does not convert, or that the
// control cannot take, is skipped and the control keeps its state.
void ApplyIndex(forms::ComboBox& list, const std::string& text) {
  if (auto v = ToInt16(text)) list.SetListIndex(*v);
}

void ApplyCheck(forms::CheckBox& box, const std::string& text) {
  if (auto v = ToInt16(text); v && (*v == 0 || *v == 1)) box.SetValue(*v);
}

}  // namespace

void frmOptions::LoadOptions() {
  WindowSystem& ws = program_.ws;
  const std::string file = program_.SettingsFile();
  auto read = [&](const char* section, const char* key) {
    return ReadSetting(ws, file, section, key);
  };
  mskColumns.SetText(read("SETUP", "columns"));
  mskRows.SetText(read("SETUP", "rows"));
  if (auto t = ToInt16(read("SETUP", "transparent")); t && *t >= 0 && *t <= 3) {
    cmbTransparent.SetListIndex(*t);
    MakeMainTransparent(*t);
  }
  mskWidth.SetText(read("SETUP", "width"));
  mskHeight.SetText(read("SETUP", "height"));
  ApplyCheck(chkAnimate, read("SETUP", "animate"));
  if (auto v = ToInt16(read("SETUP", "animate"))) program_.Main().AnimateMode = (*v == 1);
  ApplyCheck(chkPreview, read("SETUP", "preview"));
  ApplyCheck(chkAutoHide, read("SETUP", "auto_hide"));
  ApplyCheck(chkAutoStart, read("SETUP", "auto_start"));
  auto hide = Split(read("SETUP", "hide"), ',');
  ApplyIndex(cmbHide1, hide[0]);
  if (hide.size() > 1) ApplyIndex(cmbHide2, hide[1]);
  const char* colours[] = {"color_normal", "color_hover", "color_selected", "color_box"};
  for (int i = 1; i <= 4; ++i) {
    if (auto c = ToInt32(read("SETUP", colours[i - 1]))) {
      picColor(i).SetBackColor(static_cast<uint32_t>(*c));
    }
  }
  setHideUnhide(false);
  ApplyCheck(chkAlert, read("ALERT", "enabled"));
  if (auto d = ToInt16(read("ALERT", "desktop"))) {
    // 0 (no desktop chosen) leaves the list without a selection.
    if (*d == 0) {
      cmbAlertDesktops.SetListIndex(-1);
    } else {
      cmbAlertDesktops.SetListIndex(*d - 1);
    }
  }
  ApplyIndex(cboAlert1, read("ALERT", "key1"));
  ApplyIndex(cboAlert2, read("ALERT", "key2"));
  setAlertHotkeys(false);
  RefreshDesktops();
}

void frmOptions::SaveOptions() {
  WindowSystem& ws = program_.ws;
  const std::string file = program_.SettingsFile();
  frmMain& pager = program_.Main();
  auto write = [&](const char* section, const char* key, const std::string& value) {
    ws.WritePrivateProfileStringA(section, key, value, file);
  };
  write("SETUP", "columns", mskColumns.Text());
  write("SETUP", "rows", mskRows.Text());
  write("SETUP", "transparent", std::to_string(cmbTransparent.ListIndex()));
  write("SETUP", "hide",
        std::to_string(cmbHide1.ListIndex()) + "," + std::to_string(cmbHide2.ListIndex()));
  write("SETUP", "width", mskWidth.Text());
  write("SETUP", "height", mskHeight.Text());
  const char* colours[] = {"color_normal", "color_hover", "color_selected", "color_box"};
  for (int i = 1; i <= 4; ++i) {
    write("SETUP", colours[i - 1], std::to_string(picColor(i).BackColor()));
  }
  pager.ColorNormal = picColor(1).BackColor();
  pager.ColorHover = picColor(2).BackColor();
  pager.ColorSelected = picColor(3).BackColor();
  write("SETUP", "animate", std::to_string(chkAnimate.Value()));
  pager.AnimateMode = chkAnimate.Checked();
  write("SETUP", "preview", std::to_string(chkPreview.Value()));
  write("SETUP", "auto_hide", std::to_string(chkAutoHide.Value()));
  write("SETUP", "auto_start", std::to_string(chkAutoStart.Value()));
  write("ALERT", "desktop", std::to_string(cmbAlertDesktops.ListIndex() + 1));
  write("ALERT", "key1", std::to_string(cboAlert1.ListIndex()));
  write("ALERT", "key2", std::to_string(cboAlert2.ListIndex()));
  write("ALERT", "enabled", std::to_string(chkAlert.Value()));
  RefreshDesktops();
}

namespace {

// Puts a stored "modifier,key" back into two lists.
void RestoreLists(forms::ComboBox& modifier, forms::ComboBox& key, const std::string& first,
                  const std::string& second) {
  ApplyIndex(modifier, first);
  ApplyIndex(key, second);
}

}  // namespace

void frmOptions::setHideUnhide(bool showMsg) {
  if (cmbHide1.Text().empty() || cmbHide2.Text().empty()) return;
  const int m = cmbHide1.ListIndex(), k = cmbHide2.ListIndex();
  auto restore = [this] {
    auto stored = Split(ReadSetting(program_.ws, program_.SettingsFile(), "SETUP", "hide"), ',');
    RestoreLists(cmbHide1, cmbHide2, stored[0], stored.size() > 1 ? stored[1] : "");
  };
  if (HotKeys::IsHotkeyTaken(program_, HotKeys::kHideHotkeyId, m, k)) {
    restore();
    return;
  }
  const Hwnd pager = program_.Main().hWnd();
  if (HotKeys::RegisterHotkeySlot(program_, HotKeys::kHideHotkeyId, pager,
                                  HotKeys::kHideHotkeyId, m, k)) {
    if (showMsg) HotKeys::ShowHotkeyAssigned(program_);
  } else {
    // Another program holds the combination: a refusal is never reported as success.
    if (showMsg) HotKeys::ShowHotkeyTaken(program_);
    restore();
  }
}

void frmOptions::setAlertHotkeys(bool showMsg) {
  if (cboAlert1.Text().empty() || cboAlert2.Text().empty()) return;
  const Hwnd pager = program_.Main().hWnd();
  if (!chkAlert.Checked()) {
    program_.ws.UnregisterHotKey(pager, HotKeys::kPanicHotkeyId);
    return;
  }
  const int m = cboAlert1.ListIndex(), k = cboAlert2.ListIndex();
  auto restore = [this] {
    WindowSystem& ws = program_.ws;
    const std::string file = program_.SettingsFile();
    RestoreLists(cboAlert1, cboAlert2, ReadSetting(ws, file, "ALERT", "key1"),
                 ReadSetting(ws, file, "ALERT", "key2"));
  };
  if (HotKeys::IsHotkeyTaken(program_, HotKeys::kPanicHotkeyId, m, k)) {
    restore();
    return;
  }
  if (HotKeys::RegisterHotkeySlot(program_, HotKeys::kPanicHotkeyId, pager,
                                  HotKeys::kPanicHotkeyId, m, k)) {
    if (showMsg) HotKeys::ShowHotkeyAssigned(program_);
  } else {
    if (showMsg) HotKeys::ShowHotkeyTaken(program_);
    restore();
  }
}

void frmOptions::ShowDesktopHotkey() {
  const int desktop = cmbDesktops.ListIndex() + 1;
  if (desktop < 1) return;
  auto fields = Split(ReadSetting(program_.ws, program_.SettingsFile(), "HOTKEYS",
                                  std::to_string(desktop)),
                      ',');
  ApplyIndex(cboKey1, fields[0]);
  if (fields.size() > 1) ApplyIndex(cboKey2, fields[1]);
  if (fields.size() > 2) ApplyCheck(chkHotkey, fields[2]);
  EnabledDesktopHotkeys();
  chkHotkey.SetEnabled(true);
}

int frmOptions::SetDesktopHotkey(bool showMsg) {
  const int desktop = cmbDesktops.ListIndex() + 1;
  const int m = cboKey1.ListIndex(), k = cboKey2.ListIndex();
  if (desktop < 1) return 1;
  if (HotKeys::IsHotkeyTaken(program_, desktop, m, k)) {
    ShowDesktopHotkey();
    return 0;
  }
  if (cboKey1.Text().empty() || cboKey2.Text().empty()) return 1;
  const Hwnd pager = program_.Main().hWnd();
  if (chkHotkey.Checked()) {
    if (!HotKeys::RegisterHotkeySlot(program_, desktop, pager, desktop, m, k)) {
      if (showMsg) HotKeys::ShowHotkeyTaken(program_);
      ShowDesktopHotkey();
      return 0;
    }
    if (showMsg) HotKeys::ShowHotkeyAssigned(program_);
  } else {
    program_.ws.UnregisterHotKey(pager, desktop);
  }
  program_.ws.WritePrivateProfileStringA(
      "HOTKEYS", std::to_string(desktop),
      std::to_string(m) + "," + std::to_string(k) + "," + std::to_string(chkHotkey.Value()),
      program_.SettingsFile());
  return 1;
}

void frmOptions::EnabledDesktopHotkeys() {
  const bool on = chkHotkey.Checked();
  cboKey1.SetEnabled(on);
  cboKey2.SetEnabled(on);
}

void frmOptions::MakeMainTransparent(int transparentIndex) {
  static const int kAlpha[] = {255, 100, 150, 200};
  if (transparentIndex < 0 || transparentIndex > 3) return;
  modTransparent::SetWindowAlpha(program_.ws, program_.Main().hWnd(), kAlpha[transparentIndex]);
}

void frmOptions::RefreshDesktops() {
  frmMain& pager = program_.Main();
  WindowTable& table = pager.Table;
  for (int i = 1; i <= table.Count(); ++i) {
    const Hwnd hwnd = table.HandleAt(i);
    if (pager.AnimateMode) {
      if (ToInt32(table.GetAt(i, WindowTable::kDesktop)).value_or(0) == pager.CurrentDesktop) {
        modTransparent::SetWindowAlpha(program_.ws, hwnd, 255);
      }
    } else if (table.GetAt(i, WindowTable::kTransparent).empty()) {
      pager.MakeOpaque(hwnd);
    } else if (auto a = ToInt32(table.GetAt(i, WindowTable::kTransparent))) {
      modTransparent::SetWindowAlpha(program_.ws, hwnd, *a);
    }
  }
}

int frmOptions::PagerAlpha() const {
  switch (cmbTransparent.ListIndex()) {
    case 1: return 100;
    case 2: return 150;
    case 3: return 200;
    default: return 255;
  }
}

}  // namespace vd
