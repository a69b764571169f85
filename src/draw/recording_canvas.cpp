#include "draw/recording_canvas.h"

#include <cmath>

#include "draw/svg_canvas.h"

namespace kordavelt {
namespace {

std::string At(PointF p) { return CoordText(p.x) + "," + CoordText(p.y); }

std::string Box(const RectF& box) {
  return At({box.left, box.top}) + " " + At({box.right, box.bottom});
}

std::string Points(std::span<const PointF> points) {
  std::string out;
  for (const PointF& p : points) out += " " + At(p);
  return out;
}

std::string Turn(double turnDeg) { return turnDeg == 0 ? "" : " turned " + CoordText(turnDeg); }

const char* StyleName(PenStyle style) {
  switch (style) {
    case PenStyle::Solid:
      return "solid";
    case PenStyle::Dash:
      return "dash";
    case PenStyle::Dot:
      return "dot";
    case PenStyle::DashDot:
      return "dashdot";
    case PenStyle::Clear:
      return "clear";
  }
  return "solid";
}

}  // namespace

std::string RecordingCanvas::Joined() const {
  std::string out;
  for (const std::string& line : lines_) out += line + "\n";
  return out;
}

void RecordingCanvas::Clear() {
  lines_.clear();
  shapes_.clear();
  notedPen_.reset();
  notedBrush_.reset();
  notedFont_.reset();
}

void RecordingCanvas::NotePen() {
  if (notedPen_ == pen) return;
  notedPen_ = pen;
  lines_.push_back(pen.style == PenStyle::Clear
                       ? "pen none"
                       : "pen " + SvgColor(pen.color) + " " + CoordText(pen.width) + " " +
                             StyleName(pen.style));
}

void RecordingCanvas::NoteBrush() {
  if (notedBrush_ == brush) return;
  notedBrush_ = brush;
  lines_.push_back(brush.style == BrushStyle::Clear ? "brush none"
                                                    : "brush " + SvgColor(brush.color));
}

void RecordingCanvas::AddShape(Shape::Kind kind, const RectF& box, std::vector<PointF> points,
                               double turnDeg, std::string line) {
  shapes_.push_back(Shape{kind, box, turnDeg, std::move(points), pen, brush});
  lines_.push_back(std::move(line));
}

void RecordingCanvas::DeviceLine(PointF from, PointF to) {
  NotePen();
  AddShape(Shape::Kind::Line, {}, {from, to}, 0, "line " + At(from) + " " + At(to));
}

void RecordingCanvas::DevicePolyline(std::span<const PointF> points) {
  NotePen();
  AddShape(Shape::Kind::Polyline, {}, {points.begin(), points.end()}, 0,
           "polyline" + Points(points));
}

void RecordingCanvas::DevicePolygon(std::span<const PointF> points) {
  NotePen();
  NoteBrush();
  AddShape(Shape::Kind::Polygon, {}, {points.begin(), points.end()}, 0, "polygon" + Points(points));
}

void RecordingCanvas::DeviceRectangle(const RectF& box) {
  NotePen();
  NoteBrush();
  AddShape(Shape::Kind::Rectangle, box, {}, 0, "rect " + Box(box));
}

void RecordingCanvas::DeviceEllipse(const RectF& box, double turnDeg) {
  NotePen();
  NoteBrush();
  AddShape(Shape::Kind::Ellipse, box, {}, turnDeg, "ellipse " + Box(box) + Turn(turnDeg));
}

void RecordingCanvas::DeviceArc(const RectF& box, double turnDeg, PointF start, PointF end) {
  NotePen();
  AddShape(Shape::Kind::Arc, box, {start, end}, turnDeg,
           "arc " + Box(box) + " from " + At(start) + " to " + At(end) + Turn(turnDeg));
}

void RecordingCanvas::DeviceFillRect(const RectF& box, Color color) {
  shapes_.push_back(Shape{Shape::Kind::Fill,
                          box,
                          0,
                          {},
                          Pen{color, 0, PenStyle::Clear},
                          Brush{color, BrushStyle::Solid}});
  lines_.push_back("fill " + Box(box) + " " + SvgColor(color));
}

void RecordingCanvas::DeviceText(PointF at, std::string_view text, double angleDeg, HAlign halign,
                                 VAlign valign, double fontHeight) {
  static constexpr const char* kHorizontal[] = {"left", "center", "right"};
  static constexpr const char* kVertical[] = {"top", "baseline", "bottom"};
  Font used = font;
  used.height = fontHeight;
  if (notedFont_ != used) {
    notedFont_ = used;
    lines_.push_back("font " + used.name + " " + CoordText(used.height) + " " +
                     SvgColor(used.color) + (used.bold ? " bold" : "") +
                     (used.italic ? " italic" : ""));
  }
  std::string line = "text " + At(at) + " \"" + std::string(text) + "\"";
  if (angleDeg != 0) line += " angle " + CoordText(angleDeg);
  if (halign != HAlign::Left || valign != VAlign::Top) {
    line += std::string(" ") + kHorizontal[static_cast<int>(halign)] + " " +
            kVertical[static_cast<int>(valign)];
  }
  lines_.push_back(std::move(line));
}

SizeF RecordingCanvas::DeviceTextSize(std::string_view text, double fontHeight) {
  return EstimatedTextSize(text, fontHeight);
}

void RecordingCanvas::DeviceClip(const std::optional<RectF>& box) {
  lines_.push_back(box ? "clip " + Box(*box) : "clip none");
}

}  // namespace kordavelt
