// The peer of a picture box: a window of the program's control class that shows the box's
// pixel surface and its shapes, with a border when the box has one.
#include <memory>

#include "forms/win32/PeerDrawing.h"
#include "forms/win32/PeerFactory.h"
#include "forms/win32/WindowPeer.h"

namespace forms::win32 {

namespace {

// ---- Picture boxes ------------------------------------------------------------------------

class PicturePeer : public WindowPeer {
 public:
  PicturePeer(Context& context, PictureBox& box) : WindowPeer(context, box) {
    CreateNativeWindow(kControlClass, Style(), 0, {});
  }
  void Changed(Property property) override {
    if (hwnd_ && property == Property::kStyle) {
      ::SetWindowLongPtrW(hwnd_, GWL_STYLE,
                          (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~WS_BORDER) |
                              (Box().BorderStyle() ? WS_BORDER : 0));
      ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    WindowPeer::Changed(property);
  }

 protected:
  void Paint(HDC dc, const RECT& client) override {
    PaintSurface(context_, dc, client, Box().Surface(), Box());
  }

 private:
  PictureBox& Box() { return static_cast<PictureBox&>(control_); }
  DWORD Style() { return WS_CLIPCHILDREN | (Box().BorderStyle() ? WS_BORDER : 0); }
};

}  // namespace

std::unique_ptr<Peer> MakePicturePeer(Context& context, PictureBox& box) {
  return std::make_unique<PicturePeer>(context, box);
}

}  // namespace forms::win32
