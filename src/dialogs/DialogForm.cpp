#include "dialogs/DialogForm.h"

#include <utility>

#include "core/Program.h"
#include "platform/WindowSystem.h"

namespace vd {

DialogForm::DialogForm(Program& program, std::string name, float widthTwips, float heightTwips,
                       const std::string& title)
    : forms::Form(program.backend, std::move(name)),
      titleStrip(*this, "titleStrip", forms::ScaleMode::kTwips),
      titleLabel(*this, "titleLabel", title),
      signPicture(*this, "signPicture", forms::ScaleMode::kPixels),
      Shape1(*this, "Shape1"),
      program_(program) {
  SetVisible(false);
  SetBackColor(0xF0F0F0);
  // Centred on the screen.
  const float tpp = TwipsPerScreenPixel();
  const float screenW = static_cast<float>(program.ws.GetSystemMetrics(SM_CXSCREEN)) * tpp;
  const float screenH = static_cast<float>(program.ws.GetSystemMetrics(SM_CYSCREEN)) * tpp;
  Move((screenW - widthTwips) / 2, (screenH - heightTwips) / 2, widthTwips, heightTwips);
  titleStrip.Move(0, 0, widthTwips, 300);
  titleStrip.SetBackColor(0x000000);
  forms::Font bold;
  bold.bold = true;
  titleLabel.SetFont(bold);
  titleLabel.SetForeColor(0xFFFFFF);
  titleLabel.SetBackColor(0x000000);
  titleLabel.Move(120, 45, widthTwips - 240, 210);
  titleLabel.ZOrder(0);
  signPicture.Move(240, 540, 32 * forms::kTwipsPerPixel, 32 * forms::kTwipsPerPixel);
  signPicture.SetBackColor(0xF0F0F0);
  Shape1.Move(0, 0, widthTwips, heightTwips);
  Shape1.SetBorderColor(0x404040);
  DrawSign();
  DpiChanged = [this] { DrawSign(); };
  LoadEvent = [this] { MakeTopMost(); };
  auto drag = [this](int, int, float, float) { StartDrag(); };
  titleStrip.MouseDown = drag;
  titleLabel.MouseDown = drag;
}

// The one icon every box shows: a round amber sign with a dark mark, drawn for the box's scale
// (32 pixels across at 100 %).
void DialogForm::DrawSign() {
  signPicture.SyncSurfaceSize();
  vd::Bitmap& icon = signPicture.Surface();
  icon.Fill(0xF0F0F0);
  const int size = icon.Width();
  for (int y = 0; y < icon.Height(); ++y) {
    for (int x = 0; x < size; ++x) {
      const int dx = 2 * x - size + 1, dy = 2 * y - icon.Height() + 1;
      if (dx * dx + dy * dy <= size * size) icon.SetPixel(x, y, 0x00B4FF);
    }
  }
  auto at = [size](int designed) { return designed * size / 32; };
  icon.FillRect(size / 2 - at(2), at(7), size / 2 + at(2), at(20), 0x202020);
  icon.FillRect(size / 2 - at(2), at(23), size / 2 + at(2), at(27), 0x202020);
  signPicture.Refresh();
}

void DialogForm::MakeTopMost() {
  program_.ws.SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void DialogForm::StartDrag() {
  program_.ws.ReleaseCapture();
  program_.ws.SendMessageA(hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void DialogForm::StyleDescription(forms::Label& label) {
  label.SetBackColor(0xF0F0F0);
  label.SetForeColor(0x000000);
}

}  // namespace vd
