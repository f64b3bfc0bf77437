// The notification-area icon, carried by a hidden form for the whole run. The shell reports
// the mouse on the icon to this form with the callback message 512, the mouse-move message; the
// toolkit therefore raises the form's MouseMove with the mouse message number where the X
// coordinate would be, converted to the form's twips like any position.
#pragma once

#include "forms/Form.h"
#include "platform/WindowSystem.h"

namespace vd {

class Program;

class TrayIcon : public forms::Form {
 public:
  explicit TrayIcon(Program& program);
  ~TrayIcon() override;

  // The icon record, kept from the icon's addition to its removal.
  const NotifyIconData& IconRecord() const { return record_; }
  // Takes the icon out of the notification area (at exit).
  void RemoveIcon();

 private:
  void OnLoad();
  // Acts on one mouse message on the icon: releasing the left button hides a shown pager or
  // shows a hidden one; releasing the right button opens the pager's main menu at the mouse
  // position; moves, presses and double clicks do nothing.
  void IconMouse(double message);

  Program& program_;
  NotifyIconData record_;
  bool added_ = false;
};

}  // namespace vd
