// The notification-area icon, carried by a hidden form for the whole run. The shell reports
// the mouse on the icon to this form with the callback message 512, the mouse-move message; the
// toolkit therefore raises the form's MouseMove with the mouse message number where the X
// coordinate would be, converted to the form's twips like any position.
#pragma once

#include <functional>

#include "forms/Form.h"
#include "forms/Menu.h"
#include "platform/WindowSystem.h"

namespace vd {

class Program;

class TrayIcon : public forms::Form {
 public:
  // menu: the menu the right button opens.
  TrayIcon(Program& program, forms::MenuItem& menu);
  ~TrayIcon() override;

  // Releasing the left button on the icon.
  std::function<void()> Clicked;

  // The icon record, kept from the icon's addition to its removal.
  const NotifyIconData& IconRecord() const { return record_; }
  // Takes the icon out of the notification area (at exit).
  void RemoveIcon();
  // The tip names the current desktop when it has a name (title "3: Mail"; empty: none).
  void ShowDesktop(const std::string& title);

 private:
  void OnLoad();
  // Acts on one mouse message on the icon: releasing the left button is a click; releasing the
  // right button opens the menu at the mouse position; moves, presses and double clicks do
  // nothing.
  void IconMouse(long message);

  Program& program_;
  forms::MenuItem& menu_;
  NotifyIconData record_;
  std::string tip_ = "VUEDECK Virtual Desktop";
  bool added_ = false;
};

}  // namespace vd
