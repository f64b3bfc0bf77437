#include "options/PanicPage.h"

#include "core/Program.h"
#include "options/OptionsHost.h"
#include "settings/Hotkeys.h"

namespace vd {

using options::T;

PanicPage::PanicPage(forms::Container& parent, Program& program, OptionsHost& host,
                     Settings& inEffect)
    : frame(parent, "panicPage", "Panic"),
      panicBox(frame, "panicBox", "Enabled Panic Hotkeys"),
      panicModifierList(frame, "panicModifierList"),
      panicKeyList(frame, "panicKeyList"),
      setPanicHotkeyButton(frame, "setPanicHotkeyButton", "Set Hotkey"),
      panicDesktopList(frame, "panicDesktopList"),
      program_(program),
      host_(host),
      inEffect_(inEffect) {
  options::FillHotkeyLists(panicModifierList, panicKeyList);
  LayOut();
  setPanicHotkeyButton.Click = [this] { SetPanicHotkey(true); };
}

void PanicPage::LayOut() {
  panicBox.Move(T(12), T(26), T(250), T(20));
  panicBox.SetBackColor(options::kFace);
  captions_.Add(frame, "panicHotkeysCaption", "Hotkeys:", 12, 63, 84);
  // Wide enough for the longest chord ("WIN+CTRL+ALT+SHIFT") and key ("BACKSPACE").
  panicModifierList.Move(T(100), T(60), T(126), T(21));
  captions_.Add(frame, "panicPlusCaption", "+", 230, 63, 10);
  panicKeyList.Move(T(243), T(60), T(78), T(21));
  setPanicHotkeyButton.Move(T(100), T(90), T(90), T(24));
  captions_.Add(frame, "panicDesktopCaption", "Desktop to open when in panic:", 12, 137, 176);
  panicDesktopList.Move(T(192), T(134), T(110), T(21));
}

void PanicPage::Show(const Settings& s, int desktopCount) {
  panicBox.SetValue(s.panicEnabled ? 1 : 0);
  options::ShowChoice(panicModifierList, panicKeyList, s.panicHotkey);
  panicDesktopList.Clear();
  for (int i = 1; i <= desktopCount; ++i) panicDesktopList.AddItem("Desktop " + std::to_string(i));
  // 0 (none chosen) and a desktop beyond the grid leave the list without a selection.
  if (s.panicDesktop >= 1 && s.panicDesktop <= desktopCount) {
    panicDesktopList.SetListIndex(s.panicDesktop - 1);
  }
}

void PanicPage::Collect(Settings& s) const {
  s.panicEnabled = panicBox.Checked();
  s.panicHotkey = options::ChosenKeys(panicModifierList, panicKeyList);
  s.panicDesktop = panicDesktopList.ListIndex() + 1;
}

void PanicPage::SetPanicHotkey(bool report) {
  if (!options::BothChosen(panicModifierList, panicKeyList)) return;
  const HotkeyChoice keys = options::ChosenKeys(panicModifierList, panicKeyList);
  if (!panicBox.Checked()) {
    program_.hotkeys.Release(host_.PagerHandle(), Hotkeys::kPanicHotkeyId);
    inEffect_.panicEnabled = false;
    return;
  }
  if (program_.hotkeys.Set(host_.PagerHandle(), Hotkeys::kPanicHotkeyId, keys, report)) {
    inEffect_.panicEnabled = true;
    inEffect_.panicHotkey = keys;
  } else {
    options::ShowChoice(panicModifierList, panicKeyList, inEffect_.panicHotkey);
  }
}

}  // namespace vd
