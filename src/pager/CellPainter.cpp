// The painting of the desktop cells' gradients, with what each cell shows and the looks
// painted so far.
#include "pager/CellPainter.h"

namespace vd {

void CellPainter::Paint(forms::PictureBox& cell, int index, float angle, uint32_t color1,
                        uint32_t color2) {
  cell.SyncSurfaceSize();
  const CellPaint wanted{color1, color2, angle, cell.Surface().Width(), cell.Surface().Height()};
  auto painted = paintedCells_.find(index);
  if (painted != paintedCells_.end() && painted->second == wanted) return;  // nothing changed
  paintedCells_[index] = wanted;
  Bitmap& surface = cell.Surface();
  const auto look = std::make_tuple(surface.Width(), surface.Height(), color1, color2, angle);
  auto cached = cellLooks_.find(look);
  if (cached != cellLooks_.end()) {
    surface.Blit(0, 0, cached->second, 0, 0, surface.Width(), surface.Height());
  } else {
    gradient_.SetAngle(angle);
    gradient_.SetColor1(static_cast<int32_t>(color1));
    gradient_.SetColor2(static_cast<int32_t>(color2));
    if (gradient_.Draw(surface)) {
      // A grid has few looks (three states, one size); a rebuild starts afresh.
      if (cellLooks_.size() >= 64) cellLooks_.clear();
      cellLooks_.emplace(look, surface);
    }
  }
  cell.Refresh();
}

}  // namespace vd
