#include "settings/frmOptions.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "core/Program.h"
#include "core/Text.h"
#include "core/Transparency.h"
#include "core/frmMain.h"
#include "interaction/MessageDialog.h"
#include "settings/AutoStart.h"
#include "settings/Hotkeys.h"
#include "settings/SettingsFile.h"

namespace vd {

namespace {

// The dialog is designed in pixels of a 96-dpi screen and placed in twips, so that it grows
// with the system's font on a screen of more dots per inch.
constexpr float kDesign = 15;
float T(float pixels) { return pixels * kDesign; }

constexpr float kWidth = 460, kHeight = 332;  // the whole dialog, pixels
constexpr float kPageLeft = 120, kPageTop = 30, kPageWidth = 330, kPageHeight = 252;
constexpr uint32_t kFace = 0xF0F0F0;    // the dialog's background
constexpr uint32_t kAccent = 0xDC7828;  // the chosen page's bar: the pager's selected blue
constexpr int kSysColorButtonFace = 15;
constexpr int kBackspace = 8;
constexpr int kSizeDigits = 3;  // width and height in percent: at most 100 and more is 100

// ---- The page buttons' pictures (20 x 20, drawn on the button face) -------------------------

vd::Bitmap Blank(uint32_t face) { return vd::Bitmap(20, 20, face); }

vd::Bitmap IconGeneral(uint32_t face) {
  vd::Bitmap icon = Blank(face);
  // Three sliders.
  const int knobs[] = {12, 5, 9};
  for (int i = 0; i < 3; ++i) {
    const int y = 4 + i * 6;
    icon.FillRect(2, y, 18, y + 1, 0x606060);
    icon.FillRect(knobs[i] - 2, y - 2, knobs[i] + 2, y + 3, kAccent);
  }
  return icon;
}

vd::Bitmap IconDesktops(uint32_t face) {
  vd::Bitmap icon = Blank(face);
  // A grid of four desktops, the first one chosen.
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 2; ++column) {
      const int x = 2 + column * 9, y = 2 + row * 9;
      icon.FillRect(x, y, x + 7, y + 7, row == 0 && column == 0 ? kAccent : 0x785A46);
    }
  }
  return icon;
}

vd::Bitmap IconPanic(uint32_t face) {
  vd::Bitmap icon = Blank(face);
  // A red round sign with a white mark.
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const int dx = 2 * x - 19, dy = 2 * y - 19;
      if (dx * dx + dy * dy <= 18 * 18) icon.SetPixel(x, y, 0x2020D0);
    }
  }
  icon.FillRect(9, 4, 11, 12, 0xFFFFFF);
  icon.FillRect(9, 14, 11, 16, 0xFFFFFF);
  return icon;
}

vd::Bitmap IconAppearance(uint32_t face) {
  vd::Bitmap icon = Blank(face);
  // Four colour swatches.
  const uint32_t colours[] = {0x3030E0, 0x30B030, 0xE07020, 0x00C8FF};
  for (int i = 0; i < 4; ++i) {
    const int x = 2 + (i % 2) * 9, y = 2 + (i / 2) * 9;
    icon.FillRect(x, y, x + 7, y + 7, colours[i]);
    icon.FrameRect(x, y, x + 7, y + 7, 0x404040);
  }
  return icon;
}

vd::Bitmap IconConfirm(uint32_t face) {
  vd::Bitmap icon(16, 16, face);
  // A green tick, three pixels thick.
  for (int t = 0; t < 3; ++t) {
    icon.Line(2, 8 + t, 6, 12 + t, 0x20A020);
    icon.Line(6, 12 + t, 14, 4 + t, 0x20A020);
  }
  return icon;
}

// A list index or check-box value from the file; a value that does not convert, or that the
// control cannot take, is skipped and the control keeps its state.
void ApplyIndex(forms::ComboBox& list, const std::string& text) {
  if (auto v = ToInt16(text)) list.SetListIndex(*v);
}

void ApplyCheck(forms::CheckBox& box, const std::string& text) {
  if (auto v = ToInt16(text); v && (*v == 0 || *v == 1)) box.SetValue(*v);
}

// Puts a stored "modifier,key" back into two lists.
void RestoreLists(forms::ComboBox& modifier, forms::ComboBox& key, const std::string& first,
                  const std::string& second) {
  ApplyIndex(modifier, first);
  ApplyIndex(key, second);
}

bool IsDigit(int key) { return key >= '0' && key <= '9'; }

}  // namespace

// ---- Construction and layout ------------------------------------------------------------------

