#include "options/OptionsDialog.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "core/Program.h"
#include "core/Text.h"
#include "core/Transparency.h"
#include "interaction/MessageDialog.h"
#include "pager/PagerWindow.h"
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

OptionsDialog::OptionsDialog(Program& program)
    : DialogForm(program, "OptionsDialog", T(kWidth), T(kHeight), "Options"),
      generalButton(*this, "generalButton", "General"),
      desktopsButton(*this, "desktopsButton", "Desktops"),
      panicButton(*this, "panicButton", "Panic"),
      appearanceButton(*this, "appearanceButton", "Appearance"),
      pageMark(*this, "pageMark"),
      generalPage(*this, "generalPage"),
      applicationButton(generalPage, "applicationButton", "Application"),
      othersButton(generalPage, "othersButton", "Others"),
      subPageMark(generalPage, "subPageMark"),
      applicationPage(generalPage, "applicationPage", "Application"),
      othersPage(generalPage, "othersPage"),
      ignoredGroup(othersPage, "ignoredGroup", "Ignored List"),
      effectsGroup(othersPage, "effectsGroup", " Effects "),
      desktopsPage(*this, "desktopsPage", "Desktops"),
      panicPage(*this, "panicPage", "Panic"),
      appearancePage(*this, "appearancePage", "Appearance"),
      styleGroup(appearancePage, "styleGroup", " Style "),
      columnsField(applicationPage, "columnsField"),
      rowsField(applicationPage, "rowsField"),
      widthField(applicationPage, "widthField"),
      heightField(applicationPage, "heightField"),
      opacityList(applicationPage, "opacityList"),
      hideModifierList(applicationPage, "hideModifierList"),
      hideKeyList(applicationPage, "hideKeyList"),
      setHideHotkeyButton(applicationPage, "setHideHotkeyButton", "Set Hotkey"),
      clearIgnoreListButton(ignoredGroup, "clearIgnoreListButton", "Clear List"),
      autoStartBox(effectsGroup, "autoStartBox", "Start Application After Reboot"),
      autoHideBox(effectsGroup, "autoHideBox", "Auto Hide"),
      animateBox(effectsGroup, "animateBox", "Desktop Transition"),
      previewBox(effectsGroup, "previewBox", "Preview Window"),
      hotkeyDesktopList(desktopsPage, "hotkeyDesktopList"),
      desktopModifierList(desktopsPage, "desktopModifierList"),
      desktopKeyList(desktopsPage, "desktopKeyList"),
      desktopHotkeyBox(desktopsPage, "desktopHotkeyBox", "Hotkey Enabled"),
      setDesktopHotkeyButton(desktopsPage, "setDesktopHotkeyButton", "Set Hotkey"),
      panicBox(panicPage, "panicBox", "Enabled Panic Hotkeys"),
      panicModifierList(panicPage, "panicModifierList"),
      panicKeyList(panicPage, "panicKeyList"),
      panicDesktopList(panicPage, "panicDesktopList"),
      setPanicHotkeyButton(panicPage, "setPanicHotkeyButton", "Set Hotkey"),
      colourSwatches(styleGroup, "colourSwatches", forms::ScaleMode::kPixels),
      colourButtons(styleGroup, "colourButtons", "Change..."),
      okButton(*this, "okButton", "OK"),
      cancelButton(*this, "cancelButton", "Cancel") {
  SetCaption("Options");
  SetVisible(false);
  signPicture.SetVisible(false);  // the message boxes' sign has no place here
  for (const char* entry : {"Opaque", "High", "Medium", "Low"}) opacityList.AddItem(entry);
  LayOut();
  WireEvents();
  // Until a desktop is chosen there is no hotkey to enable or set.
  desktopHotkeyBox.SetEnabled(false);
  EnableDesktopHotkeyLists();
}

OptionsDialog::~OptionsDialog() = default;

forms::Label& OptionsDialog::AddCaption(forms::Container& parent, const std::string& name,
                                        const std::string& text, int left, int top, int width) {
  auto label = std::make_unique<forms::Label>(parent, name, text);
  label->Move(T(static_cast<float>(left)), T(static_cast<float>(top)), T(static_cast<float>(width)),
              T(16));
  label->SetBackColor(kFace);
  label->SetForeColor(0x000000);
  captions_.push_back(std::move(label));
  return *captions_.back();
}

