// The recording canvas is what tests of the scheme, charts and printing read
// drawings from. A style line left out after a change, or written for every
// shape, would make those tests either miss a wrong colour or drown in noise.

#include "draw/recording_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kordavelt {
namespace {

using Lines = std::vector<std::string>;

TEST(RecordingCanvas, WritesTheStateOnlyBeforeItsFirstUseAndAfterAChange) {
  RecordingCanvas canvas;
  canvas.Line(PointF{0, 0}, PointF{10, 0});
  canvas.Line(PointF{0, 1}, PointF{10, 1});
  canvas.pen = Pen{Color{0, 0, 128}, 2.5, PenStyle::DashDot};
  canvas.brush.style = BrushStyle::Clear;
  canvas.Ellipse(RectF{0, 0, 20, 10});
  canvas.Arc(RectF{0, 0, 8, 8}, PointF{1, 5}, PointF{5, 1});
  canvas.pen.style = PenStyle::Clear;
  canvas.brush = Brush{Color{255, 0, 0}, BrushStyle::Solid};
  const std::vector<PointF> triangle{{0, 0}, {4, 0}, {2, 3}};
  canvas.Polygon(triangle);
  EXPECT_EQ(canvas.Lines(), (Lines{
                                "pen #000000 1 solid",
                                "line 0,0 10,0",
                                "line 0,1 10,1",
                                "pen #000080 2.5 dashdot",
                                "brush none",
                                "ellipse 0,0 20,10",
                                "arc 0,0 8,8 from 1,5 to 5,1",
                                "pen none",
                                "brush #FF0000",
                                "polygon 0,0 4,0 2,3",
                            }));
}

TEST(RecordingCanvas, TextsCarryTheirFontAlignmentAndAngle) {
  RecordingCanvas canvas;
  canvas.font.height = 10;
  canvas.Text(PointF{1, 2}, "Iк1");
  canvas.font.bold = true;
  canvas.font.color = Color{0, 128, 0};
  canvas.Text(PointF{3, 4}, "t, с", 90, HAlign::Center, VAlign::Baseline);
  EXPECT_EQ(canvas.Joined(),
            "font Arial 10 #000000\n"
            "text 1,2 \"Iк1\"\n"
            "font Arial 10 #008000 bold\n"
            "text 3,4 \"t, с\" angle 90 center baseline\n");
}

TEST(RecordingCanvas, FillsAndClipsNeedNoPen) {
  RecordingCanvas canvas;
  canvas.SetClip(RectF{0, 0, 5, 5});
  canvas.FillRect(RectF{0, 0, 2.5, 1}, kWhite);
  canvas.ClearClip();
  EXPECT_EQ(canvas.Lines(), (Lines{"clip 0,0 5,5", "fill 0,0 2.5,1 #FFFFFF", "clip none"}));
  ASSERT_EQ(canvas.Shapes().size(), 1u);
  EXPECT_EQ(canvas.Shapes()[0].brush, (Brush{kWhite, BrushStyle::Solid}));
}

TEST(RecordingCanvas, ClearForgetsTheShapesAndTheStateWritten) {
  RecordingCanvas canvas;
  canvas.Rectangle(RectF{0, 0, 1, 1});
  canvas.Clear();
  canvas.Rectangle(RectF{0, 0, 2, 2});
  EXPECT_EQ(canvas.Lines(), (Lines{"pen #000000 1 solid", "brush #FFFFFF", "rect 0,0 2,2"}));
  EXPECT_EQ(canvas.Shapes().size(), 1u);
}

TEST(RecordingCanvas, MeasuresAsTheSvgCanvasEstimates) {
  RecordingCanvas canvas(10);
  canvas.font.height = 5;
  EXPECT_EQ(canvas.MeasureText("АВ"), (SizeF{6, 5}));
  EXPECT_DOUBLE_EQ(canvas.DotsPerMm(), 10);
}

}  // namespace
}  // namespace kordavelt
