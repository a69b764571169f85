#pragma once

// The drawing surface of the program: table cells, symbols, the scheme,
// charts and printouts all draw through a Canvas. The Qt program paints with
// QPainter; tests and exports write SVG or record the calls.
//
// Coordinates are real numbers in user units, x to the right and y
// downwards. The current transform maps them to device units: pixels on the
// screen, dots on a printer, units of the SVG's view box. It starts as the
// identity, so that the table window draws in whole pixels as it always
// did; the scheme scales grid steps by its zoom, printing scales millimetres
// by DotsPerMm(). Integer points and boxes convert to real ones without
// loss, and TextExtent() measures in whole units for the table's layout.
//
// Units of the drawing state:
// - pen widths are device units (a width of 1 or less is the thinnest line
//   the device draws), because screen and printer widths are computed from
//   device steps; DotsPerMm() turns millimetres into them;
// - font heights are user units, so that texts grow with the zoom and
//   TextExtent() answers in the units the drawing is laid out in.
//
// Shapes follow the conventions the drawings were designed for: a rectangle
// or ellipse box excludes its right and bottom edges (one device unit, as
// the device rasterises it), arcs run counter-clockwise on the screen from a
// start radial to an end radial, and angles (text, rotations) are
// counter-clockwise degrees on the screen. "On the screen" is said of user
// coordinates: a transform maps the drawing point for point, so a mirrored
// arc is the mirror image of the same arc.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

struct PointF {
  double x = 0;
  double y = 0;
  constexpr PointF() = default;
  constexpr PointF(double px, double py) : x(px), y(py) {}
  // Whole pixels are real points.
  constexpr PointF(Point p) : x(p.x), y(p.y) {}
  friend constexpr bool operator==(PointF, PointF) = default;
};

struct SizeF {
  double width = 0;
  double height = 0;
  friend constexpr bool operator==(SizeF, SizeF) = default;
};

struct RectF {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  constexpr RectF() = default;
  constexpr RectF(double l, double t, double r, double b) : left(l), top(t), right(r), bottom(b) {}
  constexpr RectF(const Rect& box)
      : left(box.left), top(box.top), right(box.right), bottom(box.bottom) {}
  constexpr double Width() const { return right - left; }
  constexpr double Height() const { return bottom - top; }
  // The same box with left ≤ right and top ≤ bottom.
  RectF Normalized() const;
  friend constexpr bool operator==(const RectF&, const RectF&) = default;
};

// An affine map of the plane, y downwards: x' = xx·x + xy·y + dx,
// y' = yx·x + yy·y + dy.
struct Transform {
  double xx = 1;
  double xy = 0;
  double yx = 0;
  double yy = 1;
  double dx = 0;
  double dy = 0;

  static Transform Translation(double x, double y);
  static Transform Scaling(double sx, double sy);
  // Counter-clockwise on the screen.
  static Transform Rotation(double degrees);

  PointF Map(PointF p) const;
  // The linear part alone, for directions and lengths.
  PointF MapVector(PointF v) const;
  // This map after `first`: After(first).Map(p) == Map(first.Map(p)).
  Transform After(const Transform& first) const;
  double Determinant() const { return xx * yy - xy * yx; }
  // Axes stay horizontal and vertical (scales and mirrors, no turn).
  bool IsAxisAligned() const { return xy == 0 && yx == 0; }
  friend bool operator==(const Transform&, const Transform&) = default;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, Clear };

struct Pen {
  Color color = kBlack;
  double width = 1;  // device units
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
  double height = 13;  // character cell height in user units
  bool bold = false;
  bool italic = false;
  Color color = kBlack;
  friend bool operator==(const Font&, const Font&) = default;
};

enum class HAlign { Left, Center, Right };
// Where the text's reference point lies: its top, its baseline or its bottom.
enum class VAlign { Top, Baseline, Bottom };

// The screen's resolution as the program assumes it where a device tells
// none: 96 dots per inch. Dash patterns are designed in these dots and keep
// their length in millimetres on finer devices.
inline constexpr double kScreenDotsPerMm = 96.0 / 25.4;

// An arc of the ellipse inscribed in `box` and then turned by `turnDeg`
// about the box's centre, as the renderers need it: the points where the
// start and end radials meet the ellipse, and the same arc as parametric
// angles of the unturned ellipse (degrees, counter-clockwise from the
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
ArcGeometry ComputeArc(const RectF& box, PointF start, PointF end, double turnDeg = 0);

// A number as drawings write it: fixed, up to three decimals, no trailing
// zeros, "-0" as "0", whatever the process locale.
std::string CoordText(double value);

// The size of a text as the deterministic canvases estimate it: 0.6 of the
// font height per character (not byte), one font height high.
SizeF EstimatedTextSize(std::string_view text, double fontHeight);

class Canvas {
 public:
  virtual ~Canvas() = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // Drawing state, read by the next drawing call.
  Pen pen;
  Brush brush;
  Font font;

