// The QPainter canvas puts every shape on the pixels the drawings were
// designed for: boxes without their right and bottom edges, arcs between the
// radials through their end points, text turned and aligned at its point.

#include "draw/qt/qpainter_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>

namespace kordavelt {
namespace {

constexpr Color kRed{255, 0, 0};

// The pixels a drawing touched.
struct InkBox {
  int left = 1 << 20;
  int top = 1 << 20;
  int right = -1;
  int bottom = -1;
  bool Empty() const { return right < 0; }
};

class QPainterCanvasTest : public ::testing::Test {
 protected:
  QImage Draw(int width, int height, const std::function<void(Canvas&)>& draw) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    draw(canvas);
    return image;
  }

  static bool Inked(const QImage& image, int x, int y) {
    return image.valid(x, y) && image.pixel(x, y) != qRgb(255, 255, 255);
  }

  // True when some pixel within `radius` of (x, y) is inked.
  static bool InkedNear(const QImage& image, double x, double y, int radius) {
    const int cx = static_cast<int>(std::lround(x));
    const int cy = static_cast<int>(std::lround(y));
    for (int dy = -radius; dy <= radius; ++dy) {
      for (int dx = -radius; dx <= radius; ++dx) {
        if (Inked(image, cx + dx, cy + dy)) return true;
      }
    }
    return false;
  }

  static InkBox FindInk(const QImage& image) {
    InkBox box;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (!Inked(image, x, y)) continue;
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
      }
    }
    return box;
  }
};

// --- Boxes --------------------------------------------------------------------

// Catches a box that covers its right and bottom edges (one pixel too big)
// or loses its left and top ones.
TEST_F(QPainterCanvasTest, RectangleCoversLeftToRightLessOne) {
  const QImage image = Draw(20, 20, [](Canvas& canvas) {
    canvas.brush.style = BrushStyle::Clear;
    canvas.Rectangle(Rect{2, 2, 13, 13});
  });
  const InkBox ink = FindInk(image);
  EXPECT_EQ(ink.left, 2);
  EXPECT_EQ(ink.top, 2);
  EXPECT_EQ(ink.right, 12);
  EXPECT_EQ(ink.bottom, 12);
  EXPECT_TRUE(Inked(image, 12, 7));
  EXPECT_FALSE(Inked(image, 7, 7)) << "a hollow brush fills nothing";
}

// Catches the brush not filling the inside, and a clear pen that still draws
// an outline (without a pen the box is filled one pixel short, as on paper).
TEST_F(QPainterCanvasTest, RectangleFillsWithTheBrushInsideThePen) {
  const QImage outlined = Draw(20, 20, [](Canvas& canvas) {
    canvas.brush = Brush{kRed, BrushStyle::Solid};
    canvas.Rectangle(Rect{2, 2, 13, 13});
  });
  EXPECT_EQ(outlined.pixel(2, 7), qRgb(0, 0, 0));
  EXPECT_EQ(outlined.pixel(7, 7), qRgb(255, 0, 0));
  EXPECT_EQ(outlined.pixel(12, 12), qRgb(0, 0, 0));

  const QImage penless = Draw(20, 20, [](Canvas& canvas) {
    canvas.pen.style = PenStyle::Clear;
    canvas.brush = Brush{kRed, BrushStyle::Solid};
    canvas.Rectangle(Rect{2, 2, 13, 13});
  });
  const InkBox ink = FindInk(penless);
  EXPECT_EQ(ink.left, 2);
  EXPECT_EQ(ink.right, 11);
  EXPECT_EQ(ink.bottom, 11);
  EXPECT_EQ(penless.pixel(2, 2), qRgb(255, 0, 0));
}

// Catches FillRect covering its right and bottom edges, or using the pen.
TEST_F(QPainterCanvasTest, FillRectCoversExactlyItsBox) {
  const QImage image = Draw(20, 20, [](Canvas& canvas) {
    canvas.pen.color = Color{0, 0, 255};
    canvas.FillRect(Rect{2, 3, 7, 6}, kRed);
  });
  const InkBox ink = FindInk(image);
  EXPECT_EQ(ink.left, 2);
  EXPECT_EQ(ink.top, 3);
  EXPECT_EQ(ink.right, 6);
  EXPECT_EQ(ink.bottom, 5);
  EXPECT_EQ(image.pixel(2, 3), qRgb(255, 0, 0));
}

// Catches an ellipse larger than its box or left unfilled.
TEST_F(QPainterCanvasTest, EllipseFitsItsBoxAndFillsItsCentre) {
  const QImage image = Draw(40, 30, [](Canvas& canvas) {
    canvas.brush = Brush{kRed, BrushStyle::Solid};
    canvas.Ellipse(Rect{10, 10, 31, 21});
  });
  const InkBox ink = FindInk(image);
  EXPECT_EQ(ink.left, 10);
  EXPECT_EQ(ink.top, 10);
  EXPECT_EQ(ink.right, 30);
  EXPECT_EQ(ink.bottom, 20);
  EXPECT_EQ(image.pixel(20, 15), qRgb(255, 0, 0));
  EXPECT_FALSE(Inked(image, 10, 10)) << "the corners of the box stay empty";
}

