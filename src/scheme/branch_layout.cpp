#include "scheme/branch_layout.h"

namespace kordavelt {
namespace {

std::optional<EndMarker> StartMarker(const BranchGeometry& branch, const BranchPath& path,
                                     const ViewTransform& transform, const ViewSettings& settings,
                                     const BranchLook& look, const GridRect& visible) {
  const bool wanted = branch.objType == 0 || branch.objPos > 0;
  if (!wanted || path.SegmentCount() == 0 || !visible.Contains(path.First())) return std::nullopt;
  const PathSegment segment = path.Segment(0);
  return PlaceEndMarker(path.First(), segment.vertical, segment.Direction(), transform, settings,
                        look.cableLine, look.switchedOn);
}

std::optional<EndMarker> EndMarkerOf(const BranchGeometry& branch, const BranchPath& path,
                                     const ViewTransform& transform, const ViewSettings& settings,
                                     const BranchLook& look, const GridRect& visible) {
  if (branch.HasSymbol() && branch.SymbolAtEnd()) return std::nullopt;
  if (path.SegmentCount() == 0 || !visible.Contains(path.Last())) return std::nullopt;
  // Walking backwards: away from the last point is against the last segment.
  const PathSegment segment = path.Segment(path.SegmentCount() - 1);
  return PlaceEndMarker(path.Last(), segment.vertical, -segment.Direction(), transform, settings,
                        look.cableLine, look.switchedOn);
}

// The path's device points from point `from` to point `to`, both included.
void AppendPoints(std::vector<DevicePoint>& line, const BranchPath& path,
                  const ViewTransform& transform, int from, int to) {
  for (int i = from; i <= to; ++i) line.push_back(transform.ToDevice(path.Point(i)));
}

}  // namespace

BranchLayout LayoutBranch(const BranchGeometry& branch, const ViewTransform& transform,
                          const ViewSettings& settings, const BranchLook& look,
                          const GridRect& visible) {
  const BranchPath path = BranchPath::Of(branch);
  BranchLayout layout;
  layout.startMarker = StartMarker(branch, path, transform, settings, look, visible);
  layout.endMarker = EndMarkerOf(branch, path, transform, settings, look, visible);
  layout.symbol = PlaceSymbol(branch, path, transform);
  layout.text = PlaceBranchText(branch, path, transform, settings, look);

  const int last = path.PointCount() - 1;
  if (!layout.symbol) {
    AppendPoints(layout.second, path, transform, 0, last);
  } else if (layout.symbol->atEnd) {
    AppendPoints(layout.first, path, transform, 0, last);
  } else {
    const int segment = layout.symbol->segment;
    AppendPoints(layout.first, path, transform, 0, segment);
    layout.first.push_back(layout.symbol->origin);
    layout.second.push_back(layout.symbol->FarEnd(look.symbolReach));
    AppendPoints(layout.second, path, transform, segment + 1, last);
  }
  std::vector<DevicePoint>& opening = layout.first.empty() ? layout.second : layout.first;
  if (layout.startMarker) opening.front() = layout.startMarker->lineFrom;
  if (layout.endMarker) layout.second.back() = layout.endMarker->lineFrom;

  layout.dashed = look.selected;
  layout.penWidth = look.selected ? 1 : PenWidth(settings, transform.StepX());
  if (look.selected) {
    layout.selection = path.DevicePoints(transform);
    layout.selectionPenWidth = SelectedPenWidth(transform.StepY());
  }
  return layout;
}

}  // namespace kordavelt
