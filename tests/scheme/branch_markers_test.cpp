// The markers at branch ends. Guards against a marker drawn on the wrong
// side of its point, switch states shown the wrong way round (a switched-off
// branch must show filled boxes, or a gap), and a line that does not go on
// where the marker ends.

#include "scheme/branch_markers.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

const ViewTransform kView({0, 0}, 15, 15);  // t = 5, t1 = 4

EndMarker Marker(const ViewSettings& settings, bool cable, bool on, bool vertical = true,
                 int direction = 1) {
  return PlaceEndMarker({2, 2}, vertical, direction, kView, settings, cable, on);
}

TEST(BranchMarkers, TheKindFollowsTheSettingsAndTheSwitchState) {
  ViewSettings settings;
  EXPECT_EQ(Marker(settings, true, true).kind, MarkerKind::Triangle);
  EXPECT_EQ(Marker(settings, false, true).kind, MarkerKind::Box);
  settings.cableMarks = false;
  EXPECT_EQ(Marker(settings, true, true).kind, MarkerKind::Box);
  settings.switchMarkers = false;
  EXPECT_EQ(Marker(settings, false, true).kind, MarkerKind::None);
  EXPECT_EQ(Marker(settings, false, false).kind, MarkerKind::Gap);
  settings.cableMarks = true;
  EXPECT_EQ(Marker(settings, true, false).kind, MarkerKind::Triangle);
  EXPECT_TRUE(Marker(settings, true, false).filled);
  EXPECT_FALSE(Marker(settings, true, true).filled);
}

TEST(BranchMarkers, ABoxStandsOneGridStepFromThePointAlongTheSegment) {
  const EndMarker box = Marker(ViewSettings{}, false, false);
  EXPECT_EQ(box.point, (DevicePoint{30, 30}));
  EXPECT_EQ(box.circleRadius, 4);
  EXPECT_EQ(box.stubFrom, (DevicePoint{30, 34}));
  EXPECT_EQ(box.stubTo, (DevicePoint{30, 35}));
  EXPECT_EQ(box.outline, (std::vector<DevicePoint>{{25, 35}, {35, 35}, {35, 45}, {25, 45}}));
  EXPECT_TRUE(box.filled);
  EXPECT_EQ(box.lineFrom, (DevicePoint{30, 45}));
}

TEST(BranchMarkers, TriangleGapAndNothingEachLetTheLineGoOnInTheirPlace) {
  const EndMarker triangle = Marker(ViewSettings{}, true, true);
  EXPECT_EQ(triangle.outline, (std::vector<DevicePoint>{{25, 35}, {35, 35}, {30, 45}}));
  EXPECT_EQ(triangle.lineFrom, (DevicePoint{30, 45}));
  ViewSettings plain;
  plain.switchMarkers = false;
  const EndMarker gap = Marker(plain, false, false);
  EXPECT_EQ(gap.barFrom, (DevicePoint{25, 40}));
  EXPECT_EQ(gap.barTo, (DevicePoint{35, 40}));
  EXPECT_EQ(gap.lineFrom, (DevicePoint{30, 45}));
  const EndMarker none = Marker(plain, false, true);
  EXPECT_TRUE(none.outline.empty());
  EXPECT_EQ(none.lineFrom, (DevicePoint{30, 35}));
}

TEST(BranchMarkers, TheThirdStepIsTakenAcrossTheSegment) {
  const ViewTransform uneven({0, 0}, 18, 24);  // tx 6, ty 8
  const EndMarker down = PlaceEndMarker({0, 0}, true, 1, uneven, ViewSettings{}, false, true);
  EXPECT_EQ(down.stubTo, (DevicePoint{0, 12}));
  EXPECT_EQ(down.outline[1], (DevicePoint{6, 12}));
  const EndMarker right = PlaceEndMarker({0, 0}, false, 1, uneven, ViewSettings{}, false, true);
  EXPECT_EQ(right.stubTo, (DevicePoint{2, 0}));
  EXPECT_EQ(right.outline[1], (DevicePoint{2, 8}));
  EXPECT_EQ(right.lineFrom, (DevicePoint{18, 0}));
}

}  // namespace
}  // namespace kordavelt
