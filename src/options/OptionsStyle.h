// What the options dialog's pages share: their design units, colours and captions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms/Controls.h"
#include "settings/Settings.h"

namespace vd::options {

// The dialog is designed in pixels of a screen at 100 % and placed in twips, so that it is as
// large to the eye, and its text as well fitted, at any scale.
constexpr float kDesign = forms::kTwipsPerPixel;
inline float T(float pixels) { return pixels * kDesign; }

constexpr float kPageWidth = 330, kPageHeight = 252;  // pixels
constexpr uint32_t kFace = 0xF0F0F0;                  // the dialog's background
constexpr uint32_t kAccent = 0xDC7828;  // the chosen page's bar: the pager's selected blue

// The captions that stand beside a page's controls, kept for the life of the page.
class Captions {
 public:
  forms::Label& Add(forms::Container& parent, const std::string& name, const std::string& text,
                    int left, int top, int width);

 private:
  std::vector<std::unique_ptr<forms::Label>> labels_;
};

// A pair of lists that choose a hotkey: the modifier names and the key names.
void FillHotkeyLists(forms::ComboBox& modifier, forms::ComboBox& key);
void ShowChoice(forms::ComboBox& modifier, forms::ComboBox& key, const HotkeyChoice& choice);
HotkeyChoice ChosenKeys(const forms::ComboBox& modifier, const forms::ComboBox& key);
// Both lists show an entry.
bool BothChosen(const forms::ComboBox& modifier, const forms::ComboBox& key);

}  // namespace vd::options
