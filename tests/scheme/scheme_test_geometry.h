#pragma once

// Geometry for the scheme tests, written the way a branch record holds it:
//   Branch(258, {0, 0, 5, 3}) is a path right from (0, 0) to (5, 0), then down to (5, 3).

#include <initializer_list>
#include <vector>

#include "scheme/branch_path.h"
#include "scheme/scheme_geometry.h"

namespace kordavelt::testing {

// A branch on page 1 whose path starts horizontally (or vertically) with
// these values; Nxy = number of values - 2.
inline BranchGeometry Branch(std::int32_t key, std::initializer_list<int> values,
                             bool vertical = false) {
  BranchGeometry branch;
  branch.key = key;
  branch.vertical = vertical;
  int i = 0;
  for (const int value : values) branch.xy[i++] = static_cast<std::int16_t>(value);
  branch.nxy = static_cast<int>(values.size()) - 2;
  return branch;
}

inline NodeGeometry Node(std::int32_t key, int x, int y, int length, bool vertical = false,
                         int page = 1) {
  NodeGeometry node;
  node.key = key;
  node.x = static_cast<std::int16_t>(x);
  node.y = static_cast<std::int16_t>(y);
  node.length = length;
  node.vertical = vertical;
  node.page = page;
  return node;
}

inline std::vector<GridPoint> PointsOf(const BranchGeometry& branch) {
  const BranchPath path = BranchPath::Of(branch);
  std::vector<GridPoint> points;
  for (int i = 0; i < path.PointCount(); ++i) points.push_back(path.Point(i));
  return points;
}

}  // namespace kordavelt::testing
