// Branch paths read from their records. A path read with the wrong axis,
// past XYE or with a wrapped coordinate draws every branch of a network
// somewhere else, so each case pins one way the reading could go wrong.

#include "scheme/branch_path.h"

#include <gtest/gtest.h>

#include "scheme/view_transform.h"
#include "scheme_test_geometry.h"

namespace kordavelt {
namespace {

using testing::Branch;
using testing::PointsOf;

TEST(BranchPath, SegmentsAlternateFromTheOrientationOfTheFirst) {
  EXPECT_EQ(PointsOf(Branch(1, {10, 20, 15, 25, 12})),
            (std::vector<GridPoint>{{10, 20}, {15, 20}, {15, 25}, {12, 25}}));
  // Vertical first: XY1 is the y of the first point, XY3 its new y.
  EXPECT_EQ(PointsOf(Branch(1, {20, 10, 25, 15}, true)),
            (std::vector<GridPoint>{{10, 20}, {10, 25}, {15, 25}}));
  const BranchPath path = BranchPath::Of(Branch(1, {10, 20, 15, 25, 12}));
  EXPECT_EQ(path.Length(), 13);
  EXPECT_TRUE(path.Segment(1).vertical);
  EXPECT_EQ(path.Segment(2).Direction(), -1);
  EXPECT_EQ(path.Segment(2).startDistance, 10);
  EXPECT_EQ(path.Bounds(), (GridRect{10, 20, 15, 25}));
}

TEST(BranchPath, ADamagedSegmentCountNeverReadsPastTheLastValue) {
  BranchGeometry branch = Branch(1, {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6});
  branch.nxy = 255;
  const BranchPath path = BranchPath::Of(branch);
  EXPECT_EQ(path.SegmentCount(), 12);
  EXPECT_EQ(path.Last(), (GridPoint{6, 6}));
  branch.nxy = 0;
  EXPECT_EQ(BranchPath::Of(branch).PointCount(), 1);
  EXPECT_EQ(BranchPath::Of(branch).SegmentAt(0), -1);
}

TEST(BranchPath, DistancesFindTheSegmentThatStartsAtThemAndTheLastEnd) {
  const BranchPath path = BranchPath::Of(Branch(1, {0, 0, 4, 3}));
  EXPECT_EQ(path.SegmentAt(0), 0);
  EXPECT_EQ(path.SegmentAt(3), 0);
  EXPECT_EQ(path.SegmentAt(4), 1);  // the corner belongs to the segment leaving it
  EXPECT_EQ(path.SegmentAt(7), 1);
  EXPECT_EQ(path.SegmentAt(8), -1);
  EXPECT_EQ(path.SegmentAt(-1), -1);
  EXPECT_EQ(path.PointAt(6), (GridPoint{4, 2}));
  EXPECT_EQ(path.PointAt(99), (GridPoint{4, 3}));
}

TEST(BranchPath, CoordinatesAtTheEndsOfTheGridDoNotWrap) {
  const BranchPath path = BranchPath::Of(Branch(1, {-32768, 32767, 32767, -32768}));
  EXPECT_EQ(path.Length(), 2 * 65535);
  EXPECT_EQ(path.PointAt(65535), (GridPoint{32767, 32767}));
  EXPECT_EQ(path.PointAt(65535 + 1), (GridPoint{32767, 32766}));
  const ViewTransform transform({0, 0}, kMaxStep, kMaxStep);
  const std::vector<DevicePoint> device = path.DevicePoints(transform);
  EXPECT_EQ(device.front().x, -32768.0 * kMaxStep);
  EXPECT_EQ(device.back().y, -32768.0 * kMaxStep);
}

}  // namespace
}  // namespace kordavelt
