// What the options dialog needs of the rest of the program: the pager it sets up, the grid it
// shows, and the one place it hands confirmed settings back to. The pager implements it.
#pragma once

#include "platform/WindowSystem.h"

namespace vd {

// What applying a new grid did beyond building it, for the dialog to tell the user.
struct GridChange {
  bool relocated = false;      // windows of vanished desktops went to the last one
  bool panicDisabled = false;  // the panic desktop vanished and its hotkey was on
};

class OptionsHost {
 public:
  virtual ~OptionsHost() = default;
  // The pager's window: the hotkeys are registered on it, the opacity shows on it.
  virtual Hwnd PagerHandle() const = 0;
  virtual int NumberOfDesktops() const = 0;
  // While the dialog is up the pager does not hide.
  virtual void SetDialogOpen(bool open) = 0;
  // Applies the program's settings, just confirmed and saved: colours, effects, opacity, and
  // with rebuildGrid the grid; the pager comes out shown.
  virtual GridChange ApplySettings(bool rebuildGrid) = 0;
  // Deletes the ignore list's file and starts the list afresh.
  virtual void ClearIgnoreList() = 0;
};

}  // namespace vd
