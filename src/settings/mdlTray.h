// What the notification-area icon does. The shell reports the mouse on the icon to the tray
// form with the callback message 512, the mouse-move message; the toolkit therefore raises the
// form's MouseMove with the mouse message number where the X coordinate would be, converted to
// the form's twips like any position.
#pragma once

#include <cstdint>

namespace vd {
class Program;
class frmTray;
}  // namespace vd

namespace vd::mdlTray {

// The mouse message the shell reported, from the X of the tray form's mouse move (twips).
double MessageNumber(float xTwips, int twipsPerPixelX);

// Acts on one mouse message on the icon: releasing the left button hides a shown pager or
// shows a hidden one; releasing the right button opens the pager's main menu at the mouse
// position; moves, presses and double clicks do nothing.
void IconMouse(Program& program, frmTray& tray, double message);

}  // namespace vd::mdlTray
