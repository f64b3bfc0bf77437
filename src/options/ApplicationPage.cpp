#include "options/ApplicationPage.h"

#include "core/Program.h"
#include "core/Text.h"
#include "desktops/Transparency.h"
#include "options/OptionsHost.h"
#include "settings/Hotkeys.h"

namespace vd {

using options::T;

namespace {

constexpr int kBackspace = 8;
constexpr int kSizeDigits = 3;  // width and height in percent: at most 100 and more is 100

bool IsDigit(int key) { return key >= '0' && key <= '9'; }

std::string NumberText(const std::optional<int>& v) { return v ? std::to_string(*v) : ""; }

}  // namespace

ApplicationPage::ApplicationPage(forms::Container& parent, Program& program, OptionsHost& host,
                                 Settings& inEffect)
    : frame(parent, "applicationPage", "Application"),
      columnsField(frame, "columnsField"),
      rowsField(frame, "rowsField"),
      widthField(frame, "widthField"),
      heightField(frame, "heightField"),
      opacityList(frame, "opacityList"),
      hideModifierList(frame, "hideModifierList"),
      hideKeyList(frame, "hideKeyList"),
      setHideHotkeyButton(frame, "setHideHotkeyButton", "Set Hotkey"),
      program_(program),
      host_(host),
      inEffect_(inEffect) {
  for (const char* entry : {"Opaque", "High", "Medium", "Low"}) opacityList.AddItem(entry);
  options::FillHotkeyLists(hideModifierList, hideKeyList);
  LayOut();
  for (forms::TextBox* field : {&columnsField, &rowsField, &widthField, &heightField}) {
    field->KeyPress = [this](int& key) { FilterSizeKey(key); };
    field->Change = [this, field] { CleanSizeField(*field); };
    field->GotFocus = [field] { field->SelectAll(); };
  }
  // The opacity shows on the pager at once; Cancel takes it back.
  opacityList.Click = [this] {
    if (showing_ || opacityList.ListIndex() < 0) return;
    transparency::SetWindowAlpha(program_.ws, host_.PagerHandle(),
                                 Settings::AlphaOfOpacity(opacityList.ListIndex()));
  };
  setHideHotkeyButton.Click = [this] { SetHideHotkey(true); };
}

void ApplicationPage::LayOut() {
  captions_.Add(frame, "dimensionCaption", "Dimension:", 12, 28, 94);
  columnsField.Move(T(110), T(25), T(28), T(21));
  captions_.Add(frame, "byCaption", "x", 143, 28, 10);
  rowsField.Move(T(156), T(25), T(28), T(21));
  captions_.Add(frame, "columnsRowsCaption", "(Columns x Rows)", 192, 28, 130);
  captions_.Add(frame, "windowSizeCaption", "Window Size:", 12, 60, 94);
  widthField.Move(T(110), T(57), T(40), T(21));
  captions_.Add(frame, "screenWidthCaption", "Screen Width (%)", 158, 60, 150);
  heightField.Move(T(110), T(83), T(40), T(21));
  captions_.Add(frame, "screenHeightCaption", "Screen Height (%)", 158, 86, 150);
  captions_.Add(frame, "transparencyCaption", "Transparency:", 12, 121, 94);
  opacityList.Move(T(110), T(118), T(100), T(21));
  captions_.Add(frame, "hideUnhideCaption", "Hide/Unhide:", 12, 155, 94);
  // Wide enough for the longest chord ("WIN+CTRL+ALT+SHIFT") and key ("BACKSPACE").
  hideModifierList.Move(T(110), T(152), T(120), T(21));
  captions_.Add(frame, "hidePlusCaption", "+", 234, 155, 10);
  hideKeyList.Move(T(246), T(152), T(78), T(21));
  setHideHotkeyButton.Move(T(110), T(182), T(90), T(24));
  columnsField.SetMaxLength(1);
  rowsField.SetMaxLength(1);
  widthField.SetMaxLength(kSizeDigits);
  heightField.SetMaxLength(kSizeDigits);
  columnsField.SetToolTipText("Columns of desktops, 1 to 9");
  rowsField.SetToolTipText("Rows of desktops, 1 to 9");
  widthField.SetToolTipText("The pager's width in percent of the screen's");
  heightField.SetToolTipText("The pager's height in percent of the screen's");
}

void ApplicationPage::Show(const Settings& s) {
  showing_ = true;
  columnsField.SetText(NumberText(s.columns));
  rowsField.SetText(NumberText(s.rows));
  widthField.SetText(NumberText(s.widthPercent));
  heightField.SetText(NumberText(s.heightPercent));
  opacityList.SetListIndex(s.opacity.value_or(-1));
  options::ShowChoice(hideModifierList, hideKeyList, s.hideHotkey);
  showing_ = false;
  dimensionsChanged_ = false;
}

void ApplicationPage::Collect(Settings& s) const {
  s.columns = ToInt32(columnsField.Text());
  s.rows = ToInt32(rowsField.Text());
  s.widthPercent = ToInt32(widthField.Text());
  s.heightPercent = ToInt32(heightField.Text());
  if (opacityList.ListIndex() >= 0) s.opacity = opacityList.ListIndex();
  s.hideHotkey = options::ChosenKeys(hideModifierList, hideKeyList);
}

bool ApplicationPage::Ready() const {
  bool ready = true;
  for (const forms::TextBox* field : {&columnsField, &rowsField, &widthField, &heightField}) {
    ready = ready && !field->Text().empty();
  }
  // A grid needs at least one column and one row.
  for (const forms::TextBox* field : {&columnsField, &rowsField}) {
    ready = ready && ToInt16(field->Text()).value_or(0) >= 1;
  }
  return ready;
}

void ApplicationPage::FilterSizeKey(int& keyAscii) {
  // Digits and Backspace; the field's length limit refuses a digit too many.
  if (keyAscii != kBackspace && !IsDigit(keyAscii)) keyAscii = 0;
}

void ApplicationPage::CleanSizeField(forms::TextBox& field) {
  // Text that arrives other than by typing (pasted) keeps only its digits, as many as the field
  // takes.
  if (!showing_) {
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
    if (!field.Text().empty()) dimensionsChanged_ = true;
  }
  if (FieldsChanged) FieldsChanged();
}

void ApplicationPage::SetHideHotkey(bool report) {
  if (!options::BothChosen(hideModifierList, hideKeyList)) return;
  const HotkeyChoice keys = options::ChosenKeys(hideModifierList, hideKeyList);
  if (program_.hotkeys.Set(host_.PagerHandle(), Hotkeys::kHideHotkeyId, keys, report)) {
    inEffect_.hideHotkey = keys;
  } else {
    options::ShowChoice(hideModifierList, hideKeyList, inEffect_.hideHotkey);
  }
}

}  // namespace vd
