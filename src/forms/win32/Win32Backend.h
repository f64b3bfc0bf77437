// The forms backend that makes real windows: a form is a top-level window without system frame,
// each windowed control a child window; a picture box and a form present their drawing surface
// from memory on WM_PAINT; shapes are drawn by their container; timers run with SetTimer;
// modal forms run a nested message loop with the other top-level windows of the program
// disabled; popup menus use TrackPopupMenu. Window procedures never let an exception escape.
// The windows are Unicode windows and the loops fetch and dispatch with the wide calls, so that a
// typed character reaches an edit field as the user typed it, whatever the system's code page.
#pragma once

#include <memory>

#include "forms/Backend.h"

namespace forms::win32 {

class Win32Backend : public Backend {
 public:
  Win32Backend();
  ~Win32Backend() override;

  // Runs the message loop until Quit() or the last form is unloaded.
  int Run();
  void Quit(int exitCode = 0);

  std::unique_ptr<Peer> CreatePeer(Control& control) override;
  std::unique_ptr<TimerPeer> CreateTimerPeer(Timer& timer) override;
  void RunModal(Form& form) override;
  MenuItem* TrackPopupMenu(Form& form, MenuItem& menu, float x, float y) override;
  void DoEvents() override;
  int SystemDpi() const override;
  uint32_t SysColor(int index) const override;  // the system's current colours

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace forms::win32
