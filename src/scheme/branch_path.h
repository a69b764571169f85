#pragma once

// The path of a branch: an orthogonal polyline of at most 12 segments.
//
// The record holds it compactly. When the first segment is horizontal the
// first point is (XY1, XY2), when it is vertical (XY2, XY1); every further
// value replaces the coordinate its segment changes, the segments alternating
// between horizontal and vertical. So XY1 and XY3 are both on the first
// segment's axis, and a segment has zero length when its value equals the
// one two places before it.
//
// Distances along the path are whole grid steps from its first point; the
// symbol (ObjPos) and the text anchor (TextPos) are given that way.

#include <array>
#include <cstdlib>
#include <vector>

#include "scheme/grid.h"
#include "scheme/scheme_geometry.h"

namespace kordavelt {

class ViewTransform;

struct PathSegment {
  GridPoint from;
  GridPoint to;
  bool vertical = false;
  int startDistance = 0;  // path length at `from`

  int Length() const { return vertical ? std::abs(to.y - from.y) : std::abs(to.x - from.x); }
  // +1 when the segment runs towards larger coordinates, -1 towards smaller;
  // a zero-length segment counts as +1.
  int Direction() const {
    const int delta = vertical ? to.y - from.y : to.x - from.x;
    return delta < 0 ? -1 : 1;
  }
};

class BranchPath {
 public:
  static constexpr int kMaxPoints = BranchGeometry::kMaxSegments + 1;

  // The path a record describes. Nxy is read as at most 12, so a damaged
  // record never reads past XYE; Nxy 0 gives the first point alone.
  static BranchPath Of(const BranchGeometry& branch);

  int PointCount() const { return count_; }
  GridPoint Point(int index) const { return points_[index]; }
  GridPoint First() const { return points_[0]; }
  GridPoint Last() const { return points_[count_ - 1]; }
  int SegmentCount() const { return count_ - 1; }
  PathSegment Segment(int index) const;
  // The whole length in steps.
  int Length() const { return distance_[count_ - 1]; }
  GridRect Bounds() const;

  // The segment that holds the point `distance` steps from the first point:
  // each segment holds its start, the last one its end too; -1 when the
  // distance lies outside the path (or the path has no segment).
  int SegmentAt(int distance) const;
  // The point `distance` steps along the path, clamped to its ends.
  GridPoint PointAt(int distance) const;

  // The points in real units and in device units.
  std::vector<RealPoint> RealPoints(const ViewTransform& transform) const;
  std::vector<DevicePoint> DevicePoints(const ViewTransform& transform) const;

 private:
  std::array<GridPoint, kMaxPoints> points_{};
  std::array<bool, kMaxPoints> verticalFrom_{};  // orientation of the segment from point i
  std::array<int, kMaxPoints> distance_{};       // path length at point i
  int count_ = 1;
};

}  // namespace kordavelt
