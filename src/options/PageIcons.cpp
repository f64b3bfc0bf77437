#include "options/PageIcons.h"

#include "options/OptionsStyle.h"

namespace vd::options {

namespace {

Bitmap Blank(uint32_t face) { return Bitmap(20, 20, face); }

}  // namespace

Bitmap IconGeneral(uint32_t face) {
  Bitmap icon = Blank(face);
  // Three sliders.
  const int knobs[] = {12, 5, 9};
  for (int i = 0; i < 3; ++i) {
    const int y = 4 + i * 6;
    icon.FillRect(2, y, 18, y + 1, 0x606060);
    icon.FillRect(knobs[i] - 2, y - 2, knobs[i] + 2, y + 3, kAccent);
  }
  return icon;
}

Bitmap IconDesktops(uint32_t face) {
  Bitmap icon = Blank(face);
  // A grid of four desktops, the first one chosen.
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 2; ++column) {
      const int x = 2 + column * 9, y = 2 + row * 9;
      icon.FillRect(x, y, x + 7, y + 7, row == 0 && column == 0 ? kAccent : 0x785A46);
    }
  }
  return icon;
}

Bitmap IconPanic(uint32_t face) {
  Bitmap icon = Blank(face);
  // A red round sign with a white mark.
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const int dx = 2 * x - 19, dy = 2 * y - 19;
      if (dx * dx + dy * dy <= 18 * 18) icon.SetPixel(x, y, 0x2020D0);
    }
  }
  icon.FillRect(9, 4, 11, 12, 0xFFFFFF);
  icon.FillRect(9, 14, 11, 16, 0xFFFFFF);
  return icon;
}

Bitmap IconAppearance(uint32_t face) {
  Bitmap icon = Blank(face);
  // Four colour swatches.
  const uint32_t colours[] = {0x3030E0, 0x30B030, 0xE07020, 0x00C8FF};
  for (int i = 0; i < 4; ++i) {
    const int x = 2 + (i % 2) * 9, y = 2 + (i / 2) * 9;
    icon.FillRect(x, y, x + 7, y + 7, colours[i]);
    icon.FrameRect(x, y, x + 7, y + 7, 0x404040);
  }
  return icon;
}

Bitmap IconConfirm(uint32_t face) {
  Bitmap icon(16, 16, face);
  // A green tick, three pixels thick.
  for (int t = 0; t < 3; ++t) {
    icon.Line(2, 8 + t, 6, 12 + t, 0x20A020);
    icon.Line(6, 12 + t, 14, 4 + t, 0x20A020);
  }
  return icon;
}

}  // namespace vd::options
