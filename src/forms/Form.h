// A top-level window of the program. Left, Top, Width and Height are twips; the client area
// starts at the window's top-left corner (the program's forms have no system frame).
//
// A form is loaded when Load() first runs (its Load event runs once); it is then shown and
// hidden any number of times. Unload() hides it and runs its Unload event; a form that is
// needed again is hidden rather than unloaded.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "forms/Control.h"
#include "platform/Bitmap.h"

namespace forms {

class MenuItem;

// The window procedure as the program may replace it: every message of the form's window goes
// through the installed procedure; the first procedure is the toolkit's own handling.
using WindowProc = std::function<intptr_t(uint32_t msg, uintptr_t wParam, intptr_t lParam)>;

// Why a form is asked to close (the QueryUnload event's mode).
enum class UnloadMode {
  kFormControlMenu = 0,  // the user closed it (Alt+F4, the task bar's close)
  kFormCode = 1,         // the program called Unload
  kAppWindows = 2,       // Windows is shutting down or the user logs off
  kAppTaskManager = 3,   // the task manager closes it
};

class Form : public Container {
 public:
  Form(Backend& backend, std::string name);
  ~Form() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool ShowInTaskbar() const { return showInTaskbar_; }
  void SetShowInTaskbar(bool v);
  // Whether showing the form makes it the active window (true until set): a note that only
  // tells something leaves the focus where the user has it.
  bool ActivatesWhenShown() const { return activatesWhenShown_; }
  void SetActivatesWhenShown(bool v) { activatesWhenShown_ = v; }
  // True when the form is shown on screen right now (false after a window-system hide too).
  bool IsShown() const;
  bool IsLoaded() const { return loaded_; }

  void Load();       // runs the Load event once
  void Show();       // loads if needed, then shows modeless
  void ShowModal();  // loads if needed, shows, returns when hidden or unloaded
  void Hide();
  void Unload();  // runs the Unload event, hides; the object stays usable and reloadable
  bool IsModal() const { return modal_; }

  // The scale of the screen the form is on, in dots per inch (96 at 100 %), and the twips one
  // of its screen pixels spans.
  int Dpi() const { return dpi_; }
  float TwipsPerScreenPixel() const { return 1440.0f / static_cast<float>(dpi_); }
  // The form moved to a screen of another scale, its top-left corner now at (left, top) in
  // screen pixels (the backends call it). Its size and its controls' places keep their twips
  // and pixels, so they are as large to the eye as before: every control is placed and
  // lettered again at the new scale, then DpiChanged runs for what the program drew itself.
  void ChangeDpi(int dpi, int left, int top);
  std::function<void()> DpiChanged;

  // Client area size in the form's scale units.
  float ScaleWidth() const;
  float ScaleHeight() const;

  // The form's drawing surface (its client area in pixels; kept across repaints).
  vd::Bitmap& Surface() { return surface_; }
  const vd::Bitmap& Surface() const { return surface_; }

  // Pops up the menu's visible children with the top-left corner at (x, y) in the form's
  // scale units; runs the chosen entry's Click after the menu closed.
  void PopupMenu(MenuItem& menu, float x, float y);

  // Replaces the window procedure; returns the previous one, to which the new procedure passes
  // the messages it does not handle.
  WindowProc SetWindowProc(WindowProc proc);
  // Runs a message through the installed procedure (the backends deliver every message here).
  intptr_t Dispatch(uint32_t msg, uintptr_t wParam, intptr_t lParam);

  // Events.
  std::function<void()> LoadEvent;
  std::function<void()> UnloadEvent;
  // Asked when the window is closed from outside (WM_CLOSE, end of session); set cancel to
  // keep it open. Without a handler, or when not cancelled, the form unloads.
  std::function<void(UnloadMode mode, bool& cancel)> QueryUnload;
  std::function<void()> Activate;

  // The toolkit's own handling of a message (the first window procedure).
  intptr_t DefaultWindowProc(uint32_t msg, uintptr_t wParam, intptr_t lParam);

 private:
  friend class Backend;
  std::string caption_;
  bool showInTaskbar_ = false;
  bool activatesWhenShown_ = true;
  bool loaded_ = false;
  bool modal_ = false;
  vd::Bitmap surface_;
  WindowProc proc_;
  int dpi_;
};

}  // namespace forms
