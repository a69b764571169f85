// Picture strings draw every check box, swatch and object symbol. A digit read
// as the wrong axis, a rectangle corner off by the one-pixel inset, a style
// that leaks into the next cell or a polyline that runs on into the next
// command would show in every table and on every scheme.
//
// The reference drawings in tests/draw/pictures/ were reviewed by eye;
// KORDAVELT_UPDATE_PICTURES=1 rewrites them from the current renderer.

#include "draw/picture_string.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "draw/picture_checks.h"
#include "draw/recording_canvas.h"

namespace kordavelt {
namespace {

using testing::ExpectDrawnAsReviewed;
using testing::ExpectDrawnInside;
using testing::kInk;

constexpr Color kRed{255, 0, 0};

using Kind = PictureCommand::Kind;

std::vector<RecordingCanvas::Shape> Draw(std::string_view text, int lineHeight = 16,
                                         Point origin = {0, 0}, int fontHeight = 13) {
  RecordingCanvas canvas;
  DrawPicture(canvas, Picture::Parse(text), origin, lineHeight, fontHeight, kInk);
  return canvas.Shapes();
}

// --- Parsing -----------------------------------------------------------------

TEST(PictureParse, CheckedBoxIsAHollowSquareAndAFivePointTick) {
  const Picture picture = Picture::Parse(kCheckedBox);
  ASSERT_EQ(picture.Commands().size(), 3u);
  EXPECT_EQ(picture.Commands()[0].kind, Kind::Style);
  EXPECT_EQ(picture.Commands()[0].style, '0');
  EXPECT_EQ(picture.Commands()[1].kind, Kind::Rect);
  EXPECT_EQ(picture.Commands()[1].points, (std::vector<PicturePoint>{{2, 2}, {13, 13}}));
  EXPECT_EQ(picture.Commands()[2].kind, Kind::Polyline);
  EXPECT_EQ(picture.Commands()[2].points,
            (std::vector<PicturePoint>{{6, 11}, {3, 5}, {4, 4}, {7, 11}, {12, 2}}));
  EXPECT_TRUE(picture.TrailingText().empty());
  EXPECT_TRUE(picture.ConnectionPoints().empty());
}

TEST(PictureParse, PolylineStopsAtTheFirstNonDigit) {
  const Picture picture = Picture::Parse("@p3031p13041524e");
  ASSERT_EQ(picture.Commands().size(), 2u);
  EXPECT_EQ(picture.Commands()[0].points, (std::vector<PicturePoint>{{3, 0}, {3, 1}}));
  EXPECT_EQ(picture.Commands()[1].points,
            (std::vector<PicturePoint>{{1, 3}, {0, 4}, {1, 5}, {2, 4}}));
}

TEST(PictureParse, ArcKeepsItsEndAndStartCharacters) {
  const Picture picture = Picture::Parse("@a204224e");
  ASSERT_EQ(picture.Commands().size(), 1u);
  const PictureCommand& arc = picture.Commands()[0];
  EXPECT_EQ(arc.kind, Kind::Arc);
  EXPECT_EQ(arc.points, (std::vector<PicturePoint>{{2, 0}, {4, 2}}));
  EXPECT_EQ(arc.arcEndChar, '2');
  EXPECT_EQ(arc.arcStartChar, '4');
}

TEST(PictureParse, WidthLetterAndSkippedCharactersDrawNothing) {
  // 'x' widens, 'w' swallows the next character even when it is a command letter.
  const Picture picture = Picture::Parse("@xwrqz5r0011e");
  ASSERT_EQ(picture.Commands().size(), 1u);
  EXPECT_EQ(picture.Commands()[0].points, (std::vector<PicturePoint>{{0, 0}, {1, 1}}));
  EXPECT_EQ(picture.WideningCount(), 1);
  EXPECT_EQ(Picture::Parse(kColourSwatch).WideningCount(), 2);
}

TEST(PictureParse, TruncatedOrBrokenCommandsAreDropped) {
  EXPECT_TRUE(Picture::Parse("@r22D").Commands().empty());
  EXPECT_TRUE(Picture::Parse("@r22De").Commands().empty());
  EXPECT_TRUE(Picture::Parse("@c2").Commands().empty());
  EXPECT_TRUE(Picture::Parse("@a00880").Commands().empty());
  EXPECT_TRUE(Picture::Parse("@s").Commands().empty());
  EXPECT_TRUE(Picture::Parse("@l3e").Commands().empty());
  // A polyline keeps its whole pairs and loses a lone last digit.
  const Picture line = Picture::Parse("@l00113e");
  ASSERT_EQ(line.Commands().size(), 1u);
  EXPECT_EQ(line.Commands()[0].points, (std::vector<PicturePoint>{{0, 0}, {1, 1}}));
  // A lowercase letter is never a digit: the rectangle breaks, the polyline after it reads.
  const Picture broken = Picture::Parse("@r2al0011e");
  ASSERT_EQ(broken.Commands().size(), 1u);
  EXPECT_EQ(broken.Commands()[0].kind, Kind::Polyline);
}

TEST(PictureParse, StringWithoutEndIsReadToItsEnd) {
  const Picture picture = Picture::Parse("@s0r22DDp6B35447BC2");
  EXPECT_EQ(picture.Commands().size(), 3u);
  EXPECT_TRUE(picture.TrailingText().empty());
}

TEST(PictureParse, TrailingTextRunsToTheConnectionPoints) {
  const Picture picture = Picture::Parse("@r0022e Т1#3037");
  EXPECT_EQ(picture.TrailingText(), " Т1");
  EXPECT_EQ(picture.ConnectionPoints(), (std::vector<PicturePoint>{{3, 0}, {3, 7}}));

  EXPECT_EQ(Picture::Parse("@c028Ap4042e#40").ConnectionPoints(),
            (std::vector<PicturePoint>{{4, 0}}));
  // More than two pairs, or a broken pair, end the list.
  EXPECT_EQ(Picture::Parse("@e#000G11").ConnectionPoints().size(), 2u);
  EXPECT_EQ(Picture::Parse("@e#0-0G").ConnectionPoints().size(), 0u);
  EXPECT_EQ(Picture::Parse("@e#GZ1").ConnectionPoints(), (std::vector<PicturePoint>{{16, 35}}));
}

TEST(PictureParse, TextWithoutTheMarkIsAllTrailingText) {
  EXPECT_FALSE(Picture::IsPicture("r22DDe"));
  EXPECT_FALSE(Picture::IsPicture(""));
  EXPECT_TRUE(Picture::IsPicture("@"));
  const Picture picture = Picture::Parse("12.5#3");
  EXPECT_TRUE(picture.Commands().empty());
  EXPECT_EQ(picture.TrailingText(), "12.5#3");
}

TEST(PictureParse, MeasuringReadsDigitsAfterAnyLetterAsXThenY) {
  const Picture swatch = Picture::Parse(kColourSwatch);
  EXPECT_EQ(swatch.MaxX(), 16);
  EXPECT_EQ(swatch.MaxY(), 13);
  // The arc's end and start characters are measured as one more x and y.
  const Picture arc = Picture::Parse("@a0011K9e");
  EXPECT_EQ(arc.MaxX(), 20);
  EXPECT_EQ(arc.MaxY(), 9);
  // Digits after a character that is no letter belong to no command.
  const Picture stray = Picture::Parse("@l0011-ZZe");
  EXPECT_EQ(stray.MaxX(), 1);
  EXPECT_EQ(stray.MaxY(), 1);
  // Trailing text and connection points are not measured.
  const Picture symbol = Picture::Parse("@l0022eZZ#ZZ");
  EXPECT_EQ(symbol.MaxX(), 2);
  EXPECT_EQ(symbol.MaxY(), 2);
}

// --- Drawing -----------------------------------------------------------------

TEST(DrawPicture, UncheckedBoxIsAHollowSquareInsetByOnePixel) {
  const auto shapes = Draw(kUncheckedBox);
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0].kind, RecordingCanvas::Shape::Kind::Rectangle);
  EXPECT_EQ(shapes[0].box, (RectF{3, 3, 13, 13}));
  EXPECT_EQ(shapes[0].brush.style, BrushStyle::Clear);
  EXPECT_EQ(shapes[0].pen, (Pen{kInk, 1, PenStyle::Solid}));
}

