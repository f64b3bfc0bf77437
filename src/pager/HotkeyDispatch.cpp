// The pager's window procedure: it takes the hotkeys (WM_HOTKEY) and passes every other
// message on to the procedure it replaced.
#include "core/Program.h"
#include "options/OptionsDialog.h"
#include "pager/PagerWindow.h"
#include "settings/Hotkeys.h"

namespace vd {

intptr_t PagerWindow::HotkeyWindowProc(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (msg == WM_HOTKEY) {
    HandleHotkey(static_cast<uint8_t>(wParam & 0xFF));
    return 1;
  }
  return previousProc_ ? previousProc_(msg, wParam, lParam) : 0;
}

void PagerWindow::HandleHotkey(uint8_t id) {
  if (closing_) return;
  if (id == Hotkeys::kHideHotkeyId) {
    if (pagerShown_) {
      HidePager();
    } else {
      ShowPager();
    }
    return;
  }
  if (id == Hotkeys::kPanicHotkeyId) {
    // A panic with no panic desktop (or one the grid no longer has) does nothing: it must
    // never hide every window.
    const int desktop = settings_.panicDesktop;
    if (desktop < 1 || desktop > desktops_.Count()) return;
    if (CloseOptions) CloseOptions();
    dialogOpen_ = false;
    bool animate = desktops_.Animates();
    desktops_.SetAnimate(false);
    desktops_.SwitchTo(desktop);
    pagerShown_ = false;
    Hide();
    desktops_.SetAnimate(animate);
    return;
  }
  // A desktop's hotkey; one left from a larger grid names no desktop and does nothing.
  if (id < 1 || id > desktops_.Count() || id == desktops_.Current()) return;
  desktops_.SwitchTo(id);
  statusLabel.SetCaption("Desktop " + std::to_string(desktops_.Current()));
}

}  // namespace vd
