#pragma once

// A whole branch laid out for drawing, as the walk along its path gives it:
// the line in two parts (c1 up to the symbol, c2 from the symbol's far end;
// a branch without symbol is all c2, one whose symbol stands at its end all
// c1), the markers at its connection points, the symbol, the text and the
// arrow.
//
// The start marker is drawn when the branch has no object kind or its ObjPos
// is above 0, the end marker unless the symbol stands at the path's end;
// each only when its point lies in the visible area. The line starts and
// ends where the markers let it go on.

#include <optional>
#include <vector>

#include "scheme/branch_look.h"
#include "scheme/branch_markers.h"
#include "scheme/branch_path.h"
#include "scheme/branch_symbol.h"
#include "scheme/branch_text.h"
#include "scheme/grid.h"
#include "scheme/scheme_geometry.h"
#include "scheme/view_settings.h"
#include "scheme/view_transform.h"

namespace kordavelt {

struct BranchLayout {
  std::vector<DevicePoint> first;         // drawn in c1
  std::vector<DevicePoint> second;        // drawn in c2
  std::optional<EndMarker> startMarker;   // in the colour of the line it starts
  std::optional<EndMarker> endMarker;     // in c2
  std::optional<SymbolPlacement> symbol;  // in c1
  BranchTextPlacement text;
  int penWidth = 1;
  // A selected branch: the whole path under a wide pen in the inverted
  // colour, then the line dashed with pen width 1 on top.
  bool dashed = false;
  std::vector<DevicePoint> selection;
  int selectionPenWidth = 0;

  // True when the line that starts at the first point is c1.
  bool StartsInFirstColour() const { return !first.empty(); }
};

BranchLayout LayoutBranch(const BranchGeometry& branch, const ViewTransform& transform,
                          const ViewSettings& settings, const BranchLook& look,
                          const GridRect& visible);

}  // namespace kordavelt
