#include "scheme/path_tidy.h"

#include <algorithm>

namespace kordavelt {
namespace {

// Removes `count` values starting at value `first`, shifting the rest down.
void RemoveValues(BranchGeometry& branch, int first, int count) {
  auto& v = branch.xy;
  const int used = branch.nxy + 2;
  std::copy(v.begin() + first + count, v.begin() + used, v.begin() + first);
  branch.nxy -= count;
}

int SegmentsInUse(const BranchGeometry& branch) {
  return std::clamp(branch.nxy, 0, BranchGeometry::kMaxSegments);
}

}  // namespace

bool ZeroLengthSegment(const BranchGeometry& branch, int index) {
  return index >= 0 && index < SegmentsInUse(branch) && branch.xy[index + 2] == branch.xy[index];
}

bool DropZeroFirstSegment(BranchGeometry& branch) {
  if (!ZeroLengthSegment(branch, 0)) return false;
  branch.nxy = SegmentsInUse(branch);
  RemoveValues(branch, 0, 1);
  branch.vertical = !branch.vertical;
  return true;
}

int TidyPath(BranchGeometry& branch, int limit) {
  int removed = 0;
  while (removed < limit) {
    const int segments = SegmentsInUse(branch);
    int zero = 0;
    while (zero < segments && !ZeroLengthSegment(branch, zero)) ++zero;
    if (zero == segments) break;
    branch.nxy = segments;
    if (zero == 0) {
      DropZeroFirstSegment(branch);
    } else if (zero == segments - 1) {
      RemoveValues(branch, zero + 2, 1);
    } else {
      RemoveValues(branch, zero + 1, 2);
    }
    ++removed;
  }
  return removed;
}

}  // namespace kordavelt
