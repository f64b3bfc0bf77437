// The hidden form that carries the notification-area icon for the whole run; the icon's mouse
// messages come to it (mdlTray says what they do).
#pragma once

#include "forms/Form.h"
#include "platform/WindowSystem.h"

namespace vd {

class Program;

class frmTray : public forms::Form {
 public:
  explicit frmTray(Program& program);
  ~frmTray() override;

  // The icon record, kept from the icon's addition to its removal.
  const NotifyIconData& IconRecord() const { return record_; }
  // Takes the icon out of the notification area (at exit).
  void RemoveIcon();

 private:
  void Form_Load();
  Program& program_;
  NotifyIconData record_;
  bool added_ = false;
};

}  // namespace vd
