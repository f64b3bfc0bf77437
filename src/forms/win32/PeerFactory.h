// The peers of the Win32 backend: each control's window, and the translation between the
// window's messages and the control's properties and events. Every peer is made through
// CreateWin32Peer (Win32Internal.h); the peer of each kind of control but the form lives in a
// file of its own, which offers only the function below that makes it.
#pragma once

#include <memory>

#include "forms/Backend.h"
#include "forms/Controls.h"
#include "forms/win32/Win32Internal.h"

namespace forms::win32 {

std::unique_ptr<Peer> MakePicturePeer(Context& context, PictureBox& box);
std::unique_ptr<Peer> MakeLabelPeer(Context& context, Label& label);
std::unique_ptr<Peer> MakeFramePeer(Context& context, Frame& frame);
std::unique_ptr<Peer> MakeShapePeer(Shape& shape);
std::unique_ptr<Peer> MakeButtonPeer(Context& context, Button& button);
std::unique_ptr<Peer> MakeCheckPeer(Context& context, CheckBox& check);
std::unique_ptr<Peer> MakeComboPeer(Context& context, ComboBox& combo);
std::unique_ptr<Peer> MakeEditPeer(Context& context, TextBox& box);

}  // namespace forms::win32
