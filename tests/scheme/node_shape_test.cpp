// The shapes of nodes. Guards against busbars drawn across the wrong axis,
// outlines that do not reach beyond the ends where branches attach, point
// nodes shown or hidden against the settings, and selection shapes smaller
// than the busbar they cover.

#include "scheme/node_shape.h"

#include <gtest/gtest.h>

#include "scheme_test_geometry.h"

namespace kordavelt {
namespace {

using testing::Node;

const ViewTransform kView({0, 0}, 15, 15);  // hx 7, tx 5

TEST(NodeShape, BusbarsReachAHalfStepBeyondTheirEndsAndAThirdAcross) {
  ViewSettings settings;
  NodeGeometry bar = Node(1, 2, 3, 4);
  bar.textPos = 1;
  const NodeShape wide = ShapeNode(bar, kView, settings, false);
  EXPECT_FALSE(wide.point);
  EXPECT_EQ(wide.busbar, (DeviceRect{23, 40, 97, 50}));
  EXPECT_EQ(wide.textAnchor, (DevicePoint{45, 45}));
  settings.wideBusbars = false;
  EXPECT_EQ(ShapeNode(bar, kView, settings, false).busbar, (DeviceRect{23, 43, 97, 47}));

  NodeGeometry column = Node(1, 2, 3, 4, true);
  column.textPos = 1;
  settings.wideBusbars = true;
  const NodeShape down = ShapeNode(column, kView, settings, false);
  EXPECT_EQ(down.busbar, (DeviceRect{25, 38, 35, 113}));
  EXPECT_EQ(down.textAnchor, (DevicePoint{30, 60}));
}

TEST(NodeShape, PointNodesShowAsCirclesWhenAskedOrWhileEditing) {
  ViewSettings settings;
  const NodeGeometry point = Node(1, 2, 3, 0);
  const NodeShape shown = ShapeNode(point, kView, settings, false);
  EXPECT_TRUE(shown.point);
  EXPECT_TRUE(shown.shown);
  EXPECT_EQ(shown.centre, (DevicePoint{30, 45}));
  EXPECT_EQ(shown.radius, 7);
  settings.roundNodes = false;
  EXPECT_FALSE(ShapeNode(point, kView, settings, false).shown);
  EXPECT_TRUE(ShapeNode(point, kView, settings, true).shown);
  EXPECT_EQ(ShapeNode(point, ViewTransform({0, 0}, 4, 4), settings, true).radius, 3);
}

TEST(NodeShape, TheSelectionCoversTheBusbarWithAGripWhileEditing) {
  ViewSettings settings;
  const NodeGeometry bar = Node(1, 2, 3, 4);
  const NodeHighlight view = HighlightNode(bar, kView, settings, false);
  EXPECT_EQ(view.bar, (DeviceRect{23, 38, 97, 52}));
  EXPECT_FALSE(view.grip);
  const NodeHighlight edit = HighlightNode(bar, kView, settings, true);
  EXPECT_TRUE(edit.grip);
  EXPECT_EQ(edit.gripSquare, (DeviceRect{53, 38, 67, 52}));
  settings.wideBusbars = false;
  EXPECT_EQ(HighlightNode(bar, kView, settings, false).bar, (DeviceRect{23, 41, 97, 49}));
  EXPECT_EQ(HighlightNode(Node(1, 2, 3, 0), kView, settings, false).radius, 10);
  EXPECT_EQ(HighlightNode(Node(1, 2, 3, 0), ViewTransform({0, 0}, 4, 4), settings, false).radius,
            5);
}

}  // namespace
}  // namespace kordavelt
