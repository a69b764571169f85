#pragma once

// The drawing lists of one subscheme: which nodes and branches a redraw
// draws, in table order, and the extents of the page's content, from which
// the scroll ranges and the fits of the zoom are worked out. The lists have
// no fixed capacity: a page holds as many elements as its tables do.

#include <cstddef>
#include <span>
#include <vector>

#include "scheme/grid.h"
#include "scheme/scheme_geometry.h"

namespace kordavelt {

struct DrawingLists {
  int page = 1;
  // Every node busbar and branch path of the page; empty for an empty page.
  GridRect extents;
  // Indices of the page's nodes and branches whose bounds meet the visible area.
  std::vector<std::size_t> nodes;
  std::vector<std::size_t> branches;
};

// The bounds of a branch's path.
GridRect BranchBounds(const BranchGeometry& branch);

// The lists for `page`. `visible` is the grid area the window shows, widened
// by the caller for texts and symbols that reach beyond their element.
DrawingLists BuildDrawingLists(std::span<const NodeGeometry> nodes,
                               std::span<const BranchGeometry> branches, int page,
                               const GridRect& visible);

}  // namespace kordavelt
