#include "pager/DesktopNote.h"

#include "core/Program.h"
#include "desktops/Transparency.h"

namespace vd {

namespace {
constexpr int kShownAlpha = 230, kFadeStep = 46;  // five steps of 60 ms
constexpr float kWidth = 360, kHeight = 64;       // pixels at 100 %
}  // namespace

DesktopNote::DesktopNote(Program& program)
    : forms::Form(program.backend, "DesktopNote"),
      text(*this, "text", ""),
      holdTimer(*this, "holdTimer", 700, false),
      fadeTimer(*this, "fadeTimer", 60, false),
      program_(program) {
  SetVisible(false);
  SetActivatesWhenShown(false);
  SetBackColor(0x202020);
  forms::Font big;
  big.bold = true;
  big.size = 16;
  text.SetFont(big);
  text.SetForeColor(0xFFFFFF);
  text.SetBackColor(0x202020);
  text.SetAlignment(forms::Alignment::kCenter);
  holdTimer.Tick = [this] {
    holdTimer.SetEnabled(false);
    fadeTimer.SetEnabled(true);
  };
  fadeTimer.Tick = [this] { OnFadeTick(); };
}

void DesktopNote::Tell(const std::string& title) {
  constexpr float tpp = forms::kTwipsPerPixel;
  const float screenW = static_cast<float>(program_.ws.GetSystemMetrics(SM_CXSCREEN));
  const float screenH = static_cast<float>(program_.ws.GetSystemMetrics(SM_CYSCREEN));
  const float width = kWidth * tpp, height = kHeight * tpp;
  Move((screenW * TwipsPerScreenPixel() - width) / 2,
       (screenH * TwipsPerScreenPixel() - height) / 2, width, height);
  text.Move(0, (height - 420) / 2, width, 420);
  text.SetCaption(title);
  alpha_ = kShownAlpha;
  transparency::SetWindowAlpha(program_.ws, hWnd(), alpha_);
  fadeTimer.SetEnabled(false);
  holdTimer.SetEnabled(true);  // from the start again
  Show();
  program_.ws.SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  Refresh();
}

void DesktopNote::OnFadeTick() {
  alpha_ -= kFadeStep;
  if (alpha_ > 0) {
    transparency::SetWindowAlpha(program_.ws, hWnd(), alpha_);
    return;
  }
  alpha_ = 0;
  fadeTimer.SetEnabled(false);
  Hide();
}

}  // namespace vd
