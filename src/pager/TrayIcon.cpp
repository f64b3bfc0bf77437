#include "pager/TrayIcon.h"

#include <cmath>

#include "core/Program.h"
#include "forms/Menu.h"

namespace vd {

namespace {

// The icon's mouse message, which the system passes where a mouse move's x would be: the
// form's twips back to screen pixels, rounded (a twip is no whole part of a pixel at every scale).
long MessageNumber(float xTwips, const forms::Form& form) {
  return std::lround(xTwips / form.TwipsPerScreenPixel());
}

}  // namespace

TrayIcon::TrayIcon(Program& program, forms::MenuItem& menu)
    : forms::Form(program.backend, "TrayIcon"), program_(program), menu_(menu) {
  SetVisible(false);
  LoadEvent = [this] { OnLoad(); };
  // The icon's mouse messages arrive as mouse moves of this (hidden) form.
  MouseMove = [this](int, int, float x, float) { IconMouse(MessageNumber(x, *this)); };
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::OnLoad() {
  record_.hwnd = hWnd();
  record_.id = 1;
  record_.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.callbackMessage = WM_MOUSEMOVE;
  record_.icon = 0;  // the program's own icon
  record_.tip = tip_;
  added_ = program_.ws.Shell_NotifyIconW(NIM_ADD, record_);
}

void TrayIcon::ShowDesktop(const std::string& title) {
  // Unnamed desktops keep the program's own tip.
  const std::string tip = title.empty() ? "VUEDECK Virtual Desktop" : "VUEDECK - " + title;
  if (tip == tip_) return;
  tip_ = record_.tip = tip;
  if (added_) program_.ws.Shell_NotifyIconW(NIM_MODIFY, record_);
}

void TrayIcon::RemoveIcon() {
  if (!IsLoaded()) return;
  program_.ws.Shell_NotifyIconW(NIM_DELETE, record_);
  added_ = false;
}

void TrayIcon::IconMouse(long message) {
  if (message == WM_LBUTTONUP) {
    if (Clicked) Clicked();
  } else if (message == WM_RBUTTONUP) {
    // The menu opens where the mouse is: the cursor in this form's own units.
    Point cursor;
    program_.ws.GetCursorPos(&cursor);
    const float x = FromScreenPixelsX(static_cast<float>(cursor.x)) - Left();
    const float y = FromScreenPixelsY(static_cast<float>(cursor.y)) - Top();
    PopupMenu(menu_, x, y);
  }
}

}  // namespace vd
