// The "Application" sub-page of "General": the grid, the pager's size and opacity, and the
// hide/unhide hotkey.
#pragma once

#include "options/OptionsStyle.h"

namespace vd {

class Program;
class OptionsHost;

class ApplicationPage {
 public:
  ApplicationPage(forms::Container& parent, Program& program, OptionsHost& host,
                  Settings& inEffect);

  forms::Frame frame;
  forms::TextBox columnsField, rowsField, widthField, heightField;
  forms::ComboBox opacityList;  // "Opaque", "High", "Medium", "Low"
  forms::ComboBox hideModifierList, hideKeyList;
  forms::Button setHideHotkeyButton;

  void Show(const Settings& settings);
  void Collect(Settings& settings) const;
  // Every size field holds a value and the grid is at least 1 x 1: OK is possible.
  bool Ready() const;
  // A size field was edited since the page was last shown: OK then rebuilds the grid.
  bool DimensionsChanged() const { return dimensionsChanged_; }
  // Called whenever a size field changes, so the dialog can enable OK.
  std::function<void()> FieldsChanged;

  // "Set Hotkey": registers the combination shown; a refused one shows the one in effect.
  void SetHideHotkey(bool report);

 private:
  void LayOut();
  void FilterSizeKey(int& keyAscii);
  void CleanSizeField(forms::TextBox& field);

  Program& program_;
  OptionsHost& host_;
  Settings& inEffect_;
  options::Captions captions_;
  bool showing_ = false;
  bool dimensionsChanged_ = false;
};

}  // namespace vd
