// The forms toolkit's seam. A control is a plain C++ object holding its properties; every
// property change is passed to the control's peer, which the backend made for it. The Win32
// backend's peers are real windows; the headless backend's peers store nothing of their own
// (the properties live in the control) and mirror the program's windows into the fake desktop
// so that the window-system seam sees them as the real system would.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace forms {

class Control;
class Form;
class MenuItem;
class Timer;

// What changed on a control; the peer re-reads the control's properties it needs.
enum class Property {
  kGeometry,  // Left, Top, Width, Height (also ScaleMode of a container)
  kVisible,
  kEnabled,
  kText,  // Caption or Text
  kToolTip,
  kColors,  // BackColor, ForeColor, BorderColor
  kFont,
  kZOrder,     // the control was brought to the front or sent to the back
  kValue,      // CheckBox value
  kItems,      // ComboBox list content
  kListIndex,  // ComboBox selection
  kPicture,    // the picture or drawn surface changed (Refresh presents it)
  kStyle,      // border, alignment, top-most and the like
};

class Peer {
 public:
  virtual ~Peer() = default;
  virtual void Changed(Property property) = 0;
  // Presents the control's drawn surface and children now (a repaint).
  virtual void Refresh() = 0;
  // The native window handle (the fake desktop's handle under the headless backend); 0 for a
  // control without a window of its own.
  virtual int32_t Handle() const = 0;
  // True when the native window is visible on the screen (for a form: shown and not hidden by
  // a window-system call behind the toolkit's back).
  virtual bool IsShown() const = 0;
  virtual void SetFocus() {}
  // The window system's own handling of a form's message that the form's window procedures
  // left to the default (the end of Form::DefaultWindowProc): DefWindowProc on Win32, nothing
  // (0) under the headless backend.
  virtual intptr_t DefaultProcedure(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    (void)msg;
    (void)wParam;
    (void)lParam;
    return 0;
  }
};

class TimerPeer {
 public:
  virtual ~TimerPeer() = default;
  // Called after Enabled or Interval changed: (re)start counting from now, or stop.
  virtual void Changed() = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;

  virtual std::unique_ptr<Peer> CreatePeer(Control& control) = 0;
  virtual std::unique_ptr<TimerPeer> CreateTimerPeer(Timer& timer) = 0;

  // Shows the form modally: returns when the form has been hidden or unloaded. The other
  // forms' timers keep running meanwhile.
  virtual void RunModal(Form& form) = 0;
  // Pops up the menu's visible children at (x, y), in the form's scale units relative to its
  // client area; returns the chosen entry or nullptr. Timers keep running while it is open.
  // The caller fires the entry's Click.
  virtual MenuItem* TrackPopupMenu(Form& form, MenuItem& menu, float x, float y) = 0;
  // Lets pending messages (and due timers) run once.
  virtual void DoEvents() = 0;

  // The scale a new form starts at, in dots per inch (96 at 100 %): the system's, until the
  // form's window learns the scale of the screen it is on.
  virtual int SystemDpi() const { return 96; }

  // The colour value of a system colour index (GetSysColor); the usual defaults unless the
  // backend knows the real ones.
  virtual uint32_t SysColor(int index) const;
};

// A colour property's value as drawn: values with the high bit set (0x8000000F) name a system
// colour by their low byte.
inline uint32_t ResolveColor(const Backend& backend, uint32_t color) {
  return (color & 0x80000000u) ? backend.SysColor(static_cast<int>(color & 0xFFu)) : color;
}

}  // namespace forms
