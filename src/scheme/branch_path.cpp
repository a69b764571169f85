#include "scheme/branch_path.h"

#include <algorithm>
#include <cstdlib>

#include "scheme/view_transform.h"

namespace kordavelt {

BranchPath BranchPath::Of(const BranchGeometry& branch) {
  BranchPath path;
  const auto& v = branch.xy;
  path.points_[0] = branch.vertical ? GridPoint{v[1], v[0]} : GridPoint{v[0], v[1]};
  const int segments = std::clamp(branch.nxy, 0, BranchGeometry::kMaxSegments);
  bool vertical = branch.vertical;
  for (int k = 0; k < segments; ++k) {
    const GridPoint from = path.points_[k];
    GridPoint to = from;
    (vertical ? to.y : to.x) = v[k + 2];
    path.verticalFrom_[k] = vertical;
    path.points_[k + 1] = to;
    path.distance_[k + 1] = path.distance_[k] + std::abs(vertical ? to.y - from.y : to.x - from.x);
    vertical = !vertical;
  }
  path.count_ = segments + 1;
  return path;
}

PathSegment BranchPath::Segment(int index) const {
  return {points_[index], points_[index + 1], verticalFrom_[index], distance_[index]};
}

GridRect BranchPath::Bounds() const {
  GridRect bounds;
  for (int i = 0; i < count_; ++i) bounds.Include(points_[i]);
  return bounds;
}

int BranchPath::SegmentAt(int distance) const {
  const int last = SegmentCount() - 1;
  if (last < 0 || distance < 0 || distance > Length()) return -1;
  for (int k = 0; k < last; ++k) {
    if (distance < distance_[k + 1]) return k;
  }
  return last;
}

GridPoint BranchPath::PointAt(int distance) const {
  if (distance <= 0 || SegmentCount() == 0) return First();
  if (distance >= Length()) return Last();
  const PathSegment segment = Segment(SegmentAt(distance));
  GridPoint p = segment.from;
  (segment.vertical ? p.y : p.x) += segment.Direction() * (distance - segment.startDistance);
  return p;
}

std::vector<RealPoint> BranchPath::RealPoints(const ViewTransform& transform) const {
  std::vector<RealPoint> real;
  real.reserve(count_);
  for (int i = 0; i < count_; ++i) real.push_back(transform.ToReal(points_[i]));
  return real;
}

std::vector<DevicePoint> BranchPath::DevicePoints(const ViewTransform& transform) const {
  std::vector<DevicePoint> device;
  device.reserve(count_);
  for (int i = 0; i < count_; ++i) device.push_back(transform.ToDevice(points_[i]));
  return device;
}

}  // namespace kordavelt