frmOptions::frmOptions(Program& program)
    : DialogForm(program, "frmOptions", T(kWidth), T(kHeight), "Options"),
      cmdGeneral(*this, "cmdGeneral", "General"),
      cmdDesktops(*this, "cmdDesktops", "Desktops"),
      cmdPanic(*this, "cmdPanic", "Panic"),
      cmdAppearance(*this, "cmdAppearance", "Appearance"),
      picPageMark(*this, "picPageMark"),
      frmGeneral(*this, "frmGeneral"),
      cmdDesktop(frmGeneral, "cmdDesktop", "Application"),
      cmdOthers(frmGeneral, "cmdOthers", "Others"),
      picSubPageMark(frmGeneral, "picSubPageMark"),
      frmDesktop(frmGeneral, "frmDesktop", "Application"),
      frmOthers(frmGeneral, "frmOthers"),
      fraIgnored(frmOthers, "fraIgnored", "Ignored List"),
      fraEffects(frmOthers, "fraEffects", " Effects "),
      frmDesktops(*this, "frmDesktops", "Desktops"),
      frmPanic(*this, "frmPanic", "Panic"),
      frmApperance(*this, "frmApperance", "Appearance"),
      fraStyle(frmApperance, "fraStyle", " Style "),
      mskColumns(frmDesktop, "mskColumns"),
      mskRows(frmDesktop, "mskRows"),
      mskWidth(frmDesktop, "mskWidth"),
      mskHeight(frmDesktop, "mskHeight"),
      cmbTransparent(frmDesktop, "cmbTransparent"),
      cmbHide1(frmDesktop, "cmbHide1"),
      cmbHide2(frmDesktop, "cmbHide2"),
      cmdHotHide(frmDesktop, "cmdHotHide", "Set Hotkey"),
      cmdRemoveIgnore(fraIgnored, "cmdRemoveIgnore", "Clear List"),
      chkAutoStart(fraEffects, "chkAutoStart", "Start Application After Reboot"),
      chkAutoHide(fraEffects, "chkAutoHide", "Auto Hide"),
      chkAnimate(fraEffects, "chkAnimate", "Desktop Transition"),
      chkPreview(fraEffects, "chkPreview", "Preview Window"),
      cmbDesktops(frmDesktops, "cmbDesktops"),
      cboKey1(frmDesktops, "cboKey1"),
      cboKey2(frmDesktops, "cboKey2"),
      chkHotkey(frmDesktops, "chkHotkey", "Hotkey Enabled"),
      cmdSetHotKey(frmDesktops, "cmdSetHotKey", "Set Hotkey"),
      chkAlert(frmPanic, "chkAlert", "Enabled Panic Hotkeys"),
      cboAlert1(frmPanic, "cboAlert1"),
      cboAlert2(frmPanic, "cboAlert2"),
      cmbAlertDesktops(frmPanic, "cmbAlertDesktops"),
      cmdHotAlert(frmPanic, "cmdHotAlert", "Set Hotkey"),
      picColor(fraStyle, "picColor", forms::ScaleMode::kPixels),
      cmdColorPicker(fraStyle, "cmdColorPicker", "Change..."),
      cmdClose(*this, "cmdClose", "OK"),
      cmdCancel(*this, "cmdCancel", "Cancel") {
  SetCaption("Options");
  SetVisible(false);
  Image1.SetVisible(false);  // the message boxes' sign has no place here
  for (const char* entry : {"Opaque", "High", "Medium", "Low"}) cmbTransparent.AddItem(entry);
  LayOut();
  WireEvents();
  // Until a desktop is chosen there is no hotkey to enable or set.
  chkHotkey.SetEnabled(false);
  EnabledDesktopHotkeys();
}

frmOptions::~frmOptions() = default;

forms::Label& frmOptions::AddCaption(forms::Container& parent, const std::string& name,
                                     const std::string& text, int left, int top, int width) {
  auto label = std::make_unique<forms::Label>(parent, name, text);
  label->Move(T(static_cast<float>(left)), T(static_cast<float>(top)), T(static_cast<float>(width)),
              T(16));
  label->SetBackColor(kFace);
  label->SetForeColor(0x000000);
  captions_.push_back(std::move(label));
  return *captions_.back();
}

