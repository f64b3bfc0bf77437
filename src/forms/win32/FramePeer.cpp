// The peer of a frame: a window of the program's control class that holds the frame's
// controls and draws its etched border with the caption set into it.
#include <memory>
#include <string>

#include "forms/win32/PeerDrawing.h"
#include "forms/win32/PeerFactory.h"
#include "forms/win32/WindowPeer.h"

namespace forms::win32 {

namespace {

// ---- Frames -------------------------------------------------------------------------------

class FramePeer : public WindowPeer {
 public:
  FramePeer(Context& context, Frame& frame) : WindowPeer(context, frame) {
    CreateNativeWindow(kControlClass, WS_CLIPCHILDREN, 0, frame.Caption());
  }

 protected:
  void Paint(HDC dc, const RECT& client) override {
    Frame& frame = static_cast<Frame&>(control_);
    BufferedPaint buffer(dc, client);
    HDC out = buffer.Dc();
    FillColor(context_, out, client, frame.BackColor());
    if (!frame.BorderStyle()) return;
    SelectGuard font(out, TextFont());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(out, &metrics);
    RECT edge = client;
    edge.top += metrics.tmHeight / 2;
    ::DrawEdge(out, &edge, EDGE_ETCHED, BF_RECT);
    if (!frame.Caption().empty()) {
      const std::wstring caption = Widen(" " + frame.Caption() + " ");
      ::SetBkMode(out, OPAQUE);
      ::SetBkColor(out, Context::Color(frame.BackColor()));
      ::SetTextColor(out, Context::Color(frame.ForeColor()));
      ::TextOutW(out, 6, 0, caption.c_str(), static_cast<int>(caption.size()));
    }
  }
};

}  // namespace

std::unique_ptr<Peer> MakeFramePeer(Context& context, Frame& frame) {
  return std::make_unique<FramePeer>(context, frame);
}

}  // namespace forms::win32