  // --- Drawing, in user units -------------------------------------------------

  void Line(PointF from, PointF to);
  void Polyline(std::span<const PointF> points);
  void Polyline(std::span<const Point> points);
  // Closed and filled with the brush.
  void Polygon(std::span<const PointF> points);
  void Polygon(std::span<const Point> points);
  void Rectangle(const RectF& box);
  void Ellipse(const RectF& box);
  void Arc(const RectF& box, PointF start, PointF end);
  // Fills with a colour, no outline, whatever the pen and brush.
  void FillRect(const RectF& box, Color color);
  void Text(PointF at, std::string_view text, double angleDeg = 0, HAlign halign = HAlign::Left,
            VAlign valign = VAlign::Top);
  // The width and height of a text in the current font, in user units.
  SizeF MeasureText(std::string_view text);
  // The same rounded to whole units, as the table window lays out cells.
  Size TextExtent(std::string_view text);

  // Limits the following drawing to `box` (replacing any clip before) until
  // ClearClip or Restore. A box turned by the transform clips to the
  // device box around it. Canvases that cannot clip draw everything.
  void SetClip(const RectF& box);
  void ClearClip();

  // --- Transform and resolution ---------------------------------------------------

  const Transform& CurrentTransform() const { return transform_; }
  void SetTransform(const Transform& transform);
  void ResetTransform() { SetTransform(Transform{}); }
  // Each applies to user coordinates before the transform already set, as
  // a painter's do: Translate(x, y) then Scale(s) puts user point p at
  // (x + s·p.x, y + s·p.y) of the units before.
  void Translate(double x, double y);
  void Scale(double sx, double sy);
  void Scale(double s) { Scale(s, s); }
  void Rotate(double degrees);

  // Save pushes the transform, the clip, pen, brush and font; Restore pops
  // them (and does nothing when nothing is saved).
  void Save();
  void Restore();

  // Device dots per millimetre (the screen: kScreenDotsPerMm).
  double DotsPerMm() const { return dotsPerMm_; }
  // How long one device unit is in user units along the user x and y axes:
  // what "one pixel" means for a drawing made at any scale.
  SizeF DeviceUnitInUserUnits() const;

  // Maps a user point to device units and back.
  PointF ToDevice(PointF p) const { return transform_.Map(p); }

 protected:
  explicit Canvas(double dotsPerMm = kScreenDotsPerMm) : dotsPerMm_(dotsPerMm) {}

  // What the device draws, in device units. The pen, brush and font members
  // hold the state to draw with; the font's height is replaced by
  // `fontHeight` in device units.
  virtual void DeviceLine(PointF from, PointF to) = 0;
  virtual void DevicePolyline(std::span<const PointF> points) = 0;
  virtual void DevicePolygon(std::span<const PointF> points) = 0;
  // An upright box, normalised.
  virtual void DeviceRectangle(const RectF& box) = 0;
  // The ellipse inscribed in the normalised `box`, turned by `turnDeg`
  // about the box's centre.
  virtual void DeviceEllipse(const RectF& box, double turnDeg) = 0;
  // The arc of that ellipse counter-clockwise from the radial through
  // `start` to the one through `end` (see ComputeArc).
  virtual void DeviceArc(const RectF& box, double turnDeg, PointF start, PointF end) = 0;
  virtual void DeviceFillRect(const RectF& box, Color color) = 0;
  virtual void DeviceText(PointF at, std::string_view text, double angleDeg, HAlign halign,
                          VAlign valign, double fontHeight) = 0;
  virtual SizeF DeviceTextSize(std::string_view text, double fontHeight) = 0;
  // An upright, normalised clip box, or none.
  virtual void DeviceClip(const std::optional<RectF>& box) = 0;

  void SetDotsPerMm(double dotsPerMm) { dotsPerMm_ = dotsPerMm; }

 private:
  struct State {
    Transform transform;
    std::optional<RectF> clip;
    Pen pen;
    Brush brush;
    Font font;
  };

  struct TurnedBox {
    RectF box;
    double turnDeg = 0;
  };

  std::vector<PointF> ToDevice(std::span<const PointF> points) const;
  TurnedBox DeviceEllipseBox(const RectF& box) const;
  // A user box through the transform: upright when the transform keeps axes.
  RectF DeviceBox(const RectF& box) const;
  void Corners(const RectF& box, PointF (&corners)[4]) const;

  double dotsPerMm_;
  Transform transform_;
  std::optional<RectF> clip_;
  std::vector<State> saved_;
};

// Saves a canvas's state for a scope and restores it at the scope's end.
class SavedCanvasState {
 public:
  explicit SavedCanvasState(Canvas& canvas) : canvas_(canvas) { canvas_.Save(); }
  ~SavedCanvasState() { canvas_.Restore(); }
  SavedCanvasState(const SavedCanvasState&) = delete;
  SavedCanvasState& operator=(const SavedCanvasState&) = delete;

 private:
  Canvas& canvas_;
};

}  // namespace kordavelt
