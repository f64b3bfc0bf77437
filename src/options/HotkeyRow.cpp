#include "options/HotkeyRow.h"

#include <cctype>

#include "core/Program.h"
#include "options/OptionsHost.h"
#include "settings/Hotkeys.h"

namespace vd {

using options::T;

namespace {

std::string Capitalized(std::string word) {
  if (!word.empty()) word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
  return word;
}

}  // namespace

HotkeyRow::HotkeyRow(forms::Container& parent, Program& program, OptionsHost& host,
                     const std::string& name, const std::string& caption,
                     const std::string& boxCaption, const std::string& buttonCaption, int top)
    : modifierList(parent, name + "ModifierList"),
      keyList(parent, name + "KeyList"),
      enabledBox(parent, name + "HotkeyBox", boxCaption),
      setButton(parent, "set" + Capitalized(name) + "HotkeyButton", buttonCaption),
      program_(program),
      host_(host) {
  options::FillHotkeyLists(modifierList, keyList);
  const auto y = static_cast<float>(top);
  captions_.Add(parent, name + "Caption", caption, 12, top, 200);
  // The lists are wide enough for the longest chord and the longest key name.
  modifierList.Move(T(24), T(y + 18), T(140), T(21));
  captions_.Add(parent, name + "PlusCaption", "+", 169, top + 21, 10);
  keyList.Move(T(182), T(y + 18), T(100), T(21));
  enabledBox.Move(T(24), T(y + 48), T(150), T(20));
  enabledBox.SetBackColor(options::kFace);
  setButton.Move(T(192), T(y + 46), T(90), T(24));
  enabledBox.Click = [this] {
    EnableLists();
    if (!showing_) Set(false);
  };
  setButton.Click = [this] { Set(true); };
  ShowNone();
}

void HotkeyRow::Show(int id, HotkeyEntry& inEffect, Store store) {
  id_ = id;
  inEffect_ = &inEffect;
  store_ = std::move(store);
  ShowEntry();
  enabledBox.SetEnabled(true);
}

void HotkeyRow::ShowNone() {
  id_ = 0;
  inEffect_ = nullptr;
  store_ = nullptr;
  enabledBox.SetEnabled(false);
  modifierList.SetEnabled(false);
  keyList.SetEnabled(false);
  setButton.SetEnabled(false);
}

void HotkeyRow::ShowEntry() {
  if (inEffect_ == nullptr) return;
  // A hotkey without an entry shows none, rather than the one shown before. Showing is not
  // setting: nothing is registered or stored again.
  const HotkeyEntry& hotkey = *inEffect_;
  showing_ = true;
  options::ShowChoice(modifierList, keyList, hotkey.stored ? hotkey.keys : HotkeyChoice{});
  enabledBox.SetValue(hotkey.stored && hotkey.enabled ? 1 : 0);
  showing_ = false;
  EnableLists();
}

bool HotkeyRow::Set(bool report) {
  if (inEffect_ == nullptr) return true;
  const HotkeyChoice keys = options::ChosenKeys(modifierList, keyList);
  if (program_.hotkeys.IsTaken(id_, keys)) {
    ShowEntry();
    return false;
  }
  if (!options::BothChosen(modifierList, keyList)) return true;
  const Hwnd pager = host_.PagerHandle();
  if (enabledBox.Checked()) {
    if (!program_.hotkeys.Register(pager, id_, keys)) {
      if (report) program_.hotkeys.ReportTaken();
      ShowEntry();
      return false;
    }
    if (report) program_.hotkeys.ReportAssigned();
  } else {
    program_.hotkeys.Release(pager, id_);
  }
  *inEffect_ = HotkeyEntry{keys, enabledBox.Checked(), true};
  if (!store_(*inEffect_)) program_.ReportFailedWrite(Program::StoredFile::kSettings);
  return true;
}

void HotkeyRow::EnableLists() {
  const bool on = enabledBox.Checked();
  modifierList.SetEnabled(on);
  keyList.SetEnabled(on);
  setButton.SetEnabled(on);
}

}  // namespace vd
