// The peer of a label: a window of the program's control class that draws the caption in the
// label's font, colours and alignment, over what its container drew when it is transparent.
#include <memory>

#include "forms/Form.h"
#include "forms/win32/PeerDrawing.h"
#include "forms/win32/PeerFactory.h"
#include "forms/win32/WindowPeer.h"

namespace forms::win32 {

namespace {

// ---- Labels -------------------------------------------------------------------------------

class LabelPeer : public WindowPeer {
 public:
  LabelPeer(Context& context, Label& label) : WindowPeer(context, label) {
    CreateNativeWindow(kControlClass, 0, 0, label.Caption());
  }

 protected:
  HFONT TextFont() const override {
    return context_.GetFont(static_cast<const Label&>(control_).GetFont(), Dpi());
  }

  // A transparent label shows what its container drew under it.
  void Paint(HDC dc, const RECT& client) override {
    Label& label = static_cast<Label&>(control_);
    BufferedPaint buffer(dc, client);
    HDC out = buffer.Dc();
    Container& parent = *label.Parent();
    const vd::Bitmap* under = nullptr;
    if (label.Transparent()) {
      if (parent.Kind() == ControlKind::kPictureBox) {
        under = &static_cast<PictureBox&>(parent).Surface();
      } else if (parent.Kind() == ControlKind::kForm) {
        under = &static_cast<Form&>(parent).Surface();
      }
    }
    FillColor(context_, out, client, label.Transparent() ? parent.BackColor() : label.BackColor());
    if (under) {
      const RECT r = PixelRect();
      DrawBitmap(out, 0, 0, *under, r.left, r.top, client.right, client.bottom);
    }
    SelectGuard font(out, TextFont());
    ::SetBkMode(out, TRANSPARENT);
    ::SetTextColor(out, Context::Color(label.ForeColor()));
    UINT format = DT_WORDBREAK | DT_NOPREFIX;
    switch (label.GetAlignment()) {
      case Alignment::kLeft:
        format |= DT_LEFT;
        break;
      case Alignment::kRight:
        format |= DT_RIGHT;
        break;
      case Alignment::kCenter:
        format |= DT_CENTER;
        break;
    }
    RECT text = client;
    ::DrawTextW(out, Widen(label.Caption()).c_str(), -1, &text, format);
  }
};

}  // namespace

std::unique_ptr<Peer> MakeLabelPeer(Context& context, Label& label) {
  return std::make_unique<LabelPeer>(context, label);
}

}  // namespace forms::win32