// Catches a thin line that covers its last point.
TEST_F(QPainterCanvasTest, ThinLineLeavesOutItsLastPoint) {
  const QImage image = Draw(20, 10, [](Canvas& canvas) { canvas.Line(Point{2, 5}, Point{10, 5}); });
  EXPECT_TRUE(Inked(image, 2, 5));
  EXPECT_TRUE(Inked(image, 9, 5));
  EXPECT_FALSE(Inked(image, 10, 5));
}

// --- Arcs ---------------------------------------------------------------------

// Catches arcs whose ends are taken as angles of the radials themselves (on a
// flat ellipse they land far off), and arcs drawn clockwise.
TEST_F(QPainterCanvasTest, ArcRunsCounterClockwiseBetweenItsRadials) {
  const Rect box{10, 10, 211, 61};
  const Point start{200, 10};
  const Point end{10, 36};
  const QImage image = Draw(230, 80, [&](Canvas& canvas) { canvas.Arc(box, start, end); });

  const ArcGeometry arc = ComputeArc(box, start, end);
  EXPECT_TRUE(InkedNear(image, arc.startX, arc.startY, 2));
  EXPECT_TRUE(InkedNear(image, arc.endX, arc.endY, 2));
  EXPECT_TRUE(Inked(image, 110, 10)) << "the top lies on the way";
  EXPECT_FALSE(InkedNear(image, 110, 60, 1)) << "the bottom does not";
  EXPECT_FALSE(InkedNear(image, 210, 35, 2)) << "nor does the right end";
  // A radial's angle used as the ellipse's parameter would start here.
  EXPECT_FALSE(InkedNear(image, 207, 28, 2));
}

// Catches coinciding radials drawing nothing instead of the whole ellipse.
TEST_F(QPainterCanvasTest, ArcWithCoincidingRadialsIsTheWholeEllipse) {
  const QImage image = Draw(40, 30, [](Canvas& canvas) {
    canvas.Arc(Rect{10, 10, 31, 21}, Point{31, 15}, Point{31, 15});
  });
  EXPECT_TRUE(InkedNear(image, 20, 10, 0));
  EXPECT_TRUE(InkedNear(image, 20, 20, 0));
  EXPECT_TRUE(InkedNear(image, 10, 15, 0));
  EXPECT_TRUE(InkedNear(image, 30, 15, 0));
}

// --- Text ---------------------------------------------------------------------

// Catches a text extent that is not the font's cell height, or not additive.
TEST_F(QPainterCanvasTest, TextExtentIsTheCellHeightAndTheAdvance) {
  Draw(10, 10, [](Canvas& canvas) {
    canvas.font.height = 20;
    const Size one = canvas.TextExtent("Ж");
    const Size two = canvas.TextExtent("ЖЖ");
    EXPECT_LE(std::abs(one.height - 20), 1);
    EXPECT_GT(one.width, 0);
    EXPECT_LE(std::abs(two.width - 2 * one.width), 1);
    EXPECT_EQ(canvas.TextExtent("").width, 0);
  });
}

// Catches text turned the wrong way, or placed off its reference point.
TEST_F(QPainterCanvasTest, TextTurnsCounterClockwiseAboutItsTopLeft) {
  int width = 0;
  const QImage image = Draw(120, 160, [&](Canvas& canvas) {
    canvas.font.height = 20;
    width = canvas.TextExtent("ЖЖЖЖ").width;
    canvas.Text(Point{60, 140}, "ЖЖЖЖ", 90);
  });
  const InkBox ink = FindInk(image);
  ASSERT_FALSE(ink.Empty());
  // Read upwards, its top towards the left: it stands above the point and to
  // the right of it, within one cell height.
  EXPECT_GE(ink.left, 59);
  EXPECT_LE(ink.right, 60 + 20);
  EXPECT_LE(ink.bottom, 141);
  EXPECT_GE(ink.top, 140 - width - 1);
  EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));
}

