#include "scheme/node_shape.h"

#include <algorithm>

namespace kordavelt {
namespace {

// The busbar's rectangle: `across` to each side, a half step beyond its ends.
DeviceRect BarRect(const NodeGeometry& node, const ViewTransform& transform, double across) {
  const ModuleSizes& s = transform.Sizes();
  const DevicePoint start = transform.ToDevice(node.Start());
  const DevicePoint end = transform.ToDevice(node.End());
  if (node.vertical) {
    return {start.x - across, start.y - s.hy, start.x + across, end.y + s.hy + 1};
  }
  return {start.x - s.hx, start.y - across, end.x + s.hx, start.y + across};
}

}  // namespace

NodeShape ShapeNode(const NodeGeometry& node, const ViewTransform& transform,
                    const ViewSettings& settings, bool editMode) {
  const ModuleSizes& s = transform.Sizes();
  NodeShape shape;
  shape.textAnchor = transform.ToDevice(node.Along(node.textPos));
  if (node.length == 0) {
    shape.point = true;
    shape.centre = transform.ToDevice(node.Start());
    shape.radius = std::max(s.hx, 3);
    shape.shown = settings.roundNodes || editMode;
    return shape;
  }
  shape.busbar = BarRect(node, transform, settings.wideBusbars ? s.tx : s.tx / 2);
  return shape;
}

NodeHighlight HighlightNode(const NodeGeometry& node, const ViewTransform& transform,
                            const ViewSettings& settings, bool editMode) {
  const ModuleSizes& s = transform.Sizes();
  NodeHighlight highlight;
  if (node.length == 0) {
    highlight.point = true;
    highlight.centre = transform.ToDevice(node.Start());
    highlight.radius = s.hx + 3;
    return highlight;
  }
  const int half = settings.wideBusbars ? std::max(s.tx + 2, 4) : std::max(s.tx / 2 + 1, 4);
  highlight.bar = BarRect(node, transform, half);
  if (editMode) {
    const DevicePoint middle = transform.ToDevice(node.Along(node.length / 2));
    highlight.grip = true;
    highlight.gripSquare = {middle.x - s.hx, middle.y - s.hx, middle.x + s.hx, middle.y + s.hx};
  }
  return highlight;
}

}  // namespace kordavelt