void frmOptions::LayOut() {
  const uint32_t face = forms::ResolveColor(program_.backend, 0x80000000u | kSysColorButtonFace);

  // The page buttons, a column on the left; a bar beside the chosen one.
  struct PageButton {
    forms::Button& button;
    vd::Bitmap icon;
    const char* tip;
  };
  PageButton pages[] = {
      {cmdGeneral, IconGeneral(face), "Grid, size, opacity, hide/unhide hotkey and effects"},
      {cmdDesktops, IconDesktops(face), "A hotkey for each desktop"},
      {cmdPanic, IconPanic(face), "The panic hotkey"},
      {cmdAppearance, IconAppearance(face), "The pager's colours"},
  };
  for (int i = 0; i < 4; ++i) {
    pages[i].button.Move(T(12), T(32 + 48 * static_cast<float>(i)), T(100), T(40));
    pages[i].button.SetIcon(pages[i].icon);
    pages[i].button.SetToolTipText(pages[i].tip);
  }
  picPageMark.Move(T(6), T(32), T(3), T(40));
  picPageMark.SetBackColor(kAccent);

  for (forms::Frame* page : {&frmGeneral, &frmDesktops, &frmPanic, &frmApperance}) {
    page->Move(T(kPageLeft), T(kPageTop), T(kPageWidth), T(kPageHeight));
    page->SetBackColor(kFace);
  }
  frmGeneral.SetBorderStyle(false);

  // General: the two sub-page buttons, a bar under the chosen one, the two sub-pages.
  cmdDesktop.Move(T(0), T(0), T(100), T(24));
  cmdOthers.Move(T(104), T(0), T(100), T(24));
  picSubPageMark.Move(T(0), T(26), T(100), T(3));
  picSubPageMark.SetBackColor(kAccent);
  for (forms::Frame* sub : {&frmDesktop, &frmOthers}) {
    sub->Move(T(0), T(34), T(kPageWidth), T(kPageHeight - 34));
    sub->SetBackColor(kFace);
  }
  frmOthers.SetBorderStyle(false);

  // Application.
  AddCaption(frmDesktop, "lblDimension", "Dimension:", 12, 28, 94);
  mskColumns.Move(T(110), T(25), T(28), T(21));
  AddCaption(frmDesktop, "lblBy", "x", 143, 28, 10);
  mskRows.Move(T(156), T(25), T(28), T(21));
  AddCaption(frmDesktop, "lblColumnsRows", "(Columns x Rows)", 192, 28, 130);
  AddCaption(frmDesktop, "lblWindowSize", "Window Size:", 12, 60, 94);
  mskWidth.Move(T(110), T(57), T(40), T(21));
  AddCaption(frmDesktop, "lblScreenWidth", "Screen Width (%)", 158, 60, 150);
  mskHeight.Move(T(110), T(83), T(40), T(21));
  AddCaption(frmDesktop, "lblScreenHeight", "Screen Height (%)", 158, 86, 150);
  AddCaption(frmDesktop, "lblTransparency", "Transparency:", 12, 121, 94);
  cmbTransparent.Move(T(110), T(118), T(100), T(21));
  AddCaption(frmDesktop, "lblHideUnhide", "Hide/Unhide:", 12, 155, 94);
  cmbHide1.Move(T(110), T(152), T(64), T(21));
  AddCaption(frmDesktop, "lblHidePlus", "+", 179, 155, 10);
  cmbHide2.Move(T(192), T(152), T(84), T(21));
  cmdHotHide.Move(T(110), T(182), T(90), T(24));
  mskColumns.SetMaxLength(1);
  mskRows.SetMaxLength(1);
  mskWidth.SetMaxLength(kSizeDigits);
  mskHeight.SetMaxLength(kSizeDigits);
  mskColumns.SetToolTipText("Columns of desktops, 1 to 9");
  mskRows.SetToolTipText("Rows of desktops, 1 to 9");
  mskWidth.SetToolTipText("The pager's width in percent of the screen's");
  mskHeight.SetToolTipText("The pager's height in percent of the screen's");

  // Others.
  fraIgnored.Move(T(0), T(0), T(kPageWidth), T(86));
  fraEffects.Move(T(0), T(94), T(kPageWidth), T(124));
  for (forms::Frame* group : {&fraIgnored, &fraEffects}) group->SetBackColor(kFace);
  AddCaption(fraIgnored, "lblIgnored", "Click on the button below to clear all ignored list.", 12,
             24, 306);
  cmdRemoveIgnore.Move(T(12), T(48), T(90), T(24));
  int y = 22;
  for (forms::CheckBox* box : {&chkAutoStart, &chkAutoHide, &chkAnimate, &chkPreview}) {
    box->Move(T(12), T(static_cast<float>(y)), T(300), T(20));
    box->SetBackColor(kFace);
    y += 24;
  }

  // Desktops.
  AddCaption(frmDesktops, "lblDesktop", "Desktop:", 12, 31, 84);
  cmbDesktops.Move(T(100), T(28), T(110), T(21));
  AddCaption(frmDesktops, "lblHotkeys", "Hotkeys:", 12, 65, 84);
  cboKey1.Move(T(100), T(62), T(64), T(21));
  AddCaption(frmDesktops, "lblKeyPlus", "+", 169, 65, 10);
  cboKey2.Move(T(182), T(62), T(84), T(21));
  chkHotkey.Move(T(100), T(94), T(160), T(20));
  chkHotkey.SetBackColor(kFace);
  cmdSetHotKey.Move(T(100), T(122), T(90), T(24));

  // Panic.
  chkAlert.Move(T(12), T(26), T(250), T(20));
  chkAlert.SetBackColor(kFace);
  AddCaption(frmPanic, "lblAlertHotkeys", "Hotkeys:", 12, 63, 84);
  cboAlert1.Move(T(100), T(60), T(64), T(21));
  AddCaption(frmPanic, "lblAlertPlus", "+", 169, 63, 10);
  cboAlert2.Move(T(182), T(60), T(84), T(21));
  cmdHotAlert.Move(T(100), T(90), T(90), T(24));
  AddCaption(frmPanic, "lblAlertDesktop", "Desktop to open when in panic:", 12, 137, 176);
  cmbAlertDesktops.Move(T(192), T(134), T(110), T(21));

  // Appearance: four swatches, each with its button.
  fraStyle.Move(T(10), T(24), T(kPageWidth - 20), T(146));
  fraStyle.SetBackColor(kFace);
  const char* swatches[] = {
      "Normal Backcolor:", "Hover Backcolor:", "Selected Backcolor:", "Selected Border:"};
  // The templates stay hidden; the swatches are in pixels inside the frame's twips.
  picColor(0).SetVisible(false);
  picColor(0).SetBorderStyle(true);
  cmdColorPicker(0).SetVisible(false);
  cmdColorPicker(0).SetToolTipText("Choose a colour");
  for (int i = 1; i <= 4; ++i) {
    const float top = 24 + 28 * static_cast<float>(i - 1);
    AddCaption(fraStyle, "lblColor" + std::to_string(i), swatches[i - 1], 12,
               static_cast<int>(top) + 3, 130);
    forms::PictureBox& swatch = picColor.Load(i);
    swatch.Move(T(148), T(top), T(48), T(21));
    swatch.SetVisible(true);
    forms::Button& pick = cmdColorPicker.Load(i);
    pick.Move(T(204), T(top - 1), T(76), T(23));
    pick.SetVisible(true);
  }

  // OK and Cancel below the pages.
  cmdClose.Move(T(282), T(294), T(80), T(26));
  cmdClose.SetIcon(IconConfirm(face));
  cmdClose.SetToolTipText("Save the settings and apply them");
  cmdCancel.Move(T(370), T(294), T(80), T(26));
}

