#pragma once

// "&Размещение окон": brings every child window of the main window back into
// its client area (less the status bar), so none stays out of reach.

#include <vector>

#include "table/canvas.h"

namespace kordavelt {

// Moves each rectangle that sticks out of `area` back inside it by the least
// distance, keeping its size; a rectangle wider or taller than the area is
// put at the area's left or top edge and shrunk to the area in that direction.
void ArrangeInside(std::vector<Rect>& children, Rect area);

}  // namespace kordavelt
