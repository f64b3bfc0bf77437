#include "options/DesktopsPage.h"

#include "core/Program.h"
#include "options/OptionsHost.h"
#include "settings/Hotkeys.h"

namespace vd {

using options::T;

DesktopsPage::DesktopsPage(forms::Container& parent, Program& program, OptionsHost& host,
                           Settings& inEffect)
    : frame(parent, "desktopsPage", "Desktops"),
      hotkeyDesktopList(frame, "hotkeyDesktopList"),
      desktopModifierList(frame, "desktopModifierList"),
      desktopKeyList(frame, "desktopKeyList"),
      desktopHotkeyBox(frame, "desktopHotkeyBox", "Hotkey Enabled"),
      setDesktopHotkeyButton(frame, "setDesktopHotkeyButton", "Set Hotkey"),
      program_(program),
      host_(host),
      inEffect_(inEffect) {
  options::FillHotkeyLists(desktopModifierList, desktopKeyList);
  LayOut();
  hotkeyDesktopList.Click = [this] { ShowDesktopHotkey(); };
  desktopHotkeyBox.Click = [this] {
    EnableHotkeyLists();
    SetDesktopHotkey(false);
  };
  setDesktopHotkeyButton.Click = [this] { SetDesktopHotkey(true); };
  Show(0);
}

void DesktopsPage::LayOut() {
  captions_.Add(frame, "desktopCaption", "Desktop:", 12, 31, 84);
  hotkeyDesktopList.Move(T(100), T(28), T(110), T(21));
  captions_.Add(frame, "hotkeysCaption", "Hotkeys:", 12, 65, 84);
  desktopModifierList.Move(T(100), T(62), T(64), T(21));
  captions_.Add(frame, "keyPlusCaption", "+", 169, 65, 10);
  desktopKeyList.Move(T(182), T(62), T(84), T(21));
  desktopHotkeyBox.Move(T(100), T(94), T(160), T(20));
  desktopHotkeyBox.SetBackColor(options::kFace);
  setDesktopHotkeyButton.Move(T(100), T(122), T(90), T(24));
}

void DesktopsPage::Show(int desktopCount) {
  hotkeyDesktopList.Clear();
  for (int i = 1; i <= desktopCount; ++i) hotkeyDesktopList.AddItem("Desktop " + std::to_string(i));
  // Until a desktop is chosen there is no hotkey to enable or set.
  desktopHotkeyBox.SetEnabled(false);
  desktopModifierList.SetEnabled(false);
  desktopKeyList.SetEnabled(false);
  setDesktopHotkeyButton.SetEnabled(false);
}

void DesktopsPage::ShowDesktopHotkey() {
  const int desktop = hotkeyDesktopList.ListIndex() + 1;
  if (desktop < 1 || desktop > kMaxDesktops) return;
  const HotkeyEntry& hotkey = inEffect_.desktopHotkeys[static_cast<size_t>(desktop)];
  // A desktop without a hotkey shows none, rather than the previous desktop's. Showing the
  // state runs the check box's handling, which registers that state again and stores it.
  options::ShowChoice(desktopModifierList, desktopKeyList,
                      hotkey.stored ? hotkey.keys : HotkeyChoice{});
  desktopHotkeyBox.SetValue(hotkey.stored && hotkey.enabled ? 1 : 0);
  EnableHotkeyLists();
  desktopHotkeyBox.SetEnabled(true);
}

bool DesktopsPage::SetDesktopHotkey(bool report) {
  const int desktop = hotkeyDesktopList.ListIndex() + 1;
  if (desktop < 1 || desktop > kMaxDesktops) return true;
  const HotkeyChoice keys = options::ChosenKeys(desktopModifierList, desktopKeyList);
  if (program_.hotkeys.IsTaken(desktop, keys)) {
    ShowDesktopHotkey();
    return false;
  }
  if (!options::BothChosen(desktopModifierList, desktopKeyList)) return true;
  const Hwnd pager = host_.PagerHandle();
  if (desktopHotkeyBox.Checked()) {
    if (!program_.hotkeys.Register(pager, desktop, keys)) {
      if (report) program_.hotkeys.ReportTaken();
      ShowDesktopHotkey();
      return false;
    }
    if (report) program_.hotkeys.ReportAssigned();
  } else {
    program_.ws.UnregisterHotKey(pager, desktop);
  }
  HotkeyEntry& hotkey = inEffect_.desktopHotkeys[static_cast<size_t>(desktop)];
  hotkey = HotkeyEntry{keys, desktopHotkeyBox.Checked(), true};
  if (!WriteDesktopHotkey(program_.ws, program_.SettingsFile(), desktop, hotkey)) {
    program_.ReportFailedWrite(Program::StoredFile::kSettings);
  }
  return true;
}

void DesktopsPage::EnableHotkeyLists() {
  const bool on = desktopHotkeyBox.Checked();
  desktopModifierList.SetEnabled(on);
  desktopKeyList.SetEnabled(on);
  setDesktopHotkeyButton.SetEnabled(on);
}

}  // namespace vd
