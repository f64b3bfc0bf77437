#include <algorithm>

#include "forms/Controls.h"

namespace forms {

namespace {
constexpr int kBackspace = 8;
}

TextBox::TextBox(Container& parent, std::string name)
    : Control(&parent, ControlKind::kTextBox, std::move(name)) {
  Realize();
}

// New text puts the caret at the start, as the system's edit field does.
void TextBox::SetText(std::string v) {
  if (v == text_) return;
  text_ = std::move(v);
  selStart_ = 0;
  selLength_ = 0;
  Changed(Property::kText);
  if (auto handler = Change) handler();
}

void TextBox::SetSelection(int start, int length) {
  const int size = static_cast<int>(text_.size());
  selStart_ = std::clamp(start, 0, size);
  selLength_ = std::clamp(length, 0, size - selStart_);
  Changed(Property::kText);
}

void TextBox::TypeChar(char c) {
  int key = static_cast<unsigned char>(c);
  if (auto handler = KeyPress) handler(key);
  if (key == 0) return;  // discarded by the handler

  std::string text = text_;
  int caret = selStart_;
  if (key == kBackspace) {
    if (selLength_ > 0) {
      text.erase(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_));
    } else if (selStart_ > 0) {
      text.erase(static_cast<size_t>(selStart_ - 1), 1);
      --caret;
    } else {
      return;  // nothing before the caret
    }
  } else if (key < 32) {
    return;  // other control characters (Enter, Escape, ...) do not edit a one-line field
  } else {
    if (maxLength_ > 0 && static_cast<int>(text.size()) - selLength_ + 1 > maxLength_) return;
    text.replace(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_), 1,
                 static_cast<char>(key));
    ++caret;
  }
  text_ = std::move(text);
  selStart_ = caret;
  selLength_ = 0;
  Changed(Property::kText);
  if (auto handler = Change) handler();
}

void TextBox::RaiseGotFocus() {
  if (auto handler = GotFocus) handler();
}

}  // namespace forms