void OptionsDialog::LayOut() {
  const uint32_t face = forms::ResolveColor(program_.backend, 0x80000000u | kSysColorButtonFace);

  // The page buttons, a column on the left; a bar beside the chosen one.
  struct PageButton {
    forms::Button& button;
    vd::Bitmap icon;
    const char* tip;
  };
  PageButton pages[] = {
      {generalButton, IconGeneral(face), "Grid, size, opacity, hide/unhide hotkey and effects"},
      {desktopsButton, IconDesktops(face), "A hotkey for each desktop"},
      {panicButton, IconPanic(face), "The panic hotkey"},
      {appearanceButton, IconAppearance(face), "The pager's colours"},
  };
  for (int i = 0; i < 4; ++i) {
    pages[i].button.Move(T(12), T(32 + 48 * static_cast<float>(i)), T(100), T(40));
    pages[i].button.SetIcon(pages[i].icon);
    pages[i].button.SetToolTipText(pages[i].tip);
  }
  pageMark.Move(T(6), T(32), T(3), T(40));
  pageMark.SetBackColor(kAccent);

  for (forms::Frame* page : {&generalPage, &desktopsPage, &panicPage, &appearancePage}) {
    page->Move(T(kPageLeft), T(kPageTop), T(kPageWidth), T(kPageHeight));
    page->SetBackColor(kFace);
  }
  generalPage.SetBorderStyle(false);

  // General: the two sub-page buttons, a bar under the chosen one, the two sub-pages.
  applicationButton.Move(T(0), T(0), T(100), T(24));
  othersButton.Move(T(104), T(0), T(100), T(24));
  subPageMark.Move(T(0), T(26), T(100), T(3));
  subPageMark.SetBackColor(kAccent);
  for (forms::Frame* sub : {&applicationPage, &othersPage}) {
    sub->Move(T(0), T(34), T(kPageWidth), T(kPageHeight - 34));
    sub->SetBackColor(kFace);
  }
  othersPage.SetBorderStyle(false);

  // Application.
  AddCaption(applicationPage, "lblDimension", "Dimension:", 12, 28, 94);
  columnsField.Move(T(110), T(25), T(28), T(21));
  AddCaption(applicationPage, "lblBy", "x", 143, 28, 10);
  rowsField.Move(T(156), T(25), T(28), T(21));
  AddCaption(applicationPage, "lblColumnsRows", "(Columns x Rows)", 192, 28, 130);
  AddCaption(applicationPage, "lblWindowSize", "Window Size:", 12, 60, 94);
  widthField.Move(T(110), T(57), T(40), T(21));
  AddCaption(applicationPage, "lblScreenWidth", "Screen Width (%)", 158, 60, 150);
  heightField.Move(T(110), T(83), T(40), T(21));
  AddCaption(applicationPage, "lblScreenHeight", "Screen Height (%)", 158, 86, 150);
  AddCaption(applicationPage, "lblTransparency", "Transparency:", 12, 121, 94);
  opacityList.Move(T(110), T(118), T(100), T(21));
  AddCaption(applicationPage, "lblHideUnhide", "Hide/Unhide:", 12, 155, 94);
  hideModifierList.Move(T(110), T(152), T(64), T(21));
  AddCaption(applicationPage, "lblHidePlus", "+", 179, 155, 10);
  hideKeyList.Move(T(192), T(152), T(84), T(21));
  setHideHotkeyButton.Move(T(110), T(182), T(90), T(24));
  columnsField.SetMaxLength(1);
  rowsField.SetMaxLength(1);
  widthField.SetMaxLength(kSizeDigits);
  heightField.SetMaxLength(kSizeDigits);
  columnsField.SetToolTipText("Columns of desktops, 1 to 9");
  rowsField.SetToolTipText("Rows of desktops, 1 to 9");
  widthField.SetToolTipText("The pager's width in percent of the screen's");
  heightField.SetToolTipText("The pager's height in percent of the screen's");

  // Others.
  ignoredGroup.Move(T(0), T(0), T(kPageWidth), T(86));
  effectsGroup.Move(T(0), T(94), T(kPageWidth), T(124));
  for (forms::Frame* group : {&ignoredGroup, &effectsGroup}) group->SetBackColor(kFace);
  AddCaption(ignoredGroup, "lblIgnored", "Click on the button below to clear all ignored list.", 12,
             24, 306);
  clearIgnoreListButton.Move(T(12), T(48), T(90), T(24));
  int y = 22;
  for (forms::CheckBox* box : {&autoStartBox, &autoHideBox, &animateBox, &previewBox}) {
    box->Move(T(12), T(static_cast<float>(y)), T(300), T(20));
    box->SetBackColor(kFace);
    y += 24;
  }

  // Desktops.
  AddCaption(desktopsPage, "lblDesktop", "Desktop:", 12, 31, 84);
  hotkeyDesktopList.Move(T(100), T(28), T(110), T(21));
  AddCaption(desktopsPage, "lblHotkeys", "Hotkeys:", 12, 65, 84);
  desktopModifierList.Move(T(100), T(62), T(64), T(21));
  AddCaption(desktopsPage, "lblKeyPlus", "+", 169, 65, 10);
  desktopKeyList.Move(T(182), T(62), T(84), T(21));
  desktopHotkeyBox.Move(T(100), T(94), T(160), T(20));
  desktopHotkeyBox.SetBackColor(kFace);
  setDesktopHotkeyButton.Move(T(100), T(122), T(90), T(24));

  // Panic.
  panicBox.Move(T(12), T(26), T(250), T(20));
  panicBox.SetBackColor(kFace);
  AddCaption(panicPage, "lblAlertHotkeys", "Hotkeys:", 12, 63, 84);
  panicModifierList.Move(T(100), T(60), T(64), T(21));
  AddCaption(panicPage, "lblAlertPlus", "+", 169, 63, 10);
  panicKeyList.Move(T(182), T(60), T(84), T(21));
  setPanicHotkeyButton.Move(T(100), T(90), T(90), T(24));
  AddCaption(panicPage, "lblAlertDesktop", "Desktop to open when in panic:", 12, 137, 176);
  panicDesktopList.Move(T(192), T(134), T(110), T(21));

  // Appearance: four swatches, each with its button.
  styleGroup.Move(T(10), T(24), T(kPageWidth - 20), T(146));
  styleGroup.SetBackColor(kFace);
  const char* swatches[] = {
      "Normal Backcolor:", "Hover Backcolor:", "Selected Backcolor:", "Selected Border:"};
  // The templates stay hidden; the swatches are in pixels inside the frame's twips.
  colourSwatches(0).SetVisible(false);
  colourSwatches(0).SetBorderStyle(true);
  colourButtons(0).SetVisible(false);
  colourButtons(0).SetToolTipText("Choose a colour");
  for (int i = 1; i <= 4; ++i) {
    const float top = 24 + 28 * static_cast<float>(i - 1);
    AddCaption(styleGroup, "lblColor" + std::to_string(i), swatches[i - 1], 12,
               static_cast<int>(top) + 3, 130);
    forms::PictureBox& swatch = colourSwatches.Load(i);
    swatch.Move(T(148), T(top), T(48), T(21));
    swatch.SetVisible(true);
    forms::Button& pick = colourButtons.Load(i);
    pick.Move(T(204), T(top - 1), T(76), T(23));
    pick.SetVisible(true);
  }

  // OK and Cancel below the pages.
  okButton.Move(T(282), T(294), T(80), T(26));
  okButton.SetIcon(IconConfirm(face));
  okButton.SetToolTipText("Save the settings and apply them");
  cancelButton.Move(T(370), T(294), T(80), T(26));
}

