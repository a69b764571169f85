// The SVG canvas is how tests see what the program draws and how printouts
// are kept for review; a wrong arc direction, a rotation with the wrong sign,
// a number written by the locale or a page measured in the wrong unit would
// pass unnoticed in every drawing test built on it.
//
// The reference drawings in tests/draw/pictures/ were reviewed by eye;
// KORDAVELT_UPDATE_PICTURES=1 rewrites them from the current renderer.

#include "draw/svg_canvas.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <vector>

#include "draw/picture_checks.h"
#include "draw/picture_string.h"

namespace kordavelt {
namespace {

TEST(SvgCanvas, ShapesCarryPenAndBrush) {
  SvgCanvas canvas(20, 20);
  canvas.pen = Pen{Color{255, 0, 0}, 2, PenStyle::Dot};
  canvas.brush.style = BrushStyle::Clear;
  canvas.Rectangle(Rect{2, 2, 13, 13});
  canvas.brush = Brush{Color{0, 0, 255}, BrushStyle::Solid};
  canvas.pen.style = PenStyle::Clear;
  canvas.Ellipse(Rect{0, 0, 10, 6});
  const std::vector<std::string> expected = {
      R"(<rect x="2" y="2" width="11" height="11" fill="none" stroke="#FF0000" stroke-width="2" stroke-dasharray="1,1"/>)",
      R"(<ellipse cx="5" cy="3" rx="5" ry="3" fill="#0000FF" stroke="none"/>)",
  };
  EXPECT_EQ(canvas.Elements(), expected);
}

TEST(SvgCanvas, ArcUsesTheCounterClockwiseSweepFlag) {
  SvgCanvas canvas(100, 100);
  canvas.Arc(Rect{0, 0, 100, 100}, Point{100, 50}, Point{50, 0});
  EXPECT_EQ(
      canvas.Elements().at(0),
      R"(<path d="M100,50 A50,50 0 0 0 50,0" fill="none" stroke="#000000" stroke-width="1"/>)");
}

TEST(SvgCanvas, RotatedTextTurnsTheOtherWayInSvg) {
  SvgCanvas canvas(100, 100);
  canvas.font.height = 10;
  canvas.Text(Point{10, 20}, "Т1 <A&B>", 90, HAlign::Center, VAlign::Baseline);
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
  canvas.FillRect(Rect{0, 0, 30, 40}, kWhite);
  const std::string doc = canvas.Document();
  EXPECT_NE(doc.find(R"(viewBox="0 0 30 40")"), std::string::npos);
  EXPECT_NE(doc.find(R"(<rect x="0" y="0" width="30" height="40" fill="#FFFFFF" stroke="none"/>)"),
            std::string::npos);
}

TEST(SvgCanvas, ScaledDrawingsKeepThreeDecimalsWhateverTheLocale) {
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // a decimal comma, where installed
  SvgCanvas canvas(100, 100);
  canvas.Translate(0.5, 0);
  canvas.Scale(1.0 / 3);
  canvas.Line(PointF{1, 2}, PointF{10, 20});
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(
      canvas.Elements().at(0),
      R"(<line x1="0.833" y1="0.667" x2="3.833" y2="6.667" stroke="#000000" stroke-width="1"/>)");
}

TEST(SvgCanvas, TurnedEllipsesAndArcsCarryTheirTurn) {
  SvgCanvas canvas(100, 100);
  canvas.brush.style = BrushStyle::Clear;
  canvas.Rotate(90);
  canvas.Ellipse(RectF{-20, -10, 20, 10});
  canvas.Arc(RectF{-20, -10, 20, 10}, PointF{20, 0}, PointF{0, -10});
  EXPECT_EQ(
      canvas.Elements().at(0),
      R"svg(<ellipse cx="0" cy="0" rx="20" ry="10" fill="none" stroke="#000000" stroke-width="1" transform="rotate(-90 0 0)"/>)svg");
  // The quarter from the user's right to its top: from the device's top to its left.
  EXPECT_EQ(
      canvas.Elements().at(1),
      R"(<path d="M0,-20 A20,10 -90 0 0 -10,0" fill="none" stroke="#000000" stroke-width="1"/>)");
}

// Catches clipping lost in the SVG, which would show table texts spilling
// over their cells in every printout kept for review.
TEST(SvgCanvas, ClipsBecomeClipPathsThatTheFollowingElementsName) {
  SvgCanvas canvas(100, 100);
  canvas.SetClip(Rect{10, 10, 50, 30});
  canvas.Text(Point{12, 12}, "Текст длиннее ячейки");
  canvas.SetClip(Rect{10, 10, 50, 30});
  canvas.Line(Point{0, 0}, Point{99, 99});
  canvas.ClearClip();
  canvas.Line(Point{0, 99}, Point{99, 0});
  const std::vector<std::string>& elements = canvas.Elements();
  ASSERT_EQ(elements.size(), 4u) << "the same box again defines no second path";
  EXPECT_EQ(
      elements[0],
      R"(<defs><clipPath id="clip1"><rect x="10" y="10" width="40" height="20"/></clipPath></defs>)");
  EXPECT_TRUE(elements[1].starts_with(R"svg(<text clip-path="url(#clip1)" x="12")svg"))
      << elements[1];
  EXPECT_TRUE(elements[2].starts_with(R"svg(<line clip-path="url(#clip1)" )svg")) << elements[2];
  EXPECT_EQ(elements[3].find("clip-path"), std::string::npos);
}

TEST(SvgCanvas, PagesMeasureTheSheetInMillimetresAndDrawInDots) {
  SvgCanvas canvas(SizeF{210, 297}, 10, PointF{5, 4.2});
  EXPECT_DOUBLE_EQ(canvas.DotsPerMm(), 10);
  canvas.pen.style = PenStyle::Dash;
  canvas.Line(Point{0, 0}, Point{100, 0});
  const std::string document = canvas.Document();
  EXPECT_TRUE(document.starts_with(
      R"(<svg xmlns="http://www.w3.org/2000/svg" width="210mm" height="297mm" viewBox="0 0 2100 2970">)"
      "\n<g transform=\"translate(50 42)\">\n"))
      << document;
  EXPECT_TRUE(document.ends_with("</g>\n</svg>\n"));
  // Dashes designed in screen dots keep their length in millimetres.
  EXPECT_NE(document.find(R"(stroke-dasharray="15.875,5.292")"), std::string::npos) << document;
}

// --- Reference drawings ------------------------------------------------------------

// A check box, a swatch and the primitives the scheme and the charts use,
// laid out in user units that are `zoom` millimetres each.
std::string DrawScene(double dotsPerMm, double zoom) {
  SvgCanvas canvas(SizeF{40, 30}, dotsPerMm);
  canvas.FillRect(RectF{0, 0, 40 * dotsPerMm, 30 * dotsPerMm}, kWhite);
  canvas.Scale(dotsPerMm * zoom);
  const double thin = canvas.DotsPerMm() * 0.25;  // 0.25 mm lines
  DrawPictureScaled(canvas, Picture::Parse(kCheckedBox), PointF{1, 1}, 0.5, thin, kBlack);
  DrawPictureScaled(canvas, Picture::Parse(kColourSwatch), PointF{10, 1}, 0.5, thin,
                    Color{255, 0, 0});

  canvas.pen = Pen{Color{0, 0, 255}, thin, PenStyle::Dash};
  canvas.Line(PointF{1, 10.5}, PointF{25, 10.5});
  canvas.pen = Pen{kBlack, thin, PenStyle::Solid};
  canvas.brush = Brush{Color{192, 192, 192}, BrushStyle::Solid};
  const std::vector<PointF> triangle{{1, 19}, {7, 19}, {4, 13}};
  canvas.Polygon(triangle);
  canvas.brush.style = BrushStyle::Clear;
  canvas.Ellipse(RectF{9, 13, 17, 19});
  canvas.pen.color = Color{0, 128, 0};
  canvas.Arc(RectF{9, 13, 17, 19}, PointF{17, 16}, PointF{13, 13});
  {
    SavedCanvasState saved(canvas);
    canvas.Translate(22, 16);
    canvas.Rotate(30);
    canvas.pen.color = Color{128, 0, 128};
    canvas.Rectangle(RectF{-2, -1, 2, 1});
  }
  canvas.SetClip(RectF{19, 1, 25, 7});
  canvas.pen = Pen{Color{255, 0, 0}, thin, PenStyle::Dot};
  canvas.Line(PointF{17, 0}, PointF{27, 8});
  canvas.ClearClip();
  canvas.font.height = 2.5;
  canvas.Text(PointF{13, 9}, "Ir", 0, HAlign::Center, VAlign::Baseline);
  canvas.Text(PointF{25, 19}, "t, с", 90, HAlign::Left, VAlign::Bottom);
  return canvas.Document();
}

TEST(SvgCanvasReference, ASceneDrawsAsReviewedAtThreeScalesAndTwoResolutions) {
  const struct {
    const char* name;
    double dotsPerMm;
  } resolutions[] = {{"screen", kScreenDotsPerMm}, {"print", 10}};
  for (const auto& resolution : resolutions) {
    for (const double zoom : {0.5, 1.0, 1.5}) {
      // Appended piece by piece: GCC 12 sees a false overflow in a chain of
      // string additions here.
      std::string name = "scene_";
      name.append(resolution.name).append("_").append(std::to_string(static_cast<int>(zoom * 100)));
      std::string path = KORDAVELT_PICTURES_DIR;
      path.append("/").append(name).append(".svg");
      testing::ExpectSameAsReviewed(path, DrawScene(resolution.dotsPerMm, zoom), name);
    }
  }
}

}  // namespace
}  // namespace kordavelt
