// Where a grid key leads from a desktop: the desktops are numbered along the rows, the first
// row first, as the pager shows them.
#pragma once

#include "settings/Settings.h"

namespace vd {

// The desktop the key leads to from `desktop` in a grid of `columns` x `rows`: the neighbour
// on that side (or the next or previous number). Off an edge the walk comes in at the other
// side of the same row or column (the other end of the numbers) when `wrap` is on, and stays
// where it is when it is off. kBack and the carrying keys lead where their walking key does;
// kBack is not a step in the grid and leads nowhere (the desktop itself).
int GridStep(int desktop, int columns, int rows, GridKey key, bool wrap);

// The walking key a carrying key moves by (kCarryLeft: kLeft); the key itself otherwise.
GridKey WalkOf(GridKey key);
bool Carries(GridKey key);

}  // namespace vd
