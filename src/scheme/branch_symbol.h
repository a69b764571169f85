#pragma once

// Where the object symbol of a branch stands. The symbol's picture (a
// picture string with its connection points) is drawn with its first
// connection point at the path point ObjPos steps from the start, or at the
// last point for ObjPos 32767. One picture digit is a quarter of the step
// (digit × step div 4). The picture's y axis runs along the segment, in the
// segment's direction times ObjMirror, and its x axis across it, so the
// picture turns with the segment: a symbol at the path's end is turned along
// the last segment. The branch line goes on from the symbol's far end.

#include <optional>

#include "scheme/branch_path.h"
#include "scheme/grid.h"
#include "scheme/scheme_geometry.h"
#include "scheme/view_transform.h"

namespace kordavelt {

struct SymbolPlacement {
  DevicePoint origin;  // where the first connection point goes
  // Unit vectors of the picture's axes on the device.
  DevicePoint axisX;
  DevicePoint axisY;
  int stepAcross = 16;  // device step across the segment and along it
  int stepAlong = 16;
  // Counter-clockwise quarter turns of the picture on the screen: 0 while
  // its y axis runs downwards, 1 rightwards, 2 upwards, 3 leftwards.
  int quarterTurns = 0;
  int segment = 0;  // the path segment it stands on
  bool atEnd = false;
  double markRadius = 0;  // the edit-mode mark of a selected branch's symbol position

  int AngleDegrees() const { return 90 * quarterTurns; }
  // The device point of a picture point `across`, `along` digits from the
  // first connection point.
  DevicePoint At(int across, int along) const;
  // Where the line goes on: `reach` digits along from the first connection
  // point (the second connection point's y less the first's).
  DevicePoint FarEnd(int reach) const { return At(0, reach); }
};

// The symbol's place; nothing for a branch without symbol (no kind, or
// ObjPos 0 or less) or one whose ObjPos lies beyond its path.
std::optional<SymbolPlacement> PlaceSymbol(const BranchGeometry& branch, const BranchPath& path,
                                           const ViewTransform& transform);

}  // namespace kordavelt
