#include "settings/frmTray.h"

#include "core/Program.h"
#include "settings/mdlTray.h"

namespace vd {

frmTray::frmTray(Program& program) : forms::Form(program.backend, "frmTray"), program_(program) {
  SetVisible(false);
  LoadEvent = [this] { Form_Load(); };
  // The icon's mouse messages arrive as mouse moves of this (hidden) form.
  MouseMove = [this](int, int, float x, float) {
    mdlTray::IconMouse(program_, *this,
                       mdlTray::MessageNumber(x, program_.backend.TwipsPerPixelX()));
  };
}

frmTray::~frmTray() = default;

void frmTray::Form_Load() {
  record_.hwnd = hWnd();
  record_.id = 1;
  record_.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.callbackMessage = WM_MOUSEMOVE;
  record_.icon = 0;  // the program's own icon
  record_.tip = "VUEDECK Virtual Desktop";
  added_ = program_.ws.Shell_NotifyIconA(NIM_ADD, record_);
}

void frmTray::RemoveIcon() {
  if (!IsLoaded()) return;
  program_.ws.Shell_NotifyIconA(NIM_DELETE, record_);
  added_ = false;
}

}  // namespace vd