TEST(DrawPicture, CheckedBoxAddsTheTickThroughItsFivePoints) {
  const auto shapes = Draw(kCheckedBox, 16, Point{100, 50});
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(shapes[0].box, (RectF{103, 53, 113, 63}));
  EXPECT_EQ(shapes[1].kind, RecordingCanvas::Shape::Kind::Polyline);
  EXPECT_EQ(shapes[1].points,
            (std::vector<PointF>{{106, 61}, {103, 55}, {104, 54}, {107, 61}, {112, 52}}));
}

TEST(DrawPicture, SwatchIsTwoFilledRectanglesInTheInkColour) {
  RecordingCanvas canvas;
  DrawPicture(canvas, Picture::Parse(kColourSwatch), Point{0, 0}, 16, 13, kRed);
  ASSERT_EQ(canvas.Shapes().size(), 2u);
  EXPECT_EQ(canvas.Shapes()[0].box, (RectF{3, 3, 16, 13}));
  EXPECT_EQ(canvas.Shapes()[1].box, (RectF{1, 3, 13, 13}));
  for (const auto& shape : canvas.Shapes()) {
    EXPECT_EQ(shape.brush, (Brush{kRed, BrushStyle::Solid}));
    EXPECT_EQ(shape.pen.color, kRed);
  }
}

