#include "options/KeysPage.h"

#include "core/Program.h"
#include "settings/Hotkeys.h"

namespace vd {

using options::T;

namespace {

// What each GridKey does, in the order of the enumeration.
constexpr const char* kActions[kGridKeyCount] = {"Go left",
                                                 "Go right",
                                                 "Go up",
                                                 "Go down",
                                                 "Next desktop",
                                                 "Previous desktop",
                                                 "Back to the last desktop",
                                                 "Carry window left",
                                                 "Carry window right",
                                                 "Carry window up",
                                                 "Carry window down"};

}  // namespace

KeysPage::KeysPage(forms::Container& parent, Program& program, OptionsHost& host,
                   Settings& inEffect)
    : frame(parent, "keysPage", "Keys"),
      gridActionList(frame, "gridActionList"),
      gridRow(frame, program, host, "grid", "Hotkey:", "Hotkey Enabled", "Set Hotkey", 60),
      wrapBox(frame, "wrapBox", "Wrap around the grid's edges"),
      noteBox(frame, "noteBox", "Name the new desktop when the pager is hidden"),
      program_(program),
      inEffect_(inEffect) {
  for (const char* action : kActions) gridActionList.AddItem(action);
  LayOut();
  gridActionList.Click = [this] { ShowAction(); };
  Show(inEffect);
}

void KeysPage::LayOut() {
  captions_.Add(frame, "actionCaption", "Action:", 12, 27, 84);
  gridActionList.Move(T(100), T(24), T(210), T(21));
  gridActionList.SetToolTipText(
      "Carrying takes the front window to the neighbouring desktop and follows it");
  wrapBox.Move(T(12), T(150), T(306), T(20));
  wrapBox.SetBackColor(options::kFace);
  wrapBox.SetToolTipText("Going off one edge of the grid comes in at the other");
  noteBox.Move(T(12), T(176), T(306), T(20));
  noteBox.SetBackColor(options::kFace);
  noteBox.SetToolTipText("A switch by hotkey with the pager hidden shows the desktop's title");
}

void KeysPage::Show(const Settings& settings) {
  gridActionList.SetListIndex(-1);
  gridRow.ShowNone();
  wrapBox.SetValue(settings.wrapGrid ? 1 : 0);
  noteBox.SetValue(settings.switchNote ? 1 : 0);
}

void KeysPage::Collect(Settings& settings) const {
  settings.wrapGrid = wrapBox.Checked();
  settings.switchNote = noteBox.Checked();
}

void KeysPage::ShowAction() {
  const int index = gridActionList.ListIndex();
  if (index < 0 || index >= kGridKeyCount) return;
  const auto key = static_cast<GridKey>(index);
  gridRow.Show(Hotkeys::GridKeyId(key), inEffect_.gridKeys[static_cast<size_t>(index)],
               [this, key](const HotkeyEntry& e) {
                 return WriteGridKey(program_.ws, program_.SettingsFile(), key, e);
               });
}

}  // namespace vd
