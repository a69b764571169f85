#pragma once

// Checks of drawn pictures shared by the tests of picture strings and of the
// kind symbols: the bound a picture must stay within, and the comparison
// with reviewed reference drawings.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "draw/canvas.h"
#include "draw/picture_string.h"
#include "draw/recording_canvas.h"
#include "draw/svg_canvas.h"

namespace kordavelt {

// Readable failures of real points and boxes.
inline void PrintTo(PointF p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const RectF& box, std::ostream* out) {
  *out << "(" << box.left << ", " << box.top << ")-(" << box.right << ", " << box.bottom << ")";
}

}  // namespace kordavelt

namespace kordavelt::testing {

inline constexpr Color kInk{0, 0, 128};

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
  for (const auto& shape : canvas.Shapes()) {
    std::vector<std::pair<double, double>> drawn;
    if (shape.kind == RecordingCanvas::Shape::Kind::Polyline) {
      for (const PointF& p : shape.points) drawn.emplace_back(p.x, p.y);
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

// Compares a drawing with the reviewed file at `path`; with
// KORDAVELT_UPDATE_PICTURES=1 it rewrites the file from the drawing instead.
inline void ExpectSameAsReviewed(const std::string& path, const std::string& drawn,
                                 const std::string& what) {
  const char* update = std::getenv("KORDAVELT_UPDATE_PICTURES");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << drawn;
    return;
  }
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << path << " is missing; run with KORDAVELT_UPDATE_PICTURES=1";
  std::stringstream expected;
  expected << file.rdbuf();
  EXPECT_EQ(drawn, expected.str()) << what << " differs from " << path;
}

// Compares every picture with its reviewed drawing in `folder`.
inline void ExpectDrawnAsReviewed(const std::string& folder,
                                  const std::vector<ReferencePicture>& pictures) {
  for (const ReferencePicture& picture : pictures) {
    ExpectSameAsReviewed(folder + "/" + picture.name + ".svg", RenderReference(picture),
                         picture.name + " (" + picture.text + ")");
  }
}

}  // namespace kordavelt::testing