TEST(DrawPicture, DigitsScaleByRowHeightWithIntegerDivision) {
  // 13 × 20 div 16 = 16 and 2 × 20 div 16 = 2: the rounding must not drift.
  const auto shapes = Draw("@l22DDZZe", 20);
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0].points, (std::vector<PointF>{{2, 2}, {16, 16}, {43, 43}}));
}

TEST(DrawPicture, EllipseUsesTheRectangleBox) {
  const auto shapes = Draw("@c0088e", 32);
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0].kind, RecordingCanvas::Shape::Kind::Ellipse);
  EXPECT_EQ(shapes[0].box, (RectF{1, 1, 16, 16}));
}

TEST(DrawPicture, ArcRunsFromTheSixthCharactersPointToTheFifths) {
  // Box (1,1)-(8,8), l = (7 + 7) div 4 = 3.
  const auto arc = Draw("@a008803e");
  ASSERT_EQ(arc.size(), 1u);
  EXPECT_EQ(arc[0].box, (RectF{1, 1, 8, 8}));
  EXPECT_EQ(arc[0].points, (std::vector<PointF>{{1, 5}, {5, 1}}));  // P('3') to P('0')

  const auto other = Draw("@a008821e");
  ASSERT_EQ(other.size(), 1u);
  EXPECT_EQ(other[0].points, (std::vector<PointF>{{8, 5}, {5, 8}}));  // P('1') to P('2')

  // Start '4' is the same point as '0'.
  const auto four = Draw("@a008834e");
  ASSERT_EQ(four.size(), 1u);
  EXPECT_EQ(four[0].points, (std::vector<PointF>{{5, 1}, {1, 5}}));
}

TEST(DrawPicture, ArcWithAnUnknownPointDrawsNothing) {
  EXPECT_TRUE(Draw("@a008835e").empty());
  EXPECT_TRUE(Draw("@a0088#0e").empty());
  EXPECT_TRUE(Draw("@a008840e").empty());
  EXPECT_TRUE(Draw("@a0088Z0e").empty());
}

TEST(DrawPicture, StylesSwitchPenAndBrushForTheFollowingShapes) {
  // Font height -40 (a Windows character height) gives a pen of 40 div 20 + 1.
  const auto shapes = Draw("@s3r0011s1r0011s2r0011s0r0011s9r0011e", 16, {0, 0}, -40);
  ASSERT_EQ(shapes.size(), 5u);
  EXPECT_EQ(shapes[0].pen, (Pen{kInk, 1, PenStyle::Dot}));
  EXPECT_EQ(shapes[0].brush.style, BrushStyle::Clear);
  EXPECT_EQ(shapes[1].pen, (Pen{kInk, 3, PenStyle::Solid}));
  EXPECT_EQ(shapes[2].brush, (Brush{kInk, BrushStyle::Solid}));
  EXPECT_EQ(shapes[3].brush.style, BrushStyle::Clear);
  EXPECT_EQ(shapes[4].pen, shapes[3].pen);
  EXPECT_EQ(shapes[4].brush.style, shapes[3].brush.style);
}

TEST(DrawPicture, SinglePointPolylineDrawsNothing) { EXPECT_TRUE(Draw("@p44e").empty()); }

TEST(DrawPicture, RestoresBrushAndPenStyleButNotPenColourOrWidth) {
  SvgCanvas canvas(40, 40);
  canvas.brush = Brush{Color{0, 0, 255}, BrushStyle::Solid};
  canvas.pen = Pen{Color{0, 255, 0}, 5, PenStyle::Dash};
  DrawPicture(canvas, Picture::Parse("@s3s2s0r0011e"), Point{0, 0}, 16, 13, kRed);
  EXPECT_EQ(canvas.brush, (Brush{Color{0, 0, 255}, BrushStyle::Solid}));
  EXPECT_EQ(canvas.pen, (Pen{kRed, 1, PenStyle::Dash}));
}

