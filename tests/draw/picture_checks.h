#pragma once

// Checks of drawn pictures shared by the tests of picture strings and of the
// kind symbols: a canvas that records what is drawn, the bound a picture
// must stay within, and the comparison with reviewed reference drawings.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "draw/canvas.h"
#include "draw/picture_string.h"
#include "draw/svg_canvas.h"

namespace kordavelt::testing {

inline constexpr Color kInk{0, 0, 128};

// Remembers each shape with the pen and brush it was drawn with.
class RecordingCanvas : public Canvas {
 public:
  struct Shape {
    enum class Kind { Rectangle, Ellipse, Polyline, Arc } kind;
    Rect box;
    std::vector<Point> points;  // polyline points; arc start and end radials
    Pen pen;
    Brush brush;
  };

  void Line(Point from, Point to) override {
    const Point points[] = {from, to};
    Polyline(points);
  }
  void Polyline(std::span<const Point> points) override {
    shapes.push_back({Shape::Kind::Polyline, {}, {points.begin(), points.end()}, pen, brush});
  }
  void Polygon(std::span<const Point> points) override { Polyline(points); }
  void Rectangle(const Rect& box) override {
    shapes.push_back({Shape::Kind::Rectangle, box, {}, pen, brush});
  }
  void Ellipse(const Rect& box) override {
    shapes.push_back({Shape::Kind::Ellipse, box, {}, pen, brush});
  }
  void Arc(const Rect& box, Point start, Point end) override {
    shapes.push_back({Shape::Kind::Arc, box, {start, end}, pen, brush});
  }
  void FillRect(const Rect&, Color) override {}
  void Text(Point, std::string_view, double, HAlign, VAlign) override {}
  Size TextExtent(std::string_view text) override {
    return Size{static_cast<int>(text.size()) * 7, 13};
  }

  std::vector<Shape> shapes;
};

// Whatever the text, a picture draws only inside the box its digits can reach:
// from the origin to 35 digits (plus the one-pixel inset) on each axis.
inline void ExpectDrawnInside(std::string_view text, Point origin, int lineHeight) {
  RecordingCanvas canvas;
  const Picture picture = Picture::Parse(text);
  const int reach = 35 * lineHeight / 16 + 1;
  const int returned = DrawPicture(canvas, picture, origin, lineHeight, 13, kInk);
  EXPECT_GE(returned, origin.x + 16) << text;
  EXPECT_LE(returned, origin.x + std::max(reach, 16)) << text;
  EXPECT_LE(picture.MaxX(), 35);
  EXPECT_LE(picture.MaxY(), 35);
  EXPECT_LE(picture.ConnectionPoints().size(), 2u);

  const auto inside = [&](double x, double y) {
    return x >= origin.x - 1e-6 && x <= origin.x + reach + 1e-6 && y >= origin.y - 1e-6 &&
           y <= origin.y + reach + 1e-6;
  };
  for (const auto& shape : canvas.shapes) {
    std::vector<std::pair<double, double>> drawn;
    if (shape.kind == RecordingCanvas::Shape::Kind::Polyline) {
      for (const Point& p : shape.points) drawn.emplace_back(p.x, p.y);
    } else {
      drawn.emplace_back(shape.box.left, shape.box.top);
      drawn.emplace_back(shape.box.right, shape.box.bottom);
    }
    if (shape.kind == RecordingCanvas::Shape::Kind::Arc) {
      // The radials may point anywhere; the arc itself lies on the ellipse.
      const ArcGeometry arc = ComputeArc(shape.box, shape.points[0], shape.points[1]);
      drawn.emplace_back(arc.startX, arc.startY);
      drawn.emplace_back(arc.endX, arc.endY);
    }
    for (const auto& [x, y] : drawn) {
      ASSERT_TRUE(inside(x, y)) << "(" << x << ", " << y << ") from \"" << text << "\"";
    }
  }
}

// A reviewed drawing: `text` drawn in `ink` at `lineHeight` on a white square
// of `side` pixels, kept as tests/<folder>/pictures/<name>.svg.
struct ReferencePicture {
  std::string name;
  std::string text;
  Color ink;
  int lineHeight;
  int side;
};

inline std::string RenderReference(const ReferencePicture& picture) {
  SvgCanvas canvas(picture.side, picture.side);
  canvas.FillRect(Rect{0, 0, picture.side, picture.side}, kWhite);
  DrawPicture(canvas, Picture::Parse(picture.text), Point{4, 4}, picture.lineHeight,
              picture.lineHeight * 5 / 8, picture.ink);
  return canvas.Document();
}

// Compares every picture with its reviewed drawing in `folder`;
// KORDAVELT_UPDATE_PICTURES=1 rewrites the drawings from the current renderer.
inline void ExpectDrawnAsReviewed(const std::string& folder,
                                  const std::vector<ReferencePicture>& pictures) {
  const char* update = std::getenv("KORDAVELT_UPDATE_PICTURES");
  const bool updating = update != nullptr && std::string(update) == "1";
  for (const ReferencePicture& picture : pictures) {
    const std::string path = folder + "/" + picture.name + ".svg";
    const std::string drawn = RenderReference(picture);
    if (updating) {
      std::ofstream(path, std::ios::binary) << drawn;
      continue;
    }
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path << " is missing; run with KORDAVELT_UPDATE_PICTURES=1";
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(drawn, expected.str())
        << picture.name << " (" << picture.text << ") differs from " << path;
  }
}

}  // namespace kordavelt::testing
