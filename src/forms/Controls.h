// The toolkit's controls. Each is a plain object holding its properties; setters tell the
// backend. A value or selection set from code (a check box's Value, a list's ListIndex or Text)
// runs the same Click handling as the user's action, because the program relies on that.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/Control.h"
#include "platform/Bitmap.h"

namespace forms {

enum class Alignment { kLeft, kRight, kCenter };

struct Font {
  std::string name = "Tahoma";
  float size = 8.25f;
  bool bold = false;
  bool operator==(const Font&) const = default;
};

class Label : public Control {
 public:
  Label(Container& parent, std::string name, std::string caption = {});
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string v);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment a);
  const Font& GetFont() const { return font_; }
  void SetFont(Font f);
  bool Transparent() const { return transparent_; }  // no background of its own
  void SetTransparent(bool v);

 private:
  std::string caption_;
  Alignment alignment_ = Alignment::kLeft;
  Font font_;
  bool transparent_ = false;
};

// A picture box: a container with a drawing surface (its client area in pixels, kept across
// repaints) and an optional picture drawn at its top-left corner.
class PictureBox : public Container {
 public:
  PictureBox(Container& parent, std::string name, ScaleMode mode = ScaleMode::kTwips);
  vd::Bitmap& Surface() { return surface_; }
  const vd::Bitmap& Surface() const { return surface_; }
  // The picture: stored, and copied onto the surface at (0, 0). With AutoSize the box takes
  // the picture's size.
  const vd::Bitmap& Picture() const { return picture_; }
  void SetPicture(vd::Bitmap picture);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; }
  bool BorderStyle() const { return border_; }  // a thin border when true
  void SetBorderStyle(bool v);
  // Counts the times the surface was presented (Refresh); tests use it to see repaints.
  int RefreshCount() const { return refreshCount_; }
  void NoteRefreshed() { ++refreshCount_; }
  // Keeps the surface as large as the control (called by the toolkit after a resize).
  void SyncSurfaceSize();

 private:
  vd::Bitmap surface_;
  vd::Bitmap picture_;
  bool autoSize_ = false;
  bool border_ = false;
  int refreshCount_ = 0;
};

// A captioned frame holding controls (a page of a dialog).
class Frame : public Container {
 public:
  Frame(Container& parent, std::string name, std::string caption = {},
        ScaleMode mode = ScaleMode::kTwips);
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string v);
  bool BorderStyle() const { return border_; }
  void SetBorderStyle(bool v);

 private:
  std::string caption_;
  bool border_ = true;
};

// A rectangle outline drawn by its container, under the container's child windows.
class Shape : public Control {
 public:
  Shape(Container& parent, std::string name);
  uint32_t BorderColor() const { return borderColor_; }
  void SetBorderColor(uint32_t v);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);

 private:
  uint32_t borderColor_ = 0;
  int borderWidth_ = 1;
};

class Button : public Control {
 public:
  Button(Container& parent, std::string name, std::string caption = {});
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string v);
  // An icon drawn on the button (empty: caption only).
  const vd::Bitmap& Icon() const { return icon_; }
  void SetIcon(vd::Bitmap icon);

 private:
  std::string caption_;
  vd::Bitmap icon_;
};

class CheckBox : public Control {
 public:
  CheckBox(Container& parent, std::string name, std::string caption = {});
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string v);
  int Value() const { return value_; }  // 0 unchecked, 1 checked
  // Changing the value runs Click, from code as from the user.
  void SetValue(int v);
  bool Checked() const { return value_ == 1; }

 private:
  std::string caption_;
  int value_ = 0;
};

// A drop-down list (the user can only pick an entry).
class ComboBox : public Control {
 public:
  ComboBox(Container& parent, std::string name);
  void AddItem(std::string item);
  void Clear();  // empties the list; ListIndex becomes -1 (no Click)
  int ListCount() const { return static_cast<int>(items_.size()); }
  const std::string& List(int index) const;  // empty text outside the list
  int ListIndex() const { return listIndex_; }
  // -1 clears the selection; an index outside the list is refused (false, nothing changes).
  // A change runs Click, from code as from the user.
  bool SetListIndex(int index);
  // The selected entry's text, empty when none.
  std::string Text() const;
  // Selects the entry with exactly this text; false (nothing changes) when there is none.
  bool SetText(const std::string& text);

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

// A one-line text field. KeyPress sees each typed character first (its Unicode code point) and
// may discard it by setting it to 0; Change runs after every change of the text, from code as
// from the user. The selection and MaxLength count bytes of the UTF-8 text.
class TextBox : public Control {
 public:
  TextBox(Container& parent, std::string name);
  const std::string& Text() const { return text_; }
  void SetText(std::string v);
  int MaxLength() const { return maxLength_; }  // 0: no limit
  void SetMaxLength(int v) { maxLength_ = v; }
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  void SetSelection(int start, int length);
  void SelectAll() { SetSelection(0, static_cast<int>(text_.size())); }
  // Acts as the user typing one character (8 = Backspace): KeyPress, then the edit at the
  // selection, then Change. Used by the backends and tests.
  void TypeChar(char c);

  std::function<void(int& key)> KeyPress;
  std::function<void()> Change;
  std::function<void()> GotFocus;
  void RaiseGotFocus();

 private:
  std::string text_;
  int maxLength_ = 0;
  int selStart_ = 0;
  int selLength_ = 0;
};

}  // namespace forms
