// The painting of the desktop cells: a cell's surface filled with its gradient (two colours at
// an angle), drawn only when the cell's look or size changed, and copied rather than drawn
// again when the cell goes back to a look painted before.
#pragma once

#include <cstdint>
#include <map>
#include <tuple>
#include <unordered_map>

#include "forms/Controls.h"
#include "pager/GradientPainter.h"
#include "platform/Bitmap.h"
#include "platform/WindowSystem.h"

namespace vd {

class CellPainter {
 public:
  explicit CellPainter(WindowSystem& ws) : gradient_(ws) {}

  // Paints the cell of desktop index with the gradient from color1 to color2 at angle degrees
  // and refreshes it; a cell that already shows that look at its size is left as it is.
  void Paint(forms::PictureBox& cell, int index, float angle, uint32_t color1, uint32_t color2);
  // Forgets what each cell shows (the grid was rebuilt): the next Paint of a cell draws it.
  void Forget() { paintedCells_.clear(); }

 private:
  // What a cell shows: it is painted again only when its colours, angle or size change.
  struct CellPaint {
    uint32_t color1 = 0, color2 = 0;
    float angle = 0;
    int width = 0, height = 0;
    bool operator==(const CellPaint&) const = default;
  };
  std::unordered_map<int, CellPaint> paintedCells_;  // by desktop
  GradientPainter gradient_;
  // The looks painted so far, by size and colours: a cell that goes back to a look it had
  // before is copied, not drawn line by line again.
  std::map<std::tuple<int, int, uint32_t, uint32_t, float>, Bitmap> cellLooks_;
};

}  // namespace vd
