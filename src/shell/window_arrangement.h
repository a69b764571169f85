#pragma once

// Where the main window puts its child windows: back inside its client area
// (less the status bar), so none stays out of reach, and cascaded.

#include <vector>

#include "draw/canvas.h"

namespace kordavelt {

// Moves each rectangle that sticks out of `area` back inside it by the least
// distance, keeping its size; a rectangle wider or taller than the area is
// put at the area's left or top edge and shrunk to the area in that direction.
void ArrangeInside(std::vector<Rect>& children, Rect area);

// "Oкна каскадом": the children one over the other, each `step` (a title
// bar's height) further right and down than the one before, starting at the
// area's top left corner and again there once a step would leave less than
// half the area. Each keeps its size as far as the area leaves it room.
void Cascade(std::vector<Rect>& children, Rect area, int step);

}  // namespace kordavelt
