#pragma once

// The scroll bars of the scheme window. The horizontal and the vertical bar
// set the view's origin (X0, Y0): each runs from the content's minimum minus
// half the visible size to its maximum minus half the visible size, in grid
// steps; a large change is half the visible size, a small one an eighth of it
// (2 when 16 steps or fewer are visible). The ranges always take in the
// current origin, so that showing them never moves the view, and stay within
// the int16 range of the page records.

#include "scheme/grid.h"
#include "scheme/zoom.h"

namespace kordavelt {

struct ScrollRange {
  int min = 0;
  int max = 0;
  int largeChange = 1;
  int smallChange = 1;
  friend constexpr bool operator==(const ScrollRange&, const ScrollRange&) = default;
};

struct ScrollRanges {
  ScrollRange x;
  ScrollRange y;
};

// The ranges for a drawing area of width × height device units; a page
// without content scrolls around the visible area itself.
ScrollRanges ScrollRangesOf(const GridRect& extents, const ViewState& view, int width, int height);

// The wheel over a scroll bar: `notches` (positive away from the user) move
// `origin` by a sixteenth of the visible size each, towards smaller
// coordinates for positive notches, kept within [min - 9 × notch, max - 8 ×
// notch] of the content's extents `first` … `last` (no bound but the int16
// range when the page has no content: first > last).
int WheelScroll(int origin, int notches, int visibleSteps, int first, int last);

}  // namespace kordavelt