void frmOptions::WireEvents() {
  LoadEvent = [this] { Form_Load(); };
  // Closed by the system (Alt+F4, the system menu's Close, WM_CLOSE): the same as Cancel, and
  // the dialog stays loaded. A session that ends is not refused.
  QueryUnload = [this](forms::UnloadMode mode, bool& cancel) {
    if (mode != forms::UnloadMode::kFormControlMenu) return;
    cancel = true;
    cmdCancel_Click();
  };
  Activate = [this] { Form_Activate(); };
  // The borderless dialog moves when dragged by its background (and by its title strip).
  MouseDown = [this](int button, int, float, float) {
    if (button == forms::kLeftButton) StartDrag();
  };

  cmdGeneral.Click = [this] {
    ShowPage(frmGeneral);
    if (&CurrentSubPage() == &frmDesktop) mskWidth.SetFocus();
  };
  cmdDesktop.Click = [this] { ShowPage(frmDesktop); };
  cmdOthers.Click = [this] { ShowPage(frmOthers); };
  cmdDesktops.Click = [this] { ShowPage(frmDesktops); };
  cmdPanic.Click = [this] { ShowPage(frmPanic); };
  cmdAppearance.Click = [this] { ShowPage(frmApperance); };

  for (forms::TextBox* field : {&mskColumns, &mskRows, &mskWidth, &mskHeight}) {
    field->KeyPress = [this, field](int& key) { SizeField_KeyPress(*field, key); };
    field->Change = [this, field] { SizeField_Change(*field); };
    field->GotFocus = [field] { field->SelectAll(); };
  }

  // A change made by the program runs the same handling as the user's click.
  cmbTransparent.Click = [this] { MakeMainTransparent(cmbTransparent.ListIndex()); };
  cmdHotHide.Click = [this] { setHideUnhide(true); };
  cmdRemoveIgnore.Click = [this] { cmdRemoveIgnore_Click(); };
  chkAutoStart.Click = [this] {
    if (chkAutoStart.Checked()) {
      AppAutoStart();
    } else {
      AppAutoStop();
    }
  };
  cmbDesktops.Click = [this] { ShowDesktopHotkey(); };
  chkHotkey.Click = [this] {
    EnabledDesktopHotkeys();
    SetDesktopHotkey(false);
  };
  cmdSetHotKey.Click = [this] { SetDesktopHotkey(true); };
  cmdHotAlert.Click = [this] { setAlertHotkeys(true); };
  cmdColorPicker.Click = [this](int index) { ColorPicker(index); };
  cmdClose.Click = [this] { cmdClose_Click(); };
  cmdCancel.Click = [this] { cmdCancel_Click(); };
}

