#pragma once

// The shapes of a node on the scheme, in device units.
//
// A busbar (L > 0) is the outline of a rectangle: across the busbar it
// reaches tx to each side with wide busbars on, tx div 2 with them off;
// along it, it runs from a half step (hy for a vertical busbar, hx for a
// horizontal one) before the start point to the same distance beyond the
// end point, a vertical outline one unit lower. A point node (L = 0) is a
// hollow circle of radius max(hx, 3), shown only with circles on or in edit
// mode. The node's text anchor is the busbar point TextPos steps from the
// start.
//
// The selected node is drawn filled over the scheme: half-width
// max(tx + 2, 4) with wide busbars, max(tx div 2 + 1, 4) without, along the
// same length; in edit mode with a grip square of half-size hx around the
// busbar's middle grid point (L div 2 from the start). A selected point node
// is a circle of radius hx + 3.

#include "scheme/grid.h"
#include "scheme/scheme_geometry.h"
#include "scheme/view_settings.h"
#include "scheme/view_transform.h"

namespace kordavelt {

struct NodeShape {
  bool point = false;  // a point node: the circle, else the busbar
  DeviceRect busbar;
  DevicePoint centre;  // of a point node
  double radius = 0;
  bool shown = true;  // false for a point node that is not shown
  DevicePoint textAnchor;
};

struct NodeHighlight {
  bool point = false;
  DeviceRect bar;  // filled
  DevicePoint centre;
  double radius = 0;
  bool grip = false;  // edit mode: the grip square around the middle
  DeviceRect gripSquare;
};

NodeShape ShapeNode(const NodeGeometry& node, const ViewTransform& transform,
                    const ViewSettings& settings, bool editMode);
NodeHighlight HighlightNode(const NodeGeometry& node, const ViewTransform& transform,
                            const ViewSettings& settings, bool editMode);

}  // namespace kordavelt
