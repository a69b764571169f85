#pragma once

// The text of a branch and its direction arrow. The anchor is the path point
// TextPos steps from the first point; the text is placed by TextDir (a 16 on
// a vertical segment counts as 1) around the anchor moved by TextDX, TextDY
// steps, in the colour of the part before the symbol when the anchor lies
// before it. No text is drawn while (f + 2) × stepY is below 24.
//
// The arrow is a chevron at the anchor itself (not moved), pointing the way
// the segment runs from the branch's start to its end, turned round by a
// direction sign of -1. With d = ±1 that way, along y its points are
// (x - tx, y - d·tx), (x, y + d·tx), (x + tx + 1, y - d·(tx + 1)), along x
// (x - d·tx, y - ty), (x + d·tx, y), (x - d·(tx + 1), y + ty + 1). It is
// drawn with arrows on and a TextDir other than 0, and always for the
// selected branch; never when the branch has both a symbol and a text and
// TextPos lies from ObjPos to ObjPos + 2.

#include <array>

#include "scheme/branch_look.h"
#include "scheme/branch_path.h"
#include "scheme/grid.h"
#include "scheme/scheme_geometry.h"
#include "scheme/view_settings.h"
#include "scheme/view_transform.h"

namespace kordavelt {

struct BranchTextPlacement {
  int segment = -1;  // the segment holding TextPos; -1: it lies off the path
  DevicePoint pathPoint;
  bool text = false;   // the text is drawn
  DevicePoint anchor;  // the text's anchor: pathPoint moved by TextDX, TextDY
  int textDir = 0;     // the code it is placed by
  bool beforeSymbol = false;
  bool arrow = false;
  std::array<DevicePoint, 3> chevron{};
};

BranchTextPlacement PlaceBranchText(const BranchGeometry& branch, const BranchPath& path,
                                    const ViewTransform& transform, const ViewSettings& settings,
                                    const BranchLook& look);

// The chevron at `at` pointing along y (`vertical`) or x towards d = ±1.
std::array<DevicePoint, 3> Chevron(DevicePoint at, bool vertical, int d, const ModuleSizes& sizes);

}  // namespace kordavelt
