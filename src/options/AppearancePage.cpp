#include "options/AppearancePage.h"

#include "core/Program.h"
#include "forms/Form.h"

namespace vd {

using options::T;

AppearancePage::AppearancePage(forms::Container& parent, Program& program)
    : frame(parent, "appearancePage", "Appearance"),
      styleGroup(frame, "styleGroup", " Style "),
      colourSwatches(styleGroup, "colourSwatches", forms::ScaleMode::kPixels),
      colourButtons(styleGroup, "colourButtons", "Change..."),
      program_(program) {
  LayOut();
  colourButtons.Click = [this](int index) { PickColour(index); };
}

void AppearancePage::LayOut() {
  styleGroup.Move(T(10), T(24), T(options::kPageWidth - 20), T(146));
  styleGroup.SetBackColor(options::kFace);
  const char* swatches[] = {
      "Normal Backcolor:", "Hover Backcolor:", "Selected Backcolor:", "Selected Border:"};
  // The templates stay hidden; the swatches are in pixels inside the frame's twips.
  colourSwatches(0).SetVisible(false);
  colourSwatches(0).SetBorderStyle(true);
  colourButtons(0).SetVisible(false);
  colourButtons(0).SetToolTipText("Choose a colour");
  for (int i = 1; i <= 4; ++i) {
    const float top = 24 + 28 * static_cast<float>(i - 1);
    captions_.Add(styleGroup, "colourCaption" + std::to_string(i), swatches[i - 1], 12,
                  static_cast<int>(top) + 3, 130);
    forms::PictureBox& swatch = colourSwatches.Load(i);
    swatch.Move(T(148), T(top), T(48), T(21));
    swatch.SetVisible(true);
    forms::Button& pick = colourButtons.Load(i);
    pick.Move(T(204), T(top - 1), T(76), T(23));
    pick.SetVisible(true);
  }
}

void AppearancePage::Show(const Settings& s) {
  colourSwatches(1).SetBackColor(s.colorNormal);
  colourSwatches(2).SetBackColor(s.colorHover);
  colourSwatches(3).SetBackColor(s.colorSelected);
  colourSwatches(4).SetBackColor(s.colorBox);
}

void AppearancePage::Collect(Settings& s) const {
  s.colorNormal = colourSwatches(1).BackColor();
  s.colorHover = colourSwatches(2).BackColor();
  s.colorSelected = colourSwatches(3).BackColor();
  s.colorBox = colourSwatches(4).BackColor();
}

void AppearancePage::PickColour(int colorIndex) {
  if (colorIndex < 1 || !colourSwatches.Exists(colorIndex)) return;
  // No colour is preselected; the custom colours are the user's from earlier choices.
  uint32_t colour = 0;
  if (program_.ws.ChooseColorW(frame.OwnerForm().hWnd(), &colour, &customColours_)) {
    colourSwatches(colorIndex).SetBackColor(colour);
  }
}

}  // namespace vd