TEST(DrawPicture, ReturnsTheRightmostXButAtLeastSixteenPixels) {
  RecordingCanvas canvas;
  // The check box reaches x = 13 only: trailing text still moves 16 pixels.
  EXPECT_EQ(DrawPicture(canvas, Picture::Parse(kCheckedBox), {10, 0}, 16, 13, kInk), 26);
  EXPECT_EQ(DrawPicture(canvas, Picture::Parse("@e"), {10, 0}, 16, 13, kInk), 26);
  EXPECT_EQ(DrawPicture(canvas, Picture::Parse(kColourSwatch), {10, 0}, 32, 13, kInk), 42);
  // Any x argument counts, also of a shape that draws nothing.
  EXPECT_EQ(DrawPicture(canvas, Picture::Parse("@pZ0e"), {0, 0}, 16, 13, kInk), 35);
}

// --- Drawing at any scale ----------------------------------------------------

// Catches the scaled renderer drifting from the table renderer where both are
// exact: at two pixels a digit they draw the same (arcs aside, whose quarter
// of an odd box the table renderer rounds down).
TEST(DrawPictureScaled, DrawsAsTheTableRendererWhereDigitsAreWholePixels) {
  for (const std::string_view text :
       {kCheckedBox, kColourSwatch, std::string_view("@s1c0088s3l0G9Gs2r3344e")}) {
    RecordingCanvas table;
    RecordingCanvas scaled;
    DrawPicture(table, Picture::Parse(text), {4, 4}, 32, 13, kInk);
    DrawPictureScaled(scaled, Picture::Parse(text), {4, 4}, 2, 1, kInk);
    EXPECT_EQ(scaled.Lines(), table.Lines()) << text;
  }
}

// Catches an inset that grows with the scale: a box's first corner moves in
// by one device unit, not one user unit.
TEST(DrawPictureScaled, BoxesMoveInByOneDeviceUnitAtAnyScale) {
  RecordingCanvas canvas;
  canvas.Scale(3);
  DrawPictureScaled(canvas, Picture::Parse(kUncheckedBox), {0, 0}, 1, 2, kInk);
  ASSERT_EQ(canvas.Shapes().size(), 1u);
  EXPECT_EQ(canvas.Shapes()[0].box, (RectF{7, 7, 39, 39}));
  EXPECT_EQ(canvas.Shapes()[0].pen, (Pen{kInk, 2, PenStyle::Solid}));
}

TEST(DrawPictureScaled, DigitsAndArcQuartersAreNotRounded) {
  RecordingCanvas canvas;
  DrawPictureScaled(canvas, Picture::Parse("@l22DDe"), {0.5, 0}, 1.25, 1, kInk);
  DrawPictureScaled(canvas, Picture::Parse("@a008803e"), {0, 0}, 1, 1, kInk);
  ASSERT_EQ(canvas.Shapes().size(), 2u);
  EXPECT_EQ(canvas.Shapes()[0].points, (std::vector<PointF>{{3, 2.5}, {16.75, 16.25}}));
  // Box (1,1)-(8,8): a quarter of 7 + 7 is 3.5.
  EXPECT_EQ(canvas.Shapes()[1].points, (std::vector<PointF>{{1, 4.5}, {4.5, 1}}));
}

TEST(DrawPictureScaled, StylesUseThePenWidthGivenAndTheThinnestDots) {
  RecordingCanvas canvas;
  canvas.pen.style = PenStyle::Dash;
  DrawPictureScaled(canvas, Picture::Parse("@s3r0011s1r0011e"), {0, 0}, 4, 2.5, kRed);
  ASSERT_EQ(canvas.Shapes().size(), 2u);
  EXPECT_EQ(canvas.Shapes()[0].pen, (Pen{kRed, 1, PenStyle::Dot}));
  EXPECT_EQ(canvas.Shapes()[1].pen, (Pen{kRed, 2.5, PenStyle::Solid}));
  EXPECT_EQ(canvas.pen.style, PenStyle::Dash) << "the pen style before the picture comes back";
}

TEST(DrawPictureScaled, TrailingTextStartsAtLeastOneSymbolCellRight) {
  RecordingCanvas canvas;
  EXPECT_EQ(DrawPictureScaled(canvas, Picture::Parse(kCheckedBox), {10, 0}, 2, 1, kInk), 42);
  EXPECT_EQ(DrawPictureScaled(canvas, Picture::Parse("@pZ0e"), {0, 0}, 0.5, 1, kInk), 17.5);
}