void OptionsDialog::WireEvents() {
  LoadEvent = [this] { OnLoad(); };
  // Closed by the system (Alt+F4, the system menu's Close, WM_CLOSE): the same as Cancel, and
  // the dialog stays loaded. A session that ends is not refused.
  QueryUnload = [this](forms::UnloadMode mode, bool& cancel) {
    if (mode != forms::UnloadMode::kFormControlMenu) return;
    cancel = true;
    Cancel();
  };
  Activate = [this] { OnActivate(); };
  // The borderless dialog moves when dragged by its background (and by its title strip).
  MouseDown = [this](int button, int, float, float) {
    if (button == forms::kLeftButton) StartDrag();
  };

  generalButton.Click = [this] {
    ShowPage(generalPage);
    if (&CurrentSubPage() == &applicationPage) widthField.SetFocus();
  };
  applicationButton.Click = [this] { ShowPage(applicationPage); };
  othersButton.Click = [this] { ShowPage(othersPage); };
  desktopsButton.Click = [this] { ShowPage(desktopsPage); };
  panicButton.Click = [this] { ShowPage(panicPage); };
  appearanceButton.Click = [this] { ShowPage(appearancePage); };

  for (forms::TextBox* field : {&columnsField, &rowsField, &widthField, &heightField}) {
    field->KeyPress = [this, field](int& key) { FilterSizeKey(*field, key); };
    field->Change = [this, field] { CleanSizeField(*field); };
    field->GotFocus = [field] { field->SelectAll(); };
  }

  // A change made by the program runs the same handling as the user's click.
  opacityList.Click = [this] { SetPagerOpacity(opacityList.ListIndex()); };
  setHideHotkeyButton.Click = [this] { RegisterHideHotkey(true); };
  clearIgnoreListButton.Click = [this] { ClearIgnoreList(); };
  autoStartBox.Click = [this] {
    if (autoStartBox.Checked()) {
      AppAutoStart();
    } else {
      AppAutoStop();
    }
  };
  hotkeyDesktopList.Click = [this] { ShowDesktopHotkey(); };
  desktopHotkeyBox.Click = [this] {
    EnableDesktopHotkeyLists();
    SetDesktopHotkey(false);
  };
  setDesktopHotkeyButton.Click = [this] { SetDesktopHotkey(true); };
  setPanicHotkeyButton.Click = [this] { RegisterPanicHotkey(true); };
  colourButtons.Click = [this](int index) { PickColour(index); };
  okButton.Click = [this] { Confirm(); };
  cancelButton.Click = [this] { Cancel(); };
}

