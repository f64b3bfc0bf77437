#include "settings/mdlTray.h"

#include "core/Program.h"
#include "core/frmMain.h"
#include "settings/frmTray.h"

namespace vd::mdlTray {

double MessageNumber(float xTwips, int twipsPerPixelX) {
  if (twipsPerPixelX <= 0) return 0;
  return static_cast<double>(xTwips) / static_cast<double>(twipsPerPixelX);
}

void IconMouse(Program& program, frmTray& tray, double message) {
  frmMain& pager = program.Main();
  if (message == WM_LBUTTONUP) {
    if (pager.PagerShown) {
      pager.HidePager();
    } else {
      pager.ShowPager();
    }
  } else if (message == WM_RBUTTONUP) {
    // The menu opens where the mouse is: the cursor in the tray form's own units.
    Point cursor;
    program.ws.GetCursorPos(&cursor);
    const float x = tray.FromPixelsX(static_cast<float>(cursor.x)) - tray.Left();
    const float y = tray.FromPixelsY(static_cast<float>(cursor.y)) - tray.Top();
    tray.PopupMenu(pager.mnuMenu, x, y);
  }
}

}  // namespace vd::mdlTray
