// The peer of a shape: a shape has no window; its container draws it over its surface, so a
// change of the shape repaints the container's window.
#include <memory>

#include "forms/win32/PeerFactory.h"
#include "forms/win32/WindowPeer.h"

namespace forms::win32 {

namespace {

// ---- Shapes: drawn by their container -----------------------------------------------------

class ShapePeer : public Peer {
 public:
  explicit ShapePeer(Shape& shape) : shape_(shape), container_(ContainerWindow(shape)) {
    Invalidate();
  }
  ~ShapePeer() override { Invalidate(); }
  void Changed(Property) override { Invalidate(); }
  void Refresh() override {
    if (container_) ::UpdateWindow(container_);
  }
  int32_t Handle() const override { return 0; }
  bool IsShown() const override {
    const Peer* parent = shape_.Parent() ? shape_.Parent()->GetPeer() : nullptr;
    return shape_.Visible() && parent && parent->IsShown();
  }

 private:
  void Invalidate() {
    if (container_ && ::IsWindow(container_)) ::InvalidateRect(container_, nullptr, FALSE);
  }
  Shape& shape_;
  HWND container_;
};

}  // namespace

std::unique_ptr<Peer> MakeShapePeer(Shape& shape) { return std::make_unique<ShapePeer>(shape); }

}  // namespace forms::win32