void OptionsDialog::StartDrag() {
  program_.ws.ReleaseCapture();
  program_.ws.SendMessageA(hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

// ---- Loading, showing, pages --------------------------------------------------------------------

void OptionsDialog::OnLoad() {
  // Top-most already when it first shows (and again at every activation).
  program_.ws.SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  FillHotkeyLists();
  LoadOptions();
  ShowPage(generalPage);
  ShowPage(applicationPage);
}

void OptionsDialog::OnActivate() {
  program_.ws.SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  program_.Main().DialogOpen = true;
  ShowPage(generalPage);
  ShowPage(applicationPage);
  // The desktop list was filled afresh when the grid was built: without a chosen desktop there
  // is no hotkey to enable or set.
  if (hotkeyDesktopList.ListIndex() < 0) {
    desktopHotkeyBox.SetEnabled(false);
    desktopModifierList.SetEnabled(false);
    desktopKeyList.SetEnabled(false);
    setDesktopHotkeyButton.SetEnabled(false);
  }
  UpdateCloseButton();
  DimensionsChanged = false;
}

void OptionsDialog::ShowPage(forms::Frame& page) {
  struct Choice {
    forms::Frame& frame;
    forms::Button& button;
  };
  const Choice pages[] = {{generalPage, generalButton},
                          {desktopsPage, desktopsButton},
                          {panicPage, panicButton},
                          {appearancePage, appearanceButton}};
  const Choice subPages[] = {{applicationPage, applicationButton}, {othersPage, othersButton}};
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
  choose(pages, pageMark, true);
  choose(subPages, subPageMark, false);
}

forms::Frame& OptionsDialog::CurrentPage() {
  for (forms::Frame* page : {&generalPage, &desktopsPage, &panicPage, &appearancePage}) {
    if (page->Visible()) return *page;
  }
  return generalPage;
}

forms::Frame& OptionsDialog::CurrentSubPage() {
  return othersPage.Visible() && !applicationPage.Visible() ? othersPage : applicationPage;
}

// ---- The size fields ----------------------------------------------------------------------------

void OptionsDialog::FilterSizeKey(forms::TextBox&, int& keyAscii) {
  // Digits and Backspace; the field's length limit refuses a digit too many.
  if (keyAscii != kBackspace && !IsDigit(keyAscii)) keyAscii = 0;
}

void OptionsDialog::CleanSizeField(forms::TextBox& field) {
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

void OptionsDialog::UpdateCloseButton() {
  bool ready = true;
  for (forms::TextBox* field : {&columnsField, &rowsField, &widthField, &heightField}) {
    ready = ready && !field->Text().empty();
  }
  // A grid needs at least one column and one row.
  for (forms::TextBox* field : {&columnsField, &rowsField}) {
    ready = ready && ToInt16(field->Text()).value_or(0) >= 1;
  }
  if (okButton.Enabled() != ready) okButton.SetEnabled(ready);
}

// ---- The settings file --------------------------------------------------------------------------

void OptionsDialog::FillHotkeyLists() {
  for (forms::ComboBox* list : {&desktopModifierList, &desktopKeyList, &panicModifierList,
                                &panicKeyList, &hideModifierList, &hideKeyList}) {
    list->Clear();
  }
  for (int i = 0; i < Hotkeys::kKeyCount; ++i) {
    if (i < Hotkeys::kModifierCount && !Hotkeys::ModifierNames[i].empty()) {
      desktopModifierList.AddItem(Hotkeys::ModifierNames[i]);
      panicModifierList.AddItem(Hotkeys::ModifierNames[i]);
      hideModifierList.AddItem(Hotkeys::ModifierNames[i]);
    }
    desktopKeyList.AddItem(Hotkeys::KeyNames[i]);
    panicKeyList.AddItem(Hotkeys::KeyNames[i]);
    hideKeyList.AddItem(Hotkeys::KeyNames[i]);
  }
}

void OptionsDialog::LoadOptions() {
  WindowSystem& ws = program_.ws;
  const std::string file = program_.SettingsFile();
  auto read = [&](const char* section, const char* key) {
    return ReadSetting(ws, file, section, key);
  };
  loading_ = true;
  columnsField.SetText(read("SETUP", "columns"));
  rowsField.SetText(read("SETUP", "rows"));
  if (auto t = ToInt16(read("SETUP", "transparent")); t && *t >= 0 && *t <= 3) {
    opacityList.SetListIndex(*t);
    SetPagerOpacity(*t);
  }
  widthField.SetText(read("SETUP", "width"));
  heightField.SetText(read("SETUP", "height"));
  loading_ = false;
  ApplyCheck(animateBox, read("SETUP", "animate"));
  if (auto v = ToInt16(read("SETUP", "animate"))) program_.Main().AnimateMode = (*v == 1);
  ApplyCheck(previewBox, read("SETUP", "preview"));
  ApplyCheck(autoHideBox, read("SETUP", "auto_hide"));
  ApplyCheck(autoStartBox, read("SETUP", "auto_start"));
  auto hide = Split(read("SETUP", "hide"), ',');
  ApplyIndex(hideModifierList, hide[0]);
  if (hide.size() > 1) ApplyIndex(hideKeyList, hide[1]);
  const char* colours[] = {"color_normal", "color_hover", "color_selected", "color_box"};
  for (int i = 1; i <= 4; ++i) {
    if (auto c = ToInt32(read("SETUP", colours[i - 1]))) {
      colourSwatches(i).SetBackColor(static_cast<uint32_t>(*c));
    }
  }
  RegisterHideHotkey(false);
  ApplyCheck(panicBox, read("ALERT", "enabled"));
  if (auto d = ToInt16(read("ALERT", "desktop"))) {
    // 0 (no desktop chosen) leaves the list without a selection.
    if (*d == 0) {
      panicDesktopList.SetListIndex(-1);
    } else {
      panicDesktopList.SetListIndex(*d - 1);
    }
  }
  ApplyIndex(panicModifierList, read("ALERT", "key1"));
  ApplyIndex(panicKeyList, read("ALERT", "key2"));
  RegisterPanicHotkey(false);
  ReapplyWindowOpacity();
}

void OptionsDialog::SaveOptions() {
  WindowSystem& ws = program_.ws;
  const std::string file = program_.SettingsFile();
  PagerWindow& pager = program_.Main();
  auto write = [&](const char* section, const char* key, const std::string& value) {
    ws.WritePrivateProfileStringA(section, key, value, file);
  };
  write("SETUP", "columns", columnsField.Text());
  write("SETUP", "rows", rowsField.Text());
  write("SETUP", "transparent", std::to_string(opacityList.ListIndex()));
  write(
      "SETUP", "hide",
      std::to_string(hideModifierList.ListIndex()) + "," + std::to_string(hideKeyList.ListIndex()));
  write("SETUP", "width", widthField.Text());
  write("SETUP", "height", heightField.Text());
  const char* colours[] = {"color_normal", "color_hover", "color_selected", "color_box"};
  for (int i = 1; i <= 4; ++i) {
    write("SETUP", colours[i - 1], std::to_string(colourSwatches(i).BackColor()));
  }
  pager.ColorNormal = colourSwatches(1).BackColor();
  pager.ColorHover = colourSwatches(2).BackColor();
  pager.ColorSelected = colourSwatches(3).BackColor();
  write("SETUP", "animate", std::to_string(animateBox.Value()));
  pager.AnimateMode = animateBox.Checked();
  write("SETUP", "preview", std::to_string(previewBox.Value()));
  write("SETUP", "auto_hide", std::to_string(autoHideBox.Value()));
  write("SETUP", "auto_start", std::to_string(autoStartBox.Value()));
  write("ALERT", "desktop", std::to_string(panicDesktopList.ListIndex() + 1));
  write("ALERT", "key1", std::to_string(panicModifierList.ListIndex()));
  write("ALERT", "key2", std::to_string(panicKeyList.ListIndex()));
  write("ALERT", "enabled", std::to_string(panicBox.Value()));
  ReapplyWindowOpacity();
}

// ---- Hotkeys ------------------------------------------------------------------------------------

void OptionsDialog::RegisterHideHotkey(bool showMsg) {
  if (hideModifierList.Text().empty() || hideKeyList.Text().empty()) return;
  const int m = hideModifierList.ListIndex(), k = hideKeyList.ListIndex();
  auto restore = [this] {
    auto stored = Split(ReadSetting(program_.ws, program_.SettingsFile(), "SETUP", "hide"), ',');
    RestoreLists(hideModifierList, hideKeyList, stored[0], stored.size() > 1 ? stored[1] : "");
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

void OptionsDialog::RegisterPanicHotkey(bool showMsg) {
  if (panicModifierList.Text().empty() || panicKeyList.Text().empty()) return;
  const Hwnd pager = program_.Main().hWnd();
  if (!panicBox.Checked()) {
    program_.ws.UnregisterHotKey(pager, Hotkeys::kPanicHotkeyId);
    return;
  }
  const int m = panicModifierList.ListIndex(), k = panicKeyList.ListIndex();
  auto restore = [this] {
    WindowSystem& ws = program_.ws;
    const std::string file = program_.SettingsFile();
    RestoreLists(panicModifierList, panicKeyList, ReadSetting(ws, file, "ALERT", "key1"),
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

void OptionsDialog::ShowDesktopHotkey() {
  const int desktop = hotkeyDesktopList.ListIndex() + 1;
  if (desktop < 1) return;
  const std::string stored =
      ReadSetting(program_.ws, program_.SettingsFile(), "HOTKEYS", std::to_string(desktop));
  auto fields = Split(stored, ',');
  if (stored.empty()) {
    // A desktop without a stored hotkey shows none, rather than the previous desktop's.
    desktopModifierList.SetListIndex(-1);
    desktopKeyList.SetListIndex(-1);
    desktopHotkeyBox.SetValue(0);
  }
  ApplyIndex(desktopModifierList, fields[0]);
  if (fields.size() > 1) ApplyIndex(desktopKeyList, fields[1]);
  if (fields.size() > 2) ApplyCheck(desktopHotkeyBox, fields[2]);
  EnableDesktopHotkeyLists();
  desktopHotkeyBox.SetEnabled(true);
}

int OptionsDialog::SetDesktopHotkey(bool showMsg) {
  const int desktop = hotkeyDesktopList.ListIndex() + 1;
  const int m = desktopModifierList.ListIndex(), k = desktopKeyList.ListIndex();
  if (desktop < 1) return 1;
  if (Hotkeys::IsHotkeyTaken(program_, desktop, m, k)) {
    ShowDesktopHotkey();
    return 0;
  }
  if (desktopModifierList.Text().empty() || desktopKeyList.Text().empty()) return 1;
  const Hwnd pager = program_.Main().hWnd();
  if (desktopHotkeyBox.Checked()) {
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
      std::to_string(m) + "," + std::to_string(k) + "," + std::to_string(desktopHotkeyBox.Value()),
      program_.SettingsFile());
  return 1;
}

void OptionsDialog::EnableDesktopHotkeyLists() {
  const bool on = desktopHotkeyBox.Checked();
  desktopModifierList.SetEnabled(on);
  desktopKeyList.SetEnabled(on);
  setDesktopHotkeyButton.SetEnabled(on);
}

// ---- Appearance ---------------------------------------------------------------------------------

void OptionsDialog::SetPagerOpacity(int transparentIndex) {
  static const int kAlpha[] = {255, 100, 150, 200};
  if (transparentIndex < 0 || transparentIndex > 3) return;
  transparency::SetWindowAlpha(program_.ws, program_.Main().hWnd(), kAlpha[transparentIndex]);
}

int OptionsDialog::PagerAlpha() const {
  switch (opacityList.ListIndex()) {
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

void OptionsDialog::ReapplyWindowOpacity() {
  PagerWindow& pager = program_.Main();
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

void OptionsDialog::PickColour(int colorIndex) {
  if (colorIndex < 1 || !colourSwatches.Exists(colorIndex)) return;
  // No colour is preselected; the custom colours are the user's from earlier choices.
  uint32_t colour = 0;
  if (program_.ws.ChooseColorA(hWnd(), &colour, &CustomColors)) {
    colourSwatches(colorIndex).SetBackColor(colour);
  }
}

void OptionsDialog::BlankCurrentMiniatures() {
  PagerWindow& pager = program_.Main();
  for (const ManagedWindow& w : pager.Table) {
    if (w.desktop == pager.CurrentDesktop) pager.BlankMiniature(w.handle);
  }
}

// ---- Start with Windows -------------------------------------------------------------------------

bool OptionsDialog::AppAutoStart() { return AutoStart::AppAutoStart(program_.ws); }

bool OptionsDialog::AppAutoStop() { return AutoStart::AppAutoStop(program_.ws); }

// ---- The ignore list ----------------------------------------------------------------------------

void OptionsDialog::ClearIgnoreList() {
  const int answer =
      program_.ws.MessageBoxA(hWnd(), "Are you sure you want to clear all blocked list ?",
                              "Blocked List", MB_YESNO | MB_ICONEXCLAMATION);
  if (answer != IDYES) return;
  std::error_code ec;
  std::filesystem::remove(program_.IgnoreFile(), ec);  // a missing file is no error
  program_.Main().SetIgnoreList();
}

// ---- The grid -----------------------------------------------------------------------------------

void OptionsDialog::ApplyGrid() {
  PagerWindow& pager = program_.Main();
  const auto columns = ToInt16(columnsField.Text());
  const auto rows = ToInt16(rowsField.Text());
  // The dialog cannot be confirmed with an empty or zero dimension; nothing to apply then.
  if (!columns || !rows || *columns < 1 || *rows < 1) return;
  const int n = std::min<int>(*columns, 9) * std::min<int>(*rows, 9);

  for (int i = pager.DesktopCount; i >= n + 1; --i) {
    if (pager.moveToEntries.Exists(i)) pager.moveToEntries.Unload(i);
  }
  bool relocated = false;
  for (ManagedWindow& w : pager.Table) {
    if (w.desktop > n) {
      w.desktop = n;
      relocated = true;
    }
  }
  bool panicDisabled = false;
  if (panicDesktopList.ListIndex() + 1 > n) {
    // Only a panic hotkey that was on is reported as switched off.
    panicDisabled = panicBox.Checked();
    panicBox.SetValue(0);
    RegisterPanicHotkey(false);
  }
  pager.SetupDesktops(columnsField.Text(), rowsField.Text());
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

void OptionsDialog::Confirm() {
  PagerWindow& pager = program_.Main();
  WindowSystem& ws = program_.ws;
  pager.DialogOpen = false;
  if (panicBox.Checked() && panicDesktopList.Text().empty()) {
    ShowMessage(program_, "Required Value", "Please enter panic desktop value.", "critical", "Ok;");
    ShowPage(panicPage);
    // The dialog stays up, so the pager must not be hidden meanwhile.
    pager.DialogOpen = true;
    return;
  }
  SaveOptions();
  Hide();
  if (DimensionsChanged) ApplyGrid();
  BlankCurrentMiniatures();
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
    SetPagerOpacity(*t);
  }
  // The pager comes out of OK shown and repainted (also when it was put away when the dialog
  // was opened from the tray icon).
  if (!pager.IsShown()) pager.Show();
  pager.Refresh();
  pager.PagerShown = true;
}

void OptionsDialog::Cancel() {
  program_.Main().DialogOpen = false;
  Hide();
}

}  // namespace vd
