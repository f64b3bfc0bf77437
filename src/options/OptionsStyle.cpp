#include "options/OptionsStyle.h"

#include "settings/Hotkeys.h"

namespace vd::options {

forms::Label& Captions::Add(forms::Container& parent, const std::string& name,
                            const std::string& text, int left, int top, int width) {
  auto label = std::make_unique<forms::Label>(parent, name, text);
  label->Move(T(static_cast<float>(left)), T(static_cast<float>(top)), T(static_cast<float>(width)),
              T(16));
  label->SetBackColor(kFace);
  label->SetForeColor(0x000000);
  labels_.push_back(std::move(label));
  return *labels_.back();
}

void FillHotkeyLists(forms::ComboBox& modifier, forms::ComboBox& key) {
  modifier.Clear();
  key.Clear();
  for (int i = 0; i < Hotkeys::kKeyCount; ++i) {
    if (i < Hotkeys::kModifierCount && !Hotkeys::ModifierNames[i].empty()) {
      modifier.AddItem(Hotkeys::ModifierNames[i]);
    }
    key.AddItem(Hotkeys::KeyNames[i]);
  }
}

void ShowChoice(forms::ComboBox& modifier, forms::ComboBox& key, const HotkeyChoice& choice) {
  modifier.SetListIndex(choice.modifier);
  key.SetListIndex(choice.key);
}

HotkeyChoice ChosenKeys(const forms::ComboBox& modifier, const forms::ComboBox& key) {
  return {modifier.ListIndex(), key.ListIndex()};
}

bool BothChosen(const forms::ComboBox& modifier, const forms::ComboBox& key) {
  return !modifier.Text().empty() && !key.Text().empty();
}

}  // namespace vd::options
