#include "interaction/frmMsgBox.h"

#include <algorithm>
#include <vector>

#include "core/Program.h"
#include "platform/WindowSystem.h"

namespace vd {

DialogForm::DialogForm(Program& program, std::string name, float widthTwips, float heightTwips,
                       const std::string& title)
    : forms::Form(program.backend, std::move(name)),
      Picture1(*this, "Picture1", forms::ScaleMode::kTwips),
      lblTitle(*this, "lblTitle", title),
      Image1(*this, "Image1", forms::ScaleMode::kPixels),
      Shape1(*this, "Shape1"),
      program_(program) {
  SetVisible(false);
  SetBackColor(0xF0F0F0);
  const float tppX = static_cast<float>(program.backend.TwipsPerPixelX());
  const float tppY = static_cast<float>(program.backend.TwipsPerPixelY());
  // Centred on the screen.
  const float screenW = static_cast<float>(program.ws.GetSystemMetrics(SM_CXSCREEN)) * tppX;
  const float screenH = static_cast<float>(program.ws.GetSystemMetrics(SM_CYSCREEN)) * tppY;
  Move((screenW - widthTwips) / 2, (screenH - heightTwips) / 2, widthTwips, heightTwips);
  Picture1.Move(0, 0, widthTwips, 300);
  Picture1.SetBackColor(0x000000);
  forms::Font bold;
  bold.bold = true;
  lblTitle.SetFont(bold);
  lblTitle.SetForeColor(0xFFFFFF);
  lblTitle.SetBackColor(0x000000);
  lblTitle.Move(120, 45, widthTwips - 240, 210);
  lblTitle.ZOrder(0);
  Image1.Move(240, 540, 32 * tppX, 32 * tppY);
  Image1.SetBackColor(0xF0F0F0);
  Shape1.Move(0, 0, widthTwips, heightTwips);
  Shape1.SetBorderColor(0x404040);
  // The one icon every box shows: a round amber sign with a dark mark.
  Image1.SyncSurfaceSize();
  vd::Bitmap& icon = Image1.Surface();
  icon.Fill(0xF0F0F0);
  for (int y = 0; y < icon.Height(); ++y) {
    for (int x = 0; x < icon.Width(); ++x) {
      const int dx = 2 * x - icon.Width() + 1, dy = 2 * y - icon.Height() + 1;
      if (dx * dx + dy * dy <= icon.Width() * icon.Width()) icon.SetPixel(x, y, 0x00B4FF);
    }
  }
  icon.FillRect(icon.Width() / 2 - 2, 7, icon.Width() / 2 + 2, 20, 0x202020);
  icon.FillRect(icon.Width() / 2 - 2, 23, icon.Width() / 2 + 2, 27, 0x202020);
  LoadEvent = [this] { MakeTopMost(); };
  auto drag = [this](int, int, float, float) { StartDrag(); };
  Picture1.MouseDown = drag;
  lblTitle.MouseDown = drag;
}

void DialogForm::MakeTopMost() {
  program_.ws.SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void DialogForm::StartDrag() {
  program_.ws.ReleaseCapture();
  program_.ws.SendMessageA(hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

frmMsgBox::frmMsgBox(Program& program)
    : DialogForm(program, "frmMsgBox", 4695, 2115, ""),
      lblDescription(*this, "lblDescription"),
      Frame1(*this, "Frame1", "", forms::ScaleMode::kTwips),
      cmdRespond(Frame1, "cmdRespond") {
  lblDescription.Move(840, 480, 3660, 960);
  lblDescription.SetBackColor(0xF0F0F0);
  lblDescription.SetForeColor(0x000000);
  Frame1.SetBorderStyle(false);
  Frame1.SetBackColor(0xF0F0F0);
  Frame1.Move((4695.0f - 3675.0f) / 2, 1560, 3675, 375);
  cmdRespond(0).Move(0, 0, 1215, 375);
  cmdRespond(0).SetCaption("Yes");
  cmdRespond.Load(1).Move(1260, 0, 1215, 375);
  cmdRespond(1).SetCaption("No");
  cmdRespond.Load(2).Move(2520, 0, 1155, 375);
  cmdRespond(2).SetCaption("Cancel");
  cmdRespond.Click = [this](int index) {
    program_.MessageResult = cmdRespond(index).Caption();
    Unload();
  };
}

void frmMsgBox::Prepare(const std::string& title, const std::string& text,
                        const std::string& buttons) {
  for (int i = 0; i < 3; ++i) cmdRespond(i).SetVisible(false);
  // The captions each end with ";": the part after the last ";" is not a button, so a list
  // without a final ";" loses its last caption. At most three buttons exist.
  std::vector<std::string> parts{""};
  for (char c : buttons) {
    if (c == ';') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  const int n = std::min<int>(static_cast<int>(parts.size()) - 1, 3);
  for (int i = 0; i < n; ++i) {
    cmdRespond(i).SetCaption(parts[static_cast<size_t>(i)]);
    cmdRespond(i).SetVisible(true);
  }
  if (n == 1) {
    cmdRespond(0).SetLeft(Frame1.Width() / 2 - cmdRespond(0).Width() / 2);
  } else if (n == 2) {
    cmdRespond(0).SetLeft(Frame1.Width() / 2 - cmdRespond(0).Width() / 2 - 60);
    cmdRespond(1).SetLeft(cmdRespond(0).Left() + cmdRespond(1).Width() + 120);
  }
  lblTitle.SetCaption(title);
  lblDescription.SetCaption(text);
}

void ShowMessage(Program& program, const std::string& title, const std::string& text,
                 const std::string& /*icon: every box shows the same one*/,
                 const std::string& buttons) {
  frmMsgBox box(program);
  box.Prepare(title, text, buttons);
  box.ShowModal();
}

}  // namespace vd
