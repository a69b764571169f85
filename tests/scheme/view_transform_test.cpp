// Grid, device and real coordinates. Guards against an inverse that rounds
// the wrong way left of the origin, a transform that overflows or divides by
// zero at the edges of the grid or with a step of 0, and module sizes that
// fall below what a marker can be drawn with.

#include "scheme/view_transform.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kordavelt {
namespace {

TEST(ViewTransform, GridPointsGoToTheDeviceAndComeBack) {
  for (const int step : {1, 2, 3, 7, 16, 33, kMaxStep}) {
    const ViewTransform transform({-100, 250}, step, step);
    for (const int x : {kGridMin, -101, -100, 0, 99, kGridMax}) {
      for (const int y : {kGridMin, 250, 251, kGridMax}) {
        const std::optional<GridPoint> back = transform.ToGrid(transform.ToDevice({x, y}));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, (GridPoint{x, y})) << "step " << step;
      }
    }
  }
}

TEST(ViewTransform, TheInverseRoundsToTheNearestPointOnBothSidesOfTheOrigin) {
  const ViewTransform transform({10, 10}, 10, 10);
  EXPECT_EQ(transform.ToGrid({4, 5}), (GridPoint{10, 11}));
  EXPECT_EQ(transform.ToGrid({-4, -5}), (GridPoint{10, 10}));
  EXPECT_EQ(transform.ToGrid({-6, -16}), (GridPoint{9, 8}));
}

TEST(ViewTransform, PointsBeyondTheGridAreRefused) {
  const ViewTransform transform({kGridMax, kGridMin}, 16, 16);
  EXPECT_FALSE(transform.ToGrid({16, 0}).has_value());
  EXPECT_FALSE(transform.ToGrid({0, -16}).has_value());
  EXPECT_TRUE(transform.ToGrid({0, 0}).has_value());
  EXPECT_FALSE(transform.ToGrid({1e300, 0}).has_value());
  EXPECT_FALSE(transform.ToGrid({std::nan(""), 0}).has_value());
}

TEST(ViewTransform, AStepOfZeroOrAHugeOneIsBounded) {
  EXPECT_EQ(ViewTransform({0, 0}, 0, -5).StepX(), kMinStep);
  EXPECT_EQ(ViewTransform({0, 0}, 0, -5).StepY(), kMinStep);
  EXPECT_EQ(ViewTransform({0, 0}, 1 << 30, 16).StepX(), kMaxStep);
  const ViewTransform far({kGridMin, kGridMin}, kMaxStep, kMaxStep);
  EXPECT_EQ(far.ToDevice({kGridMax, kGridMax}).x, 65535.0 * kMaxStep);
}

TEST(ViewTransform, RealUnitsScaleTheGridAndMeetTheDevice) {
  const ViewTransform transform({4, 2}, 20, 20, 5.0);
  EXPECT_EQ(transform.ToReal(GridPoint{3, -1}), (RealPoint{15, -5}));
  EXPECT_EQ(transform.RealToDevice(RealPoint{20, 10}), (DevicePoint{0, 0}));
  EXPECT_EQ(transform.DeviceToReal(DevicePoint{10, 30}), (RealPoint{22.5, 17.5}));
  EXPECT_EQ(transform.RealToGrid(RealPoint{17.6, -2.4}), (GridPoint{4, 0}));
  EXPECT_EQ(ViewTransform({0, 0}, 16, 16, 0.0).UnitsPerStep(), 1.0);
}

}  // namespace
}  // namespace kordavelt
