#include "desktops/GridWalk.h"

namespace vd {

GridKey WalkOf(GridKey key) {
  switch (key) {
    case GridKey::kCarryLeft:
      return GridKey::kLeft;
    case GridKey::kCarryRight:
      return GridKey::kRight;
    case GridKey::kCarryUp:
      return GridKey::kUp;
    case GridKey::kCarryDown:
      return GridKey::kDown;
    default:
      return key;
  }
}

bool Carries(GridKey key) { return WalkOf(key) != key; }

int GridStep(int desktop, int columns, int rows, GridKey key, bool wrap) {
  const int count = columns * rows;
  if (columns < 1 || rows < 1 || desktop < 1 || desktop > count) return desktop;
  const int row = (desktop - 1) / columns, column = (desktop - 1) % columns;
  // One step along a line of `length` places from `at`; -1 off the line.
  auto step = [wrap](int at, int by, int length) {
    const int to = at + by;
    if (to >= 0 && to < length) return to;
    return wrap ? (to + length) % length : -1;
  };
  int to = -1;
  switch (WalkOf(key)) {
    case GridKey::kLeft:
    case GridKey::kRight: {
      const int c = step(column, WalkOf(key) == GridKey::kLeft ? -1 : 1, columns);
      to = c < 0 ? -1 : row * columns + c;
      break;
    }
    case GridKey::kUp:
    case GridKey::kDown: {
      const int r = step(row, WalkOf(key) == GridKey::kUp ? -1 : 1, rows);
      to = r < 0 ? -1 : r * columns + column;
      break;
    }
    case GridKey::kNext:
    case GridKey::kPrevious:
      to = step(desktop - 1, key == GridKey::kNext ? 1 : -1, count);
      break;
    default:
      break;
  }
  return to < 0 ? desktop : to + 1;
}

}  // namespace vd
