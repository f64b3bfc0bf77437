// The factory of the Win32 peers: the form's peer, and for every other control the peer of its
// kind, each made in its own file.
#include "forms/win32/PeerFactory.h"

#include <memory>

#include "forms/Form.h"
#include "forms/win32/FormPeer.h"

namespace forms::win32 {

std::unique_ptr<Peer> CreateWin32Peer(Context& context, Control& control) {
  switch (control.Kind()) {
    case ControlKind::kForm:
      return std::make_unique<FormPeer>(context, static_cast<Form&>(control));
    case ControlKind::kLabel:
      return MakeLabelPeer(context, static_cast<Label&>(control));
    case ControlKind::kPictureBox:
      return MakePicturePeer(context, static_cast<PictureBox&>(control));
    case ControlKind::kFrame:
      return MakeFramePeer(context, static_cast<Frame&>(control));
    case ControlKind::kShape:
      return MakeShapePeer(static_cast<Shape&>(control));
    case ControlKind::kButton:
      return MakeButtonPeer(context, static_cast<Button&>(control));
    case ControlKind::kCheckBox:
      return MakeCheckPeer(context, static_cast<CheckBox&>(control));
    case ControlKind::kComboBox:
      return MakeComboPeer(context, static_cast<ComboBox&>(control));
    case ControlKind::kTextBox:
      return MakeEditPeer(context, static_cast<TextBox&>(control));
  }
  return nullptr;
}

}  // namespace forms::win32
