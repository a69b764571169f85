// The SVG canvas is how tests see what the program draws; a wrong arc
// direction or a rotation with the wrong sign would pass unnoticed in every
// drawing test built on it.

#include "draw/svg_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kordavelt {
namespace {

TEST(ComputeArc, QuarterArcRunsCounterClockwiseFromStartToEnd) {
  // Circle in (0,0)-(100,100); start radial to the right, end radial upwards.
  const ArcGeometry arc = ComputeArc({0, 0, 100, 100}, {100, 50}, {50, 0});
  EXPECT_DOUBLE_EQ(arc.centerX, 50);
  EXPECT_NEAR(arc.startX, 100, 1e-9);
  EXPECT_NEAR(arc.startY, 50, 1e-9);
  EXPECT_NEAR(arc.endX, 50, 1e-9);
  EXPECT_NEAR(arc.endY, 0, 1e-9);
  EXPECT_NEAR(arc.startAngleDeg, 0, 1e-9);
  EXPECT_NEAR(arc.sweepDeg, 90, 1e-9);
}

TEST(ComputeArc, SwappedRadialsGiveTheOtherThreeQuarters) {
  const ArcGeometry arc = ComputeArc({0, 0, 100, 100}, {50, 0}, {100, 50});
  EXPECT_NEAR(arc.startAngleDeg, 90, 1e-9);
  EXPECT_NEAR(arc.sweepDeg, 270, 1e-9);
}

TEST(ComputeArc, CoincidingRadialsGiveTheWholeEllipse) {
  EXPECT_NEAR(ComputeArc({0, 0, 100, 60}, {90, 30}, {200, 30}).sweepDeg, 360, 1e-9);
}

TEST(ComputeArc, EndPointsLieOnTheEllipseAlongTheirRadials) {
  // Ellipse 200 x 100: a 45 degree radial meets it where x = y from the centre.
  const ArcGeometry arc = ComputeArc({0, 0, 200, 100}, {200, -50}, {0, 50});
  const double dx = arc.startX - arc.centerX;
  const double dy = arc.centerY - arc.startY;
  EXPECT_NEAR(dx, dy, 1e-9);
  EXPECT_NEAR(dx * dx / 10000 + dy * dy / 2500, 1.0, 1e-9);
  EXPECT_NEAR(arc.endX, 0, 1e-9);
  EXPECT_NEAR(arc.endY, 50, 1e-9);
}

TEST(SvgCanvas, ShapesCarryPenAndBrush) {
  SvgCanvas canvas(20, 20);
  canvas.pen = Pen{Color{255, 0, 0}, 2, PenStyle::Dot};
  canvas.brush.style = BrushStyle::Clear;
  canvas.Rectangle({2, 2, 13, 13});
  canvas.brush = Brush{Color{0, 0, 255}, BrushStyle::Solid};
  canvas.pen.style = PenStyle::Clear;
  canvas.Ellipse({0, 0, 10, 6});
  const std::vector<std::string> expected = {
      R"(<rect x="2" y="2" width="11" height="11" fill="none" stroke="#FF0000" stroke-width="2" stroke-dasharray="1,1"/>)",
      R"(<ellipse cx="5" cy="3" rx="5" ry="3" fill="#0000FF" stroke="none"/>)",
  };
  EXPECT_EQ(canvas.Elements(), expected);
}

TEST(SvgCanvas, ArcUsesTheCounterClockwiseSweepFlag) {
  SvgCanvas canvas(100, 100);
  canvas.Arc({0, 0, 100, 100}, {100, 50}, {50, 0});
  EXPECT_EQ(
      canvas.Elements().at(0),
      R"(<path d="M100,50 A50,50 0 0 0 50,0" fill="none" stroke="#000000" stroke-width="1"/>)");
}

TEST(SvgCanvas, RotatedTextTurnsTheOtherWayInSvg) {
  SvgCanvas canvas(100, 100);
  canvas.font.height = 10;
  canvas.Text({10, 20}, "Т1 <A&B>", 90, HAlign::Center, VAlign::Baseline);
  EXPECT_EQ(
      canvas.Elements().at(0),
      R"svg(<text x="10" y="20" font-family="Arial" font-size="10" fill="#000000" text-anchor="middle" dominant-baseline="alphabetic" transform="rotate(-90 10 20)">Т1 &lt;A&amp;B&gt;</text>)svg");
}

TEST(SvgCanvas, TextExtentCountsCharactersNotBytes) {
  SvgCanvas canvas(100, 100);
  canvas.font.height = 10;
  EXPECT_EQ(canvas.TextExtent("АВВГ"), (Size{24, 10}));
  EXPECT_EQ(canvas.TextExtent(""), (Size{0, 10}));
}

TEST(SvgCanvas, DocumentWrapsTheElements) {
  SvgCanvas canvas(30, 40);
  canvas.FillRect({0, 0, 30, 40}, kWhite);
  const std::string doc = canvas.Document();
  EXPECT_NE(doc.find(R"(viewBox="0 0 30 40")"), std::string::npos);
  EXPECT_NE(doc.find(R"(<rect x="0" y="0" width="30" height="40" fill="#FFFFFF" stroke="none"/>)"),
            std::string::npos);
}

}  // namespace
}  // namespace kordavelt
