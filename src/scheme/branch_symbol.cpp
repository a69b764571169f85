#include "scheme/branch_symbol.h"

namespace kordavelt {

DevicePoint SymbolPlacement::At(int across, int along) const {
  const double a = static_cast<double>(FloorDiv(static_cast<long long>(across) * stepAcross, 4));
  const double b = static_cast<double>(FloorDiv(static_cast<long long>(along) * stepAlong, 4));
  return {origin.x + a * axisX.x + b * axisY.x, origin.y + a * axisX.y + b * axisY.y};
}

std::optional<SymbolPlacement> PlaceSymbol(const BranchGeometry& branch, const BranchPath& path,
                                           const ViewTransform& transform) {
  if (!branch.HasSymbol() || path.SegmentCount() == 0) return std::nullopt;
  SymbolPlacement symbol;
  symbol.atEnd = branch.SymbolAtEnd();
  symbol.segment = symbol.atEnd ? path.SegmentCount() - 1 : path.SegmentAt(branch.objPos);
  if (symbol.segment < 0) return std::nullopt;
  const PathSegment segment = path.Segment(symbol.segment);
  const GridPoint at = symbol.atEnd ? path.Last() : path.PointAt(branch.objPos);
  const int d = segment.Direction() * (branch.objMirror == -1 ? -1 : 1);

  symbol.origin = transform.ToDevice(at);
  symbol.axisY = segment.vertical ? DevicePoint{0, static_cast<double>(d)}
                                  : DevicePoint{static_cast<double>(d), 0};
  // A turn, not a reflection: x is y turned a quarter counter-clockwise on the
  // screen, as in the unturned picture.
  symbol.axisX = {symbol.axisY.y, -symbol.axisY.x};
  symbol.quarterTurns = segment.vertical ? (d > 0 ? 0 : 2) : (d > 0 ? 1 : 3);
  symbol.stepAlong = segment.vertical ? transform.StepY() : transform.StepX();
  symbol.stepAcross = segment.vertical ? transform.StepX() : transform.StepY();
  symbol.markRadius = symbol.atEnd ? transform.Sizes().tx : transform.Sizes().tx1;
  return symbol;
}

}  // namespace kordavelt
