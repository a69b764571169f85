#include "scheme/branch_markers.h"

namespace kordavelt {
namespace {

MarkerKind KindOf(const ViewSettings& settings, bool cableLine, bool switchedOn) {
  if (cableLine && settings.cableMarks) return MarkerKind::Triangle;
  if (settings.switchMarkers) return MarkerKind::Box;
  return switchedOn ? MarkerKind::None : MarkerKind::Gap;
}

}  // namespace

EndMarker PlaceEndMarker(GridPoint p, bool vertical, int direction, const ViewTransform& transform,
                         const ViewSettings& settings, bool cableLine, bool switchedOn) {
  const ModuleSizes& s = transform.Sizes();
  const int d = direction < 0 ? -1 : 1;
  const double step = vertical ? transform.StepY() : transform.StepX();
  const double t = vertical ? s.tx : s.ty;
  const DevicePoint o = transform.ToDevice(p);
  // The point `along` units from P along the segment and `across` units across it.
  const auto at = [&](double along, double across) {
    return vertical ? DevicePoint{o.x + across, o.y + d * along}
                    : DevicePoint{o.x + d * along, o.y + across};
  };

  EndMarker marker;
  marker.point = o;
  marker.circleRadius = s.tx1;
  marker.stubFrom = at(s.tx1, 0);
  marker.stubTo = at(step - 2 * t, 0);
  marker.kind = KindOf(settings, cableLine, switchedOn);
  marker.filled = !switchedOn;
  marker.lineFrom = at(step, 0);
  switch (marker.kind) {
    case MarkerKind::Triangle:
      marker.outline = {at(step - 2 * t, -t), at(step - 2 * t, t), at(step, 0)};
      break;
    case MarkerKind::Box:
      marker.outline = {at(step - 2 * t, -t), at(step - 2 * t, t), at(step, t), at(step, -t)};
      break;
    case MarkerKind::Gap:
      marker.barFrom = at(step - t, -t);
      marker.barTo = at(step - t, t);
      break;
    case MarkerKind::None:
      marker.filled = false;
      marker.lineFrom = marker.stubTo;
      break;
  }
  return marker;
}

}  // namespace kordavelt