// --- Measuring ---------------------------------------------------------------

TEST(PictureMeasure, CellWidthIsTheWidestDigitPlusTheTrailingText) {
  RecordingCanvas canvas;
  canvas.font.height = 10;  // 6 pixels a character
  EXPECT_EQ(PictureCellWidth(canvas, Picture::Parse(kColourSwatch), 20), 20);
  EXPECT_EQ(PictureCellWidth(canvas, Picture::Parse(kCheckedBox), 20), 16);  // 20 × 13 div 16
  EXPECT_EQ(PictureCellWidth(canvas, Picture::Parse("@r00G8eabc#4040"), 16), 16 + 18);
}

TEST(PictureMeasure, PaperWidthIsALineHeightAndHalfALineForEachX) {
  RecordingCanvas canvas;
  canvas.font.height = 10;
  EXPECT_EQ(PicturePaperWidth(canvas, Picture::Parse(kCheckedBox), 15), 15);
  EXPECT_EQ(PicturePaperWidth(canvas, Picture::Parse(kColourSwatch), 15), 30);
  EXPECT_EQ(PicturePaperWidth(canvas, Picture::Parse("@xr0011e ab"), 16), 16 + 8 + 18);
}

TEST(PictureMeasure, CentringOffsetSplitsTheUnusedHeight) {
  EXPECT_EQ(PictureCentringOffset(Picture::Parse(kCheckedBox), 16), 1);  // (16 - 13) div 2
  EXPECT_EQ(PictureCentringOffset(Picture::Parse(kCheckedBox), 32), 3);  // (32 - 26) div 2
  EXPECT_EQ(PictureCentringOffset(Picture::Parse("@l0000e"), 17), 8);
  // A picture taller than the row is not pushed upwards.
  EXPECT_EQ(PictureCentringOffset(Picture::Parse("@l000Ke"), 16), 0);
}

// --- Robustness --------------------------------------------------------------

TEST(PictureRobustness, RandomAndTruncatedTextsDrawOnlyWhereTheirDigitsReach) {
  std::mt19937 random(20240611);
  const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZsrclpawxe#@ -";
  for (int round = 0; round < 4000; ++round) {
    std::string text = "@";
    const int length = std::uniform_int_distribution<int>(0, 60)(random);
    for (int i = 0; i < length; ++i) {
      const int pick = std::uniform_int_distribution<int>(0, 9)(random);
      if (pick == 0) {
        // Any byte at all: UTF-8 lead and continuation bytes, controls, NUL.
        text += static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
      } else {
        text +=
            alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
      }
    }
    const int lineHeight = std::uniform_int_distribution<int>(1, 64)(random);
    ExpectDrawnInside(text, Point{7, 11}, lineHeight);
    if (HasFatalFailure()) return;
  }

  // Every table picture cut at every length (the kind symbols are cut in
  // tests/refbook/kind_symbols_test.cpp).
  for (const std::string_view picture : {kCheckedBox, kUncheckedBox, kColourSwatch}) {
    for (std::size_t cut = 0; cut <= picture.size(); ++cut) {
      ExpectDrawnInside(picture.substr(0, cut), Point{0, 0}, 32);
    }
  }

  // Very long texts: a run of digits, and commands without an end.
  ExpectDrawnInside("@p" + std::string(200000, 'Z'), Point{0, 0}, 16);
  std::string commands = "@";
  for (int i = 0; i < 20000; ++i) commands += "s2aZ0Z0Z1c0Z";
  ExpectDrawnInside(commands, Point{-5, -5}, 16);
  ExpectDrawnInside("@Рl00GGсe А#яя", Point{0, 0}, 16);
}

// --- Reference drawings ------------------------------------------------------

// Table pictures are drawn at row height 32 on a cell of 40 pixels.
TEST(PictureReference, EveryTablePictureDrawsAsReviewed) {
  ExpectDrawnAsReviewed(KORDAVELT_PICTURES_DIR,
                        {
                            {"checked_box", std::string(kCheckedBox), kBlack, 32, 40},
                            {"unchecked_box", std::string(kUncheckedBox), kBlack, 32, 40},
                            {"colour_swatch", std::string(kColourSwatch), kRed, 32, 40},
                        });
}

}  // namespace
}  // namespace kordavelt
