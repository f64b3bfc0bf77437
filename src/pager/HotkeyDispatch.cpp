// The pager's window procedure: it takes the hotkeys (WM_HOTKEY) and passes every other
// message on to the procedure it replaced. The hotkeys switch desktops, walk the grid, send the
// front window to a desktop or carry it along, put the pager away and back, and panic.
#include "core/Program.h"
#include "desktops/GridWalk.h"
#include "options/OptionsDialog.h"
#include "pager/DesktopNote.h"
#include "pager/PagerWindow.h"
#include "settings/Hotkeys.h"

namespace vd {

intptr_t PagerWindow::HotkeyWindowProc(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (msg == WM_HOTKEY) {
    HandleHotkey(static_cast<int>(wParam & 0xFFFF));
    return 1;
  }
  return previousProc_ ? previousProc_(msg, wParam, lParam) : 0;
}

void PagerWindow::HandleHotkey(int id) {
  if (closing_) return;
  // Put away, the pager may not know yet of the window in front or of one closed, where the
  // system does not report them: it looks before the key acts on the windows.
  if (!pagerShown_) LookForUnreported();
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
  if (id > Hotkeys::kFirstSendHotkeyId && id <= Hotkeys::kFirstSendHotkeyId + kMaxDesktops) {
    SendFrontWindow(id - Hotkeys::kFirstSendHotkeyId, false);
    return;
  }
  if (id >= Hotkeys::kFirstGridKeyId && id < Hotkeys::kFirstGridKeyId + kGridKeyCount) {
    WalkGrid(static_cast<GridKey>(id - Hotkeys::kFirstGridKeyId));
    return;
  }
  // A desktop's hotkey; one left from a larger grid names no desktop and does nothing.
  SwitchByKey(id);
}

void PagerWindow::SwitchByKey(int desktop) {
  if (desktop < 1 || desktop > desktops_.Count() || desktop == desktops_.Current()) return;
  desktops_.SwitchTo(desktop);
  statusLabel.SetCaption(DesktopTitle(settings_, desktops_.Current()));
  // With the pager put away, the user is told where the keys took them.
  if (!pagerShown_ && settings_.switchNote) note_->Tell(DesktopTitle(settings_, desktop));
}

void PagerWindow::WalkGrid(GridKey key) {
  const int current = desktops_.Current();
  if (key == GridKey::kBack) {
    // A desktop the grid no longer has is forgotten.
    if (lastLeft_ > desktops_.Count()) lastLeft_ = 0;
    SwitchByKey(lastLeft_);
    return;
  }
  const int target = GridStep(current, settings_.columns.value_or(1), settings_.rows.value_or(1),
                              key, settings_.wrapGrid);
  if (target == current) return;
  if (Carries(key)) {
    SendFrontWindow(target, true);
  } else {
    SwitchByKey(target);
  }
}

void PagerWindow::SendFrontWindow(int desktop, bool follow) {
  if (desktop < 1 || desktop > desktops_.Count()) return;
  // Only a window the program manages, on this desktop, and not shown on all of them.
  const Hwnd front = ws_.GetForegroundWindow();
  const ManagedWindow* w = Table.Find(front);
  if (front == hWnd() || w == nullptr || w->showAll || w->desktop != desktops_.Current()) return;
  if (follow) {
    // The window goes ahead, still shown, and the desktop follows it: it keeps the focus.
    desktops_.Place(desktop, front, 0, 0, 0, 0);
    miniatureView_.Place(front);
    desktops_.NoteFocus(desktop, front);
    SwitchByKey(desktop);
    return;
  }
  // As "Move To" does; the focus goes to the next window of this desktop.
  windowMenu.MoveWindowTo(front, desktop);
  desktops_.KeepFocusVisible(front);
}

}  // namespace vd
