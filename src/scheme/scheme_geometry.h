#pragma once

// The scheme geometry of one node or branch as plain values, copied out of
// its XYNode or XYBranch record: what the checks, the drawing lists and the
// placement rules work on, so that none of them reads a record twice or
// depends on the tables being open.

#include <array>
#include <cstdint>

#include "scheme/grid.h"

namespace kordavelt {

class XYNodeRec;
class XYBranchRec;

// Where a node's busbar lies on one subscheme.
struct NodeGeometry {
  std::int32_t key = 0;  // the node number
  std::int16_t x = 0;    // start of the busbar: its left or top end
  std::int16_t y = 0;
  int length = 0;  // busbar length in steps; 0 = a point node
  int textDir = 0;
  int textPos = 0;  // text anchor: steps from the start along the busbar
  bool vertical = false;
  int page = 1;
  std::int32_t record = 0;  // its record number when read from the table

  GridPoint Start() const { return {x, y}; }
  // The point `steps` from the start along the busbar.
  GridPoint Along(int steps) const {
    return vertical ? GridPoint{x, y + steps} : GridPoint{x + steps, y};
  }
  GridPoint End() const { return Along(length); }
  GridRect Bounds() const {
    const GridPoint end = End();
    return {x, y, end.x, end.y};
  }
};

// Along which path a branch runs and where its symbol and text sit.
struct BranchGeometry {
  static constexpr int kValues = 14;  // XY1 … XYE
  static constexpr int kMaxSegments = kValues - 2;
  static constexpr int kObjectAtEnd = 32767;

  std::int32_t key = 0;  // the branch key
  // The path: the first point, then the coordinate each segment changes.
  std::array<std::int16_t, kValues> xy{};
  int textDx = 0;  // text offset, steps
  int textDy = 0;
  int objType = 0;        // object kind of the symbol; 0 = none
  int objMirror = 1;      // -1 turns the symbol against the path; any other value counts as +1
  int objPos = 0;         // symbol position along the path; kObjectAtEnd, or 0 and less = none
  int textPos = 0;        // text anchor: steps along the path
  bool vertical = false;  // the first segment is vertical
  int nxy = 0;            // segments after the first point
  int textDir = 0;
  int page = 1;
  std::int32_t record = 0;  // its record number when read from the table

  bool HasSymbol() const { return objType != 0 && objPos > 0; }
  bool SymbolAtEnd() const { return objPos == kObjectAtEnd; }
};

NodeGeometry NodeGeometryOf(std::int32_t key, const XYNodeRec& record);
void StoreNodeGeometry(const NodeGeometry& node, XYNodeRec& record);
BranchGeometry BranchGeometryOf(std::int32_t key, const XYBranchRec& record);
void StoreBranchGeometry(const BranchGeometry& branch, XYBranchRec& record);

}  // namespace kordavelt
