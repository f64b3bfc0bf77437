// The forms backend for the unit tests: nothing is drawn on a screen; properties stay in the
// controls, pictures are rasterised in memory. Timers run on a virtual clock: Advance(ms) fires
// due timers in time order, each handler to its end before the next tick. Modal forms and
// popup menus call handlers the test installs.
//
// When given the fake desktop, every form and every windowed control gets a window there
// (process 1, the program), kept in step with the control's position, size, visibility and
// Z order, and a form's window delivers its messages (WM_HOTKEY, WM_CLOSE, ...) to the form's
// window procedure. The clock is then the fake desktop's virtual clock, which Sleep advances.
#pragma once

#include <functional>
#include <memory>

#include "forms/Backend.h"

namespace vd::fake {
class FakeWindowSystem;
}

namespace forms::headless {

class HeadlessBackend : public Backend {
 public:
  // systemDpi: the scale the forms start at (96 at 100 %).
  explicit HeadlessBackend(vd::fake::FakeWindowSystem* desktop = nullptr, int systemDpi = 96);
  ~HeadlessBackend() override;

  // Moves the virtual clock forward by ms, firing every due timer in time order.
  void Advance(unsigned ms);
  unsigned Now() const;

  // Runs when a form is shown modally; it acts as the user (press a button, which hides or
  // unloads the form). If the form is still shown when it returns, the form is hidden.
  // Without a handler a modal form is hidden at once.
  std::function<void(Form& form)> onModal;
  // Runs when a menu pops up; returns the entry to choose, or nullptr to dismiss the menu.
  std::function<MenuItem*(Form& form, MenuItem& menu, float x, float y)> onPopup;

  std::unique_ptr<Peer> CreatePeer(Control& control) override;
  std::unique_ptr<TimerPeer> CreateTimerPeer(Timer& timer) override;
  void RunModal(Form& form) override;
  MenuItem* TrackPopupMenu(Form& form, MenuItem& menu, float x, float y) override;
  void DoEvents() override;
  int SystemDpi() const override;

  // The form is now on a screen of another scale, as the system tells a window that moved to
  // another monitor or whose monitor's scale the user changed.
  void MoveToScale(Form& form, int dpi);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace forms::headless
