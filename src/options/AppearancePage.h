// The "Appearance" page: the pager's four colours, each chosen in the system colour dialog.
#pragma once

#include <array>

#include "forms/ControlArray.h"
#include "options/OptionsStyle.h"

namespace vd {

class Program;

class AppearancePage {
 public:
  AppearancePage(forms::Container& parent, Program& program);

  forms::Frame frame;
  forms::Frame styleGroup;
  // 1 normal, 2 hover, 3 selected, 4 the selection box; 0 the hidden templates.
  forms::ControlArray<forms::PictureBox> colourSwatches;
  forms::ControlArray<forms::Button> colourButtons;

  void Show(const Settings& settings);
  void Collect(Settings& settings) const;
  // Lets the user choose swatch colorIndex's colour (1 to 4) in the system colour dialog.
  void PickColour(int colorIndex);

 private:
  void LayOut();

  Program& program_;
  options::Captions captions_;
  // The custom colours of the colour dialog, kept for the whole run.
  std::array<uint32_t, 16> customColours_{};
};

}  // namespace vd