// Catches alignments that move the text the wrong way from its point.
TEST_F(QPainterCanvasTest, TextAlignsRightAndBottomOnItsPoint) {
  const QImage rightBottom = Draw(200, 80, [](Canvas& canvas) {
    canvas.font.height = 20;
    canvas.Text(Point{150, 60}, "ЖЖЖ", 0, HAlign::Right, VAlign::Bottom);
  });
  const InkBox ink = FindInk(rightBottom);
  ASSERT_FALSE(ink.Empty());
  EXPECT_LT(ink.right, 150);
  EXPECT_GE(ink.right, 145);
  EXPECT_LT(ink.bottom, 60);
  EXPECT_GE(ink.top, 60 - 20);

  const QImage centredBaseline = Draw(200, 80, [](Canvas& canvas) {
    canvas.font.height = 20;
    canvas.Text(Point{100, 40}, "ЖЖЖ", 0, HAlign::Center, VAlign::Baseline);
  });
  const InkBox centred = FindInk(centredBaseline);
  EXPECT_LE(std::abs((centred.left + centred.right) / 2 - 100), 2);
  EXPECT_LT(centred.bottom, 40);
  EXPECT_GE(centred.bottom, 37) << "Ж sits on the baseline";
}

// --- Transform, clip and resolution -----------------------------------------------

// Catches a canvas that ignores its transform, or applies it in the wrong
// order: a zoomed box lands where the scheme's grid puts it, still without
// its right and bottom edges on the device.
TEST_F(QPainterCanvasTest, ShapesFollowTheTransformToTheirDevicePixels) {
  const QImage image = Draw(60, 60, [](Canvas& canvas) {
    canvas.Translate(10, 5);
    canvas.Scale(4);
    canvas.brush.style = BrushStyle::Clear;
    canvas.Rectangle(RectF{1, 1, 6, 4});  // device (14, 9) to (34, 21)
  });
  const InkBox ink = FindInk(image);
  EXPECT_EQ(ink.left, 14);
  EXPECT_EQ(ink.top, 9);
  EXPECT_EQ(ink.right, 33);
  EXPECT_EQ(ink.bottom, 20);
}

TEST_F(QPainterCanvasTest, TurnedTransformsTurnBoxesAndTexts) {
  const QImage box = Draw(60, 60, [](Canvas& canvas) {
    canvas.Translate(30, 30);
    canvas.Rotate(90);
    canvas.FillRect(RectF{0, -2, 20, 2}, kRed);  // from the centre to the right, turned upwards
  });
  EXPECT_EQ(box.pixel(30, 15), qRgb(255, 0, 0));
  EXPECT_FALSE(Inked(box, 40, 30));
  EXPECT_FALSE(Inked(box, 30, 45));

  const QImage text = Draw(120, 160, [](Canvas& canvas) {
    canvas.font.height = 10;
    canvas.Translate(60, 140);
    canvas.Scale(2);
    canvas.Rotate(90);
    canvas.Text(PointF{0, 0}, "ЖЖЖЖ");
  });
  const InkBox ink = FindInk(text);
  ASSERT_FALSE(ink.Empty());
  EXPECT_GE(ink.left, 59) << "turned upwards about its point, as a text angle of 90 would";
  EXPECT_LE(ink.right, 60 + 20) << "one cell of the doubled font";
  EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));
}

TEST_F(QPainterCanvasTest, ClipsFollowTheTransformAndRestoreLiftsThem) {
  const QImage image = Draw(40, 40, [](Canvas& canvas) {
    canvas.Scale(2);
    canvas.Save();
    canvas.SetClip(RectF{5, 5, 10, 10});  // device (10, 10) to (20, 20)
    canvas.FillRect(RectF{0, 0, 20, 20}, kRed);
    canvas.Restore();
    canvas.pen.color = Color{0, 0, 255};
    canvas.Line(PointF{0, 18}, PointF{20, 18});
  });
  EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(19, 19), qRgb(255, 0, 0));
  EXPECT_FALSE(Inked(image, 9, 15));
  EXPECT_FALSE(Inked(image, 20, 15));
  EXPECT_EQ(image.pixel(30, 36), qRgb(0, 0, 255)) << "the line after Restore is not clipped";
}

TEST_F(QPainterCanvasTest, FractionalCoordinatesDrawWhereTheyFall) {
  const QImage image = Draw(40, 20, [](Canvas& canvas) {
    canvas.Scale(1.0 / 3);
    canvas.FillRect(RectF{30.3, 15, 60.6, 45}, kRed);  // device (10.1, 5) to (20.2, 15)
  });
  const InkBox ink = FindInk(image);
  EXPECT_NEAR(ink.left, 10, 1);
  EXPECT_NEAR(ink.right, 20, 1);
  EXPECT_EQ(ink.top, 5);
  EXPECT_EQ(ink.bottom, 14);
}

TEST_F(QPainterCanvasTest, ResolutionComesFromTheDeviceUnlessGiven) {
  QImage image(10, 10, QImage::Format_RGB32);
  image.setDotsPerMeterX(10000);  // 10 dots a millimetre
  image.setDotsPerMeterY(10000);
  QPainter painter(&image);
  EXPECT_NEAR(QPainterCanvas(painter).DotsPerMm(), 10, 0.01);
  EXPECT_DOUBLE_EQ(QPainterCanvas(painter, 4).DotsPerMm(), 4);
}

}  // namespace
}  // namespace kordavelt
