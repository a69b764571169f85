// The canvas maps every drawing from user units to the device. A transform
// composed in the wrong order, a mirror that leaves an arc running the wrong
// way, a turned ellipse with its axes swapped or a clip that Restore forgets
// would misplace the scheme at every zoom and every printed sheet, while the
// table window, drawn at the identity, would not show it.

#include "draw/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "draw/picture_checks.h"
#include "draw/recording_canvas.h"

namespace kordavelt {
namespace {

using Lines = std::vector<std::string>;
using Kind = RecordingCanvas::Shape::Kind;

void ExpectNear(PointF actual, PointF expected, double tolerance = 1e-9) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
}

// --- Transform ---------------------------------------------------------------------

TEST(Transform, LaterCallsApplyToUserCoordinatesFirst) {
  RecordingCanvas canvas;
  canvas.Translate(100, 50);
  canvas.Scale(2);
  canvas.Line(PointF{1, 2}, PointF{3, 4});
  EXPECT_EQ(canvas.Lines().back(), "line 102,54 106,58");
  ExpectNear(canvas.CurrentTransform().Map({1, 1}), {102, 52});
}

TEST(Transform, QuarterTurnsAreExactAndTurnCounterClockwiseOnTheScreen) {
  const Transform quarter = Transform::Rotation(90);
  EXPECT_EQ(quarter.Map({1, 0}), (PointF{0, -1})) << "right turns to up";
  EXPECT_EQ(Transform::Rotation(-270), quarter);
  EXPECT_EQ(Transform::Rotation(180).Map({2, 3}), (PointF{-2, -3}));
  ExpectNear(Transform::Rotation(30).Map({1, 0}), {std::sqrt(3.0) / 2, -0.5});
}

TEST(Transform, AfterComposesAsMapOfMap) {
  const Transform first = Transform::Scaling(2, 3).After(Transform::Rotation(30));
  const Transform second = Transform::Translation(5, -7).After(Transform::Scaling(-1, 1));
  const PointF p{1.5, -2.25};
  ExpectNear(second.After(first).Map(p), second.Map(first.Map(p)));
  EXPECT_DOUBLE_EQ(Transform::Scaling(2, -3).Determinant(), -6);
}

// --- Shapes through the transform -------------------------------------------------

TEST(CanvasTransform, WholePixelCallsReachTheDeviceUnchangedAtTheIdentity) {
  RecordingCanvas canvas;
  const std::vector<Point> tick{{6, 11}, {3, 5}};
  canvas.Rectangle(Rect{3, 3, 13, 13});
  canvas.Polyline(tick);
  canvas.FillRect(Rect{0, 0, 40, 40}, kWhite);
  EXPECT_EQ(canvas.Lines(), (Lines{"pen #000000 1 solid", "brush #FFFFFF", "rect 3,3 13,13",
                                   "polyline 6,11 3,5", "fill 0,0 40,40 #FFFFFF"}));
}

// Catches a mirrored box reaching the device upside down, and a mirrored arc
// drawn as the rest of its ellipse (a mirrored symbol must show the same
// bulge, mirrored).
TEST(CanvasTransform, MirrorsNormaliseBoxesAndMapArcsPointForPoint) {
  RecordingCanvas canvas;
  canvas.Scale(1, -1);  // y upwards, as on a chart
  canvas.Rectangle(RectF{0, 0, 10, 20});
  // The quarter from the right to the top, as the user's coordinates run.
  canvas.Arc(RectF{-10, -10, 10, 10}, PointF{10, 0}, PointF{0, -10});
  const auto& shapes = canvas.Shapes();
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(shapes[0].box, (RectF{0, -20, 10, 0}));
  const ArcGeometry arc = ComputeArc(shapes[1].box, shapes[1].points[0], shapes[1].points[1]);
  EXPECT_NEAR(arc.sweepDeg, 90, 1e-9) << "still a quarter, not three";
  // The mirror puts that quarter below and right of the centre on the device.
  EXPECT_NEAR(std::max(arc.startY, arc.endY), 10, 1e-9);
  EXPECT_NEAR(std::max(arc.startX, arc.endX), 10, 1e-9);
  EXPECT_NEAR(std::min(arc.startY, arc.endY), 0, 1e-9);
}

TEST(CanvasTransform, TurnedBoxesBecomePolygonsAndTurnedEllipses) {
  RecordingCanvas canvas;
  canvas.Rotate(30);
  canvas.Rectangle(RectF{0, 0, 10, 0});
  canvas.Ellipse(RectF{-20, -10, 20, 10});
  const auto& shapes = canvas.Shapes();
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(shapes[0].kind, Kind::Polygon);
  ASSERT_EQ(shapes[0].points.size(), 4u);
  ExpectNear(shapes[0].points[1], {10 * std::sqrt(3.0) / 2, -5});
  EXPECT_EQ(shapes[1].kind, Kind::Ellipse);
  ExpectNear({shapes[1].box.left, shapes[1].box.top}, {-20, -10});
  ExpectNear({shapes[1].box.right, shapes[1].box.bottom}, {20, 10});
  EXPECT_NEAR(shapes[1].turnDeg, 30, 1e-9);
}

// Catches the axes of a sheared ellipse taken from the transform's rotation
// alone: every point of the user ellipse must lie on the device one.
TEST(CanvasTransform, AnyAffineMapGivesTheEllipseThroughTheMappedPoints) {
  RecordingCanvas canvas;
  canvas.Scale(3, 1);
  canvas.Rotate(40);
  const RectF box{-4, -2, 6, 4};
  canvas.Ellipse(box);
  const auto& shape = canvas.Shapes().at(0);
  const double cx = (shape.box.left + shape.box.right) / 2;
  const double cy = (shape.box.top + shape.box.bottom) / 2;
  const double rx = shape.box.Width() / 2;
  const double ry = shape.box.Height() / 2;
  const double turn = shape.turnDeg * 3.14159265358979323846 / 180;
  for (int step = 0; step < 12; ++step) {
    const double t = step * 3.14159265358979323846 / 6;
    const PointF on = canvas.ToDevice({1 + 5 * std::cos(t), 1 + 3 * std::sin(t)});
    // Into the ellipse's own frame: turn back by `turn` (counter-clockwise, y down).
    const double x = on.x - cx;
    const double y = on.y - cy;
    const double u = x * std::cos(turn) - y * std::sin(turn);
    const double v = x * std::sin(turn) + y * std::cos(turn);
    EXPECT_NEAR(u * u / (rx * rx) + v * v / (ry * ry), 1.0, 1e-9) << "step " << step;
  }
}

// --- Text ---------------------------------------------------------------------------

TEST(CanvasText, FontsGrowWithTheZoomAndMeasureInUserUnits) {
  RecordingCanvas canvas;
  canvas.font.height = 10;
  const SizeF plain = canvas.MeasureText("АВВГ");
  canvas.Translate(5, 5);
  canvas.Scale(2.5);
  canvas.Text({4, 0}, "АВВГ", 0, HAlign::Right);
  EXPECT_EQ(canvas.Lines().back(), "text 15,5 \"АВВГ\" right top");
  EXPECT_EQ(canvas.Lines().front(), "font Arial 25 #000000");
  EXPECT_EQ(canvas.MeasureText("АВВГ"), plain) << "the drawing's layout does not change";
  EXPECT_EQ(canvas.TextExtent("АВВГ"), (Size{24, 10}));
}

TEST(CanvasText, TurnedTransformsTurnTheTextWithThem) {
  RecordingCanvas canvas;
  canvas.Rotate(90);
  canvas.Text({10, 0}, "Т1");
  canvas.Text({10, 0}, "Т2", -90);
  EXPECT_EQ(canvas.Lines()[1], "text 0,-10 \"Т1\" angle 90");
  EXPECT_EQ(canvas.Lines()[2], "text 0,-10 \"Т2\"");
}

// --- State ----------------------------------------------------------------------------

TEST(CanvasState, ClipsAreDeviceBoxesAndRestoreBringsTheLastOneBack) {
  RecordingCanvas canvas;
  canvas.Scale(2);
  canvas.SetClip(RectF{10, 10, 0, 5});
  canvas.Save();
  canvas.pen.color = Color{255, 0, 0};
  canvas.Translate(100, 0);
  canvas.SetClip(RectF{0, 0, 1, 1});
  canvas.Restore();
  canvas.Restore();  // nothing saved: nothing happens
  canvas.ClearClip();
  EXPECT_EQ(canvas.Lines(),
            (Lines{"clip 0,10 20,20", "clip 200,0 202,2", "clip 0,10 20,20", "clip none"}));
  EXPECT_EQ(canvas.pen.color, kBlack);
  EXPECT_EQ(canvas.CurrentTransform(), Transform::Scaling(2, 2));
}

TEST(CanvasState, ScopedStateRestoresTheTransformAndTheFont) {
  RecordingCanvas canvas;
  {
    SavedCanvasState saved(canvas);
    canvas.Scale(4, 2);
    canvas.font.bold = true;
    EXPECT_EQ(canvas.DeviceUnitInUserUnits(), (SizeF{0.25, 0.5}));
  }
  EXPECT_EQ(canvas.CurrentTransform(), Transform{});
  EXPECT_FALSE(canvas.font.bold);
  EXPECT_EQ(canvas.DeviceUnitInUserUnits(), (SizeF{1, 1}));
  EXPECT_DOUBLE_EQ(canvas.DotsPerMm(), kScreenDotsPerMm);
}

// --- Arcs -----------------------------------------------------------------------------

TEST(ComputeArc, QuarterArcRunsCounterClockwiseFromStartToEnd) {
  // Circle in (0,0)-(100,100); start radial to the right, end radial upwards.
  const ArcGeometry arc = ComputeArc(Rect{0, 0, 100, 100}, Point{100, 50}, Point{50, 0});
  EXPECT_DOUBLE_EQ(arc.centerX, 50);
  EXPECT_NEAR(arc.startX, 100, 1e-9);
  EXPECT_NEAR(arc.startY, 50, 1e-9);
  EXPECT_NEAR(arc.endX, 50, 1e-9);
  EXPECT_NEAR(arc.endY, 0, 1e-9);
  EXPECT_NEAR(arc.startAngleDeg, 0, 1e-9);
  EXPECT_NEAR(arc.sweepDeg, 90, 1e-9);
}

TEST(ComputeArc, SwappedRadialsGiveTheOtherThreeQuarters) {
  const ArcGeometry arc = ComputeArc(Rect{0, 0, 100, 100}, Point{50, 0}, Point{100, 50});
  EXPECT_NEAR(arc.startAngleDeg, 90, 1e-9);
  EXPECT_NEAR(arc.sweepDeg, 270, 1e-9);
}

TEST(ComputeArc, CoincidingRadialsGiveTheWholeEllipse) {
  EXPECT_NEAR(ComputeArc(Rect{0, 0, 100, 60}, Point{90, 30}, Point{200, 30}).sweepDeg, 360, 1e-9);
}

TEST(ComputeArc, EndPointsLieOnTheEllipseAlongTheirRadials) {
  // Ellipse 200 x 100: a 45 degree radial meets it where x = y from the centre.
  const ArcGeometry arc = ComputeArc(Rect{0, 0, 200, 100}, Point{200, -50}, Point{0, 50});
  const double dx = arc.startX - arc.centerX;
  const double dy = arc.centerY - arc.startY;
  EXPECT_NEAR(dx, dy, 1e-9);
  EXPECT_NEAR(dx * dx / 10000 + dy * dy / 2500, 1.0, 1e-9);
  EXPECT_NEAR(arc.endX, 0, 1e-9);
  EXPECT_NEAR(arc.endY, 50, 1e-9);
}

// Catches a turned arc whose radials are measured on the unturned ellipse.
TEST(ComputeArc, TurnedEllipseKeepsItsEndsOnTheTurnedRadials) {
  // Ellipse 200 x 100 about (100, 50) turned a quarter: 100 wide, 200 tall.
  const ArcGeometry arc = ComputeArc(RectF{0, 0, 200, 100}, PointF{100, -500}, PointF{300, 50}, 90);
  EXPECT_NEAR(arc.startX, 100, 1e-9);
  EXPECT_NEAR(arc.startY, -50, 1e-9) << "the top lies a long radius above the centre";
  EXPECT_NEAR(arc.endX, 150, 1e-9) << "the right a short one beside it";
  EXPECT_NEAR(arc.endY, 50, 1e-9);
  EXPECT_NEAR(arc.sweepDeg, 270, 1e-9);
}

TEST(CoordText, ThreeDecimalsWithoutTrailingZerosOrNegativeZero) {
  EXPECT_EQ(CoordText(2), "2");
  EXPECT_EQ(CoordText(-0.0001), "0");
  EXPECT_EQ(CoordText(1.23456), "1.235");
  EXPECT_EQ(CoordText(-12.5), "-12.5");
  EXPECT_EQ(CoordText(1e6), "1000000");
}

}  // namespace
}  // namespace kordavelt
