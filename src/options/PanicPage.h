// The "Panic" page: the panic hotkey and the desktop it opens.
#pragma once

#include "options/OptionsStyle.h"

namespace vd {

class Program;
class OptionsHost;

class PanicPage {
 public:
  PanicPage(forms::Container& parent, Program& program, OptionsHost& host, Settings& inEffect);

  forms::Frame frame;
  forms::CheckBox panicBox;  // "Enabled Panic Hotkeys"
  forms::ComboBox panicModifierList, panicKeyList;
  forms::Button setPanicHotkeyButton;
  forms::ComboBox panicDesktopList;  // one entry per desktop

  void Show(const Settings& settings, int desktopCount);
  void Collect(Settings& settings) const;
  // Panic is on but no desktop is chosen: OK is refused.
  bool LacksDesktop() const { return panicBox.Checked() && panicDesktopList.Text().empty(); }

  // "Set Hotkey": registers the combination shown (or, unchecked, unregisters the hotkey); a
  // refused one shows the one in effect.
  void SetPanicHotkey(bool report);

 private:
  void LayOut();

  Program& program_;
  OptionsHost& host_;
  Settings& inEffect_;
  options::Captions captions_;
};

}  // namespace vd
