#include "scheme/branch_text.h"

#include "scheme/text_placement.h"

namespace kordavelt {
namespace {

// The arrow stays off the symbol it would cross.
bool ArrowOnSymbol(const BranchGeometry& branch, const BranchLook& look) {
  return branch.HasSymbol() && look.hasText && branch.textPos >= branch.objPos &&
         branch.textPos <= static_cast<long long>(branch.objPos) + 2;
}

}  // namespace

std::array<DevicePoint, 3> Chevron(DevicePoint at, bool vertical, int d, const ModuleSizes& s) {
  const double x = at.x;
  const double y = at.y;
  if (vertical) {
    return {{{x - s.tx, y - d * s.tx}, {x, y + d * s.tx}, {x + s.tx + 1, y - d * (s.tx + 1)}}};
  }
  return {{{x - d * s.tx, y - s.ty}, {x + d * s.tx, y}, {x - d * (s.tx + 1), y + s.ty + 1}}};
}

BranchTextPlacement PlaceBranchText(const BranchGeometry& branch, const BranchPath& path,
                                    const ViewTransform& transform, const ViewSettings& settings,
                                    const BranchLook& look) {
  BranchTextPlacement placement;
  placement.segment = path.SegmentAt(branch.textPos);
  if (placement.segment < 0) return placement;
  const PathSegment segment = path.Segment(placement.segment);
  const GridPoint at = path.PointAt(branch.textPos);
  placement.pathPoint = transform.ToDevice(at);
  placement.anchor = transform.ToDevice({at.x + branch.textDx, at.y + branch.textDy});
  placement.textDir = BranchTextDir(branch.textDir, segment.vertical);
  placement.text = look.hasText && TextShown(placement.textDir) &&
                   BranchTextsShown(settings.fontFactor, transform.StepY());
  placement.beforeSymbol = branch.HasSymbol() && branch.textPos < branch.objPos;
  placement.arrow = (look.selected || (settings.branchArrows && branch.textDir != 0)) &&
                    !ArrowOnSymbol(branch, look);
  const int d = segment.Direction() * (look.directionSign == -1 ? -1 : 1);
  placement.chevron = Chevron(placement.pathPoint, segment.vertical, d, transform.Sizes());
  return placement;
}

}  // namespace kordavelt
