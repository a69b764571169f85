#pragma once

// The drawing surface of the program: table cells, symbols, the scheme,
// charts and printouts all draw through a Canvas. The Qt program paints with
// QPainter; tests and exports write SVG. Coordinates are device units
// (pixels), x to the right and y downwards.
//
// Shapes follow the conventions the drawings were designed for: a rectangle
// or ellipse box excludes its right and bottom edges, arcs run
// counter-clockwise on the screen from a start radial to an end radial, and
// text angles are counter-clockwise degrees.

#include <span>
#include <string>
#include <string_view>

#include "draw/color.h"

namespace kordavelt {

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(Size, Size) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  friend constexpr bool operator==(Rect, Rect) = default;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, Clear };

struct Pen {
  Color color = kBlack;
  int width = 1;
  PenStyle style = PenStyle::Solid;
  friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle { Solid, Clear };

struct Brush {
  Color color = kWhite;
  BrushStyle style = BrushStyle::Solid;
  friend bool operator==(const Brush&, const Brush&) = default;
};

struct Font {
  std::string name = "Arial";
  int height = 13;  // character cell height in pixels
  bool bold = false;
  bool italic = false;
  Color color = kBlack;
  friend bool operator==(const Font&, const Font&) = default;
};

enum class HAlign { Left, Center, Right };
// Where the text's reference point lies: its top, its baseline or its bottom.
enum class VAlign { Top, Baseline, Bottom };

// An arc of the ellipse inscribed in `box`, as the renderers need it: the
// points where the start and end radials meet the ellipse, and the same arc
// as parametric angles of the ellipse (degrees, counter-clockwise from the
// positive x axis with y upwards), sweep always in (0, 360].
struct ArcGeometry {
  double centerX = 0;
  double centerY = 0;
  double radiusX = 0;
  double radiusY = 0;
  double startX = 0;
  double startY = 0;
  double endX = 0;
  double endY = 0;
  double startAngleDeg = 0;
  double sweepDeg = 360;
};

// Start and end radials that coincide give the whole ellipse.
ArcGeometry ComputeArc(const Rect& box, Point start, Point end);

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Drawing state, read by the next drawing call.
  Pen pen;
  Brush brush;
  Font font;

  virtual void Line(Point from, Point to) = 0;
  virtual void Polyline(std::span<const Point> points) = 0;
  // Closed and filled with the brush.
  virtual void Polygon(std::span<const Point> points) = 0;
  virtual void Rectangle(const Rect& box) = 0;
  virtual void Ellipse(const Rect& box) = 0;
  virtual void Arc(const Rect& box, Point start, Point end) = 0;
  // Fills with a colour, no outline, whatever the pen and brush.
  virtual void FillRect(const Rect& box, Color color) = 0;
  virtual void Text(Point at, std::string_view text, double angleDeg = 0,
                    HAlign halign = HAlign::Left, VAlign valign = VAlign::Top) = 0;
  virtual Size TextExtent(std::string_view text) = 0;

  // Limits the following drawing to `box` until ClearClip; canvases that
  // cannot clip draw everything.
  virtual void SetClip(const Rect& /*box*/) {}
  virtual void ClearClip() {}
};

}  // namespace kordavelt