void frmOptions::StartDrag() {
  program_.ws.ReleaseCapture();
  program_.ws.SendMessageA(hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

// ---- Loading, showing, pages --------------------------------------------------------------------

void frmOptions::Form_Load() {
  // Top-most already when it first shows (and again at every activation).
  program_.ws.SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  FillHotKeys();
  LoadOptions();
  ShowPage(frmGeneral);
  ShowPage(frmDesktop);
}

void frmOptions::Form_Activate() {
  program_.ws.SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  program_.Main().DialogOpen = true;
  ShowPage(frmGeneral);
  ShowPage(frmDesktop);
  // The desktop list was filled afresh when the grid was built: without a chosen desktop there
  // is no hotkey to enable or set.
  if (cmbDesktops.ListIndex() < 0) {
    chkHotkey.SetEnabled(false);
    cboKey1.SetEnabled(false);
    cboKey2.SetEnabled(false);
    cmdSetHotKey.SetEnabled(false);
  }
  UpdateCloseButton();
  DimensionsChanged = false;
}

void frmOptions::ShowPage(forms::Frame& page) {
  struct Choice {
    forms::Frame& frame;
    forms::Button& button;
  };
  const Choice pages[] = {{frmGeneral, cmdGeneral},
                          {frmDesktops, cmdDesktops},
                          {frmPanic, cmdPanic},
                          {frmApperance, cmdAppearance}};
  const Choice subPages[] = {{frmDesktop, cmdDesktop}, {frmOthers, cmdOthers}};
  auto choose = [&page](const auto& set, forms::Control& mark, bool beside) {
    bool found = false;
    for (const Choice& c : set) found = found || &c.frame == &page;
    if (!found) return;
    for (const Choice& c : set) {
      const bool chosen = &c.frame == &page;
      if (chosen) {
        c.frame.SetVisible(true);
        c.frame.ZOrder(0);
        if (beside) {
          mark.SetTop(c.button.Top());
        } else {
          mark.SetLeft(c.button.Left());
        }
      }
    }
    // The others go only after the chosen one shows, so the dialog never shows no page.
    for (const Choice& c : set) {
      if (&c.frame != &page) c.frame.SetVisible(false);
    }
  };
  choose(pages, picPageMark, true);
  choose(subPages, picSubPageMark, false);
}

forms::Frame& frmOptions::CurrentPage() {
  for (forms::Frame* page : {&frmGeneral, &frmDesktops, &frmPanic, &frmApperance}) {
    if (page->Visible()) return *page;
  }
  return frmGeneral;
}

forms::Frame& frmOptions::CurrentSubPage() {
  return frmOthers.Visible() && !frmDesktop.Visible() ? frmOthers : frmDesktop;
}

// ---- The size fields ----------------------------------------------------------------------------

void frmOptions::SizeField_KeyPress(forms::TextBox&, int& keyAscii) {
  // Digits and Backspace; the field's length limit refuses a digit too many.
  if (keyAscii != kBackspace && !IsDigit(keyAscii)) keyAscii = 0;
}

void frmOptions::SizeField_Change(forms::TextBox& field) {
  // Text that arrives other than by typing (pasted) keeps only its digits, as many as the field
  // takes. The settings file's values are shown as they are: the grid makes the best of them
  // and OK writes back what the user sees.
  if (loading_) {
    if (!field.Text().empty()) DimensionsChanged = true;
    UpdateCloseButton();
    return;
  }
  std::string digits;
  for (char c : field.Text()) {
    if (IsDigit(static_cast<unsigned char>(c))) digits += c;
  }
  if (field.MaxLength() > 0 && static_cast<int>(digits.size()) > field.MaxLength()) {
    digits.resize(static_cast<size_t>(field.MaxLength()));
  }
  if (digits != field.Text()) {
    field.SetText(digits);  // runs this handler again with the clean text
    return;
  }
  if (!field.Text().empty()) DimensionsChanged = true;
  UpdateCloseButton();
}

void frmOptions::UpdateCloseButton() {
  bool ready = true;
  for (forms::TextBox* field : {&mskColumns, &mskRows, &mskWidth, &mskHeight}) {
    ready = ready && !field->Text().empty();
  }
  // A grid needs at least one column and one row.
  for (forms::TextBox* field : {&mskColumns, &mskRows}) {
    ready = ready && ToInt16(field->Text()).value_or(0) >= 1;
  }
  if (cmdClose.Enabled() != ready) cmdClose.SetEnabled(ready);
}

// ---- The settings file --------------------------------------------------------------------------

void frmOptions::FillHotKeys() {
  for (forms::ComboBox* list : {&cboKey1, &cboKey2, &cboAlert1, &cboAlert2, &cmbHide1, &cmbHide2}) {
    list->Clear();
  }
  for (int i = 0; i < Hotkeys::kKeyCount; ++i) {
    if (i < Hotkeys::kModifierCount && !Hotkeys::ModifierNames[i].empty()) {
      cboKey1.AddItem(Hotkeys::ModifierNames[i]);
      cboAlert1.AddItem(Hotkeys::ModifierNames[i]);
      cmbHide1.AddItem(Hotkeys::ModifierNames[i]);
    }
    cboKey2.AddItem(Hotkeys::KeyNames[i]);
    cboAlert2.AddItem(Hotkeys::KeyNames[i]);
    cmbHide2.AddItem(Hotkeys::KeyNames[i]);
  }
}

void frmOptions::LoadOptions() {
  WindowSystem& ws = program_.ws;
  const std::string file = program_.SettingsFile();
  auto read = [&](const char* section, const char* key) {
    return ReadSetting(ws, file, section, key);
  };
  loading_ = true;
  mskColumns.SetText(read("SETUP", "columns"));
  mskRows.SetText(read("SETUP", "rows"));
  if (auto t = ToInt16(read("SETUP", "transparent")); t && *t >= 0 && *t <= 3) {
    cmbTransparent.SetListIndex(*t);
    MakeMainTransparent(*t);
  }
  mskWidth.SetText(read("SETUP", "width"));
  mskHeight.SetText(read("SETUP", "height"));
  loading_ = false;
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

// ---- Hotkeys ------------------------------------------------------------------------------------

void frmOptions::setHideUnhide(bool showMsg) {
  if (cmbHide1.Text().empty() || cmbHide2.Text().empty()) return;
  const int m = cmbHide1.ListIndex(), k = cmbHide2.ListIndex();
  auto restore = [this] {
    auto stored = Split(ReadSetting(program_.ws, program_.SettingsFile(), "SETUP", "hide"), ',');
    RestoreLists(cmbHide1, cmbHide2, stored[0], stored.size() > 1 ? stored[1] : "");
  };
  if (Hotkeys::IsHotkeyTaken(program_, Hotkeys::kHideHotkeyId, m, k)) {
    restore();
    return;
  }
  const Hwnd pager = program_.Main().hWnd();
  if (Hotkeys::RegisterHotkeySlot(program_, Hotkeys::kHideHotkeyId, pager, Hotkeys::kHideHotkeyId,
                                  m, k)) {
    if (showMsg) Hotkeys::ShowHotkeyAssigned(program_);
  } else {
    // Another program holds the combination: a refusal is never reported as success.
    if (showMsg) Hotkeys::ShowHotkeyTaken(program_);
    restore();
  }
}

void frmOptions::setAlertHotkeys(bool showMsg) {
  if (cboAlert1.Text().empty() || cboAlert2.Text().empty()) return;
  const Hwnd pager = program_.Main().hWnd();
  if (!chkAlert.Checked()) {
    program_.ws.UnregisterHotKey(pager, Hotkeys::kPanicHotkeyId);
    return;
  }
  const int m = cboAlert1.ListIndex(), k = cboAlert2.ListIndex();
  auto restore = [this] {
    WindowSystem& ws = program_.ws;
    const std::string file = program_.SettingsFile();
    RestoreLists(cboAlert1, cboAlert2, ReadSetting(ws, file, "ALERT", "key1"),
                 ReadSetting(ws, file, "ALERT", "key2"));
  };
  if (Hotkeys::IsHotkeyTaken(program_, Hotkeys::kPanicHotkeyId, m, k)) {
    restore();
    return;
  }
  if (Hotkeys::RegisterHotkeySlot(program_, Hotkeys::kPanicHotkeyId, pager, Hotkeys::kPanicHotkeyId,
                                  m, k)) {
    if (showMsg) Hotkeys::ShowHotkeyAssigned(program_);
  } else {
    if (showMsg) Hotkeys::ShowHotkeyTaken(program_);
    restore();
  }
}

void frmOptions::ShowDesktopHotkey() {
  const int desktop = cmbDesktops.ListIndex() + 1;
  if (desktop < 1) return;
  const std::string stored =
      ReadSetting(program_.ws, program_.SettingsFile(), "HOTKEYS", std::to_string(desktop));
  auto fields = Split(stored, ',');
  if (stored.empty()) {
    // A desktop without a stored hotkey shows none, rather than the previous desktop's.
    cboKey1.SetListIndex(-1);
    cboKey2.SetListIndex(-1);
    chkHotkey.SetValue(0);
  }
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
  if (Hotkeys::IsHotkeyTaken(program_, desktop, m, k)) {
    ShowDesktopHotkey();
    return 0;
  }
  if (cboKey1.Text().empty() || cboKey2.Text().empty()) return 1;
  const Hwnd pager = program_.Main().hWnd();
  if (chkHotkey.Checked()) {
    if (!Hotkeys::RegisterHotkeySlot(program_, desktop, pager, desktop, m, k)) {
      if (showMsg) Hotkeys::ShowHotkeyTaken(program_);
      ShowDesktopHotkey();
      return 0;
    }
    if (showMsg) Hotkeys::ShowHotkeyAssigned(program_);
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
  cmdSetHotKey.SetEnabled(on);
}

// ---- Appearance ---------------------------------------------------------------------------------

void frmOptions::MakeMainTransparent(int transparentIndex) {
  static const int kAlpha[] = {255, 100, 150, 200};
  if (transparentIndex < 0 || transparentIndex > 3) return;
  transparency::SetWindowAlpha(program_.ws, program_.Main().hWnd(), kAlpha[transparentIndex]);
}

int frmOptions::PagerAlpha() const {
  switch (cmbTransparent.ListIndex()) {
    case 1:
      return 100;
    case 2:
      return 150;
    case 3:
      return 200;
    default:
      return 255;
  }
}

void frmOptions::RefreshDesktops() {
  frmMain& pager = program_.Main();
  for (const Hwnd hwnd : pager.Table.Handles()) {
    const ManagedWindow* w = pager.Table.Find(hwnd);
    if (w == nullptr) continue;
    if (pager.AnimateMode) {
      if (w->desktop == pager.CurrentDesktop) {
        transparency::SetWindowAlpha(program_.ws, hwnd, 255);
      }
    } else if (!w->transparency) {
      pager.MakeOpaque(hwnd);
    } else {
      transparency::SetWindowAlpha(program_.ws, hwnd, *w->transparency);
    }
  }
}

void frmOptions::ColorPicker(int colorIndex) {
  if (colorIndex < 1 || !picColor.Exists(colorIndex)) return;
  // No colour is preselected; the custom colours are the user's from earlier choices.
  uint32_t colour = 0;
  if (program_.ws.ChooseColorA(hWnd(), &colour, &CustomColors)) {
    picColor(colorIndex).SetBackColor(colour);
  }
}

void frmOptions::ResizeMainWindow() {
  frmMain& pager = program_.Main();
  for (const ManagedWindow& w : pager.Table) {
    if (w.desktop == pager.CurrentDesktop) pager.BlankMiniature(w.handle);
  }
}

// ---- Start with Windows -------------------------------------------------------------------------

bool frmOptions::AppAutoStart() { return AutoStart::AppAutoStart(program_.ws); }

bool frmOptions::AppAutoStop() { return AutoStart::AppAutoStop(program_.ws); }

// ---- The ignore list ----------------------------------------------------------------------------

void frmOptions::cmdRemoveIgnore_Click() {
  const int answer =
      program_.ws.MessageBoxA(hWnd(), "Are you sure you want to clear all blocked list ?",
                              "Blocked List", MB_YESNO | MB_ICONEXCLAMATION);
  if (answer != IDYES) return;
  std::error_code ec;
  std::filesystem::remove(program_.IgnoreFile(), ec);  // a missing file is no error
  program_.Main().SetIgnoreList();
}

// ---- The grid -----------------------------------------------------------------------------------

void frmOptions::SetDesktops() {
  frmMain& pager = program_.Main();
  const auto columns = ToInt16(mskColumns.Text());
  const auto rows = ToInt16(mskRows.Text());
  // The dialog cannot be confirmed with an empty or zero dimension; nothing to apply then.
  if (!columns || !rows || *columns < 1 || *rows < 1) return;
  const int n = std::min<int>(*columns, 9) * std::min<int>(*rows, 9);

  for (int i = pager.DesktopCount; i >= n + 1; --i) {
    if (pager.mnuDesktop.Exists(i)) pager.mnuDesktop.Unload(i);
  }
  bool relocated = false;
  for (ManagedWindow& w : pager.Table) {
    if (w.desktop > n) {
      w.desktop = n;
      relocated = true;
    }
  }
  bool panicDisabled = false;
  if (cmbAlertDesktops.ListIndex() + 1 > n) {
    // Only a panic hotkey that was on is reported as switched off.
    panicDisabled = chkAlert.Checked();
    chkAlert.SetValue(0);
    setAlertHotkeys(false);
  }
  pager.SetupDesktops(mskColumns.Text(), mskRows.Text());
  // The current desktop vanished, or windows were moved onto it: the last remaining desktop
  // is opened, showing the windows moved there.
  if (pager.CurrentDesktop > pager.DesktopCount ||
      (relocated && pager.CurrentDesktop == pager.DesktopCount)) {
    const bool animate = pager.AnimateMode;
    pager.AnimateMode = false;
    pager.OpenDesktop(pager.DesktopCount);
    pager.AnimateMode = animate;
  }
  // Adding the cells moved the selection box along to the last one: it frames the current
  // desktop's cell again.
  pager.MoveSelectionBox(pager.CurrentDesktop);
  pager.statusLabel.SetCaption("Desktop " + std::to_string(pager.CurrentDesktop));
  if (relocated || panicDisabled) {
    std::string text = "Due to changes in the desktop dimension:\r\n\r\n";
    std::vector<std::string> notes;
    if (relocated) notes.emplace_back("- Application(s) has been relocated.");
    if (panicDisabled) notes.emplace_back("- Panic hotkeys have been disabled.");
    for (size_t i = 0; i < notes.size(); ++i) text += (i > 0 ? "\r\n" : "") + notes[i];
    ShowMessage(program_, "Warning", text, "warning", "Ok;");
  }
}

// ---- OK and Cancel ------------------------------------------------------------------------------

void frmOptions::cmdClose_Click() {
  frmMain& pager = program_.Main();
  WindowSystem& ws = program_.ws;
  pager.DialogOpen = false;
  if (chkAlert.Checked() && cmbAlertDesktops.Text().empty()) {
    ShowMessage(program_, "Required Value", "Please enter panic desktop value.", "critical", "Ok;");
    ShowPage(frmPanic);
    // The dialog stays up, so the pager must not be hidden meanwhile.
    pager.DialogOpen = true;
    return;
  }
  SaveOptions();
  Hide();
  if (DimensionsChanged) SetDesktops();
  ResizeMainWindow();
  // The current desktop's windows get new pictures, without the side effects of a window
  // coming forward (auto-hide, dismissing a summoned window).
  pager.SetReplacingMiniatures(true);
  for (const Hwnd hwnd : pager.Table.Handles()) {
    if (pager.DesktopOf(hwnd) == pager.CurrentDesktop) {
      pager.UpdateActiveWindow(hwnd, pager.CurrentDesktop, true);
    }
  }
  pager.SetReplacingMiniatures(false);
  if (auto t = ToInt16(ReadIniValue(ws, program_.SettingsFile(), "SETUP", "transparent"))) {
    MakeMainTransparent(*t);
  }
  // The pager comes out of OK shown and repainted (also when it was put away when the dialog
  // was opened from the tray icon).
  if (!pager.IsShown()) pager.Show();
  pager.Refresh();
  pager.PagerShown = true;
}

void frmOptions::cmdCancel_Click() {
  program_.Main().DialogOpen = false;
  Hide();
}

}  // namespace vd
