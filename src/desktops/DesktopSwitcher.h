// The desktops: which one is current, how many the grid has, and the switch between them. A
// desktop is nothing but the number in a window's record: opening one hides every managed
// window of the others and shows its own (sliding them out and in when transitions are on),
// notes in the records on disk which windows the program keeps hidden, and gives the keyboard
// focus back to the window that had it when the user last left the desktop. The windows are
// shown without being activated: one activation per switch, not one per window. The windows a
// managed window owns go with it. A window the system does not let the program change stays shown
// on every desktop, and nothing claims it was hidden.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "core/WindowTable.h"
#include "desktops/OwnedWindows.h"
#include "desktops/RecoveryRecord.h"
#include "desktops/WindowLayering.h"
#include "platform/WindowSystem.h"
#include "tracking/WindowGeometry.h"

namespace vd {

// Raising another application's window: neither moved nor sized, and not activated, so the
// window comes forward without taking the keyboard focus.
inline constexpr uint32_t kRaiseFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;

// What a switch changes on the pager, in the order it happens.
class DesktopView {
 public:
  virtual ~DesktopView() = default;
  // A switch begins: the cells show which desktop is current.
  virtual void SwitchBegins(int from, int to) = 0;
  // The desktop's windows are about to be shown: the selection box frames its cell.
  virtual void DesktopShowing(int desktop) = 0;
  // A window shown on every desktop was moved onto the desktop being shown, or turned out to
  // refuse changes (and is now shown on every desktop): its miniature follows, and its tip
  // says whether the program can move it.
  virtual void FollowedToDesktop(Hwnd hwnd) = 0;
  // The desktop is shown: the window menus list its windows.
  virtual void DesktopShown(int desktop) = 0;
  // The program is about to hide the window.
  virtual void WindowHiding(Hwnd hwnd) = 0;
};

class DesktopSwitcher {
 public:
  struct Parts {
    WindowSystem& ws;
    WindowTable& table;
    const WindowGeometry& geometry;
    WindowLayering& layering;
    RecoveryRecord& record;
    DesktopView& view;
    std::function<Hwnd()> pagerHandle;  // the pager: never hidden, the focus of last resort
  };
  explicit DesktopSwitcher(Parts parts) : p_(std::move(parts)), owned_(p_.ws, p_.table) {}
  DesktopSwitcher(const DesktopSwitcher&) = delete;
  DesktopSwitcher& operator=(const DesktopSwitcher&) = delete;

  int Current() const { return current_; }
  int Count() const { return count_; }
  // The grid now has this many desktops (the layout adds them one by one).
  void SetCount(int count) { count_ = count; }
  // Whether switches slide and fade the windows ("Desktop Transition").
  bool Animates() const { return animate_; }
  void SetAnimate(bool on) { animate_ = on; }

  // Opens the desktop: the other desktops' windows hide, its own show. A desktop the grid does
  // not have is never opened (that would hide every window).
  void Open(int desktop);
  // The user's switch: the current desktop's windows slide out (when transitions are on), then
  // the desktop opens.
  void SwitchTo(int desktop);
  // Slides the current desktop's windows out and hides them, when transitions are on.
  void MoveOut();

  // Shows or hides a managed window for the program, with the windows it owns, keeping the
  // record of the windows the program keeps hidden, which lets the next start bring them back
  // after a forced end. A window that refuses changes is not asked.
  void SetShown(Hwnd hwnd, bool shown);
  // Whether the system refuses the program changes to the window (after a call on it, or
  // known beforehand). The first time it does for a managed window, its record is marked:
  // shown on every desktop from then on, on the current one, out of the record of hidden
  // windows, with the windows it owns shown again and its miniature saying so.
  bool Refuses(Hwnd hwnd);
  // Shows a window the program lets go of without bringing it to the front: in front, the
  // tracker would take it straight back on.
  void GiveBack(Hwnd hwnd);
  // Shows the windows the program hid together with `owner` (they come back with it when it
  // is summoned, and when the program lets it go or it closes).
  void ShowOwnedWindows(Hwnd owner);
  bool KeepsOwnedWindowsOf(Hwnd owner) const { return owned_.KeepsAnyFor(owner); }
  // Hides a managed window unless it is shown on every desktop.
  void Hide(Hwnd hwnd);
  // Puts a window on a desktop, raised; with a place in cell coordinates (all 0: none), the
  // window moves there on the screen, hidden first when the desktop is not the current one.
  // A window that refuses changes stays where it is, its miniature back with it.
  void Place(int desktop, Hwnd hwnd, float left, float top, float width, float height);
  // The windows of desktops beyond `count` go to the last one; true when any did.
  bool Relocate(int count);

  // Re-applies the windows' opacity after "Desktop Transition" changed: with it, the current
  // desktop's windows are layered opaque so that a switch can fade them; without it, each
  // window is back to the transparency the user chose, or opaque.
  void ReapplyWindowOpacity();
  // Shows every managed window at once; for an unexpected fault, never throws.
  void BringEveryWindowBack() noexcept;
  // Gives the focus to the top-most shown window of the current desktop (or the pager) when
  // the foreground window was hidden (by a switch, or sent to another desktop): keys must
  // never go to an invisible window.
  void KeepFocusVisible(Hwnd foregroundBefore);
  // A managed window came forward on the desktop (or is carried there to keep the focus):
  // opening the desktop again gives it the focus.
  void NoteFocus(int desktop, Hwnd hwnd) { focus_[desktop] = hwnd; }
  // The window that gets the focus when the desktop opens: the one noted, while it is still
  // managed, on that desktop (or on all) and shown; 0 when none is.
  Hwnd FocusOf(int desktop);

 private:
  void ShowDesktop(int desktop);
  // Shows (SW_SHOW, SW_SHOWNA) or hides (SW_HIDE) a managed window for the program.
  void ApplyShow(Hwnd hwnd, int cmd);
  // Once the desktop is shown, its focus goes to one window, activated once: the one noted for
  // it, else the top-most of its shown windows; keys never stay with a hidden window.
  void FocusDesktop(int desktop, Hwnd foregroundBefore);
  // The top-most shown window of the current desktop (or shown on all), walking the Z order;
  // 0 when it has none.
  Hwnd TopShownWindow();
  void MoveIn(Hwnd hwnd, int32_t target);
  void HideOwnedWindows(Hwnd owner);

  Parts p_;
  OwnedWindows owned_;
  int current_ = 1;
  int count_ = 1;
  bool animate_ = false;
  std::map<int, Hwnd> focus_;  // by desktop: the window that had the focus there last
};

}  // namespace vd
