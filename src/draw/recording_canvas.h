#pragma once

// A Canvas that writes down what reaches the device, for tests: every call
// as one readable line in device units, and every shape with the pen and
// brush it was drawn with. A line for the pen, brush or font comes before
// the first call that uses it and again whenever it changed:
//
//   pen #000080 1 solid
//   brush none
//   rect 3,3 13,13
//   polyline 6,11 3,5 4,4
//   arc 1,1 8,8 from 1,5 to 5,1
//   ellipse 0,0 20,10 turned 30
//   fill 0,0 40,40 #FFFFFF
//   font Arial 13 #000000 bold
//   text 10,20 "Т1" angle 90 center baseline
//   clip 0,0 10,10
//   clip none
//
// Numbers are written as CoordText writes them. Text extents are estimated
// as on the SVG canvas.

#include <string>
#include <vector>

#include "draw/canvas.h"

namespace kordavelt {

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(double dotsPerMm = kScreenDotsPerMm) : Canvas(dotsPerMm) {}

  struct Shape {
    enum class Kind { Line, Polyline, Polygon, Rectangle, Ellipse, Arc, Fill };
    Kind kind = Kind::Line;
    RectF box;                   // rectangles, ellipses, arcs and fills
    double turnDeg = 0;          // ellipses and arcs
    std::vector<PointF> points;  // lines and polylines; the radials of an arc
    Pen pen;
    Brush brush;  // for a fill, its colour
  };

  const std::vector<std::string>& Lines() const { return lines_; }
  // The lines joined, each ended by '\n'.
  std::string Joined() const;
  const std::vector<Shape>& Shapes() const { return shapes_; }
  // Forgets what was recorded (the next call writes its state again).
  void Clear();

 protected:
  void DeviceLine(PointF from, PointF to) override;
  void DevicePolyline(std::span<const PointF> points) override;
  void DevicePolygon(std::span<const PointF> points) override;
  void DeviceRectangle(const RectF& box) override;
  void DeviceEllipse(const RectF& box, double turnDeg) override;
  void DeviceArc(const RectF& box, double turnDeg, PointF start, PointF end) override;
  void DeviceFillRect(const RectF& box, Color color) override;
  void DeviceText(PointF at, std::string_view text, double angleDeg, HAlign halign, VAlign valign,
                  double fontHeight) override;
  SizeF DeviceTextSize(std::string_view text, double fontHeight) override;
  void DeviceClip(const std::optional<RectF>& box) override;

 private:
  void NotePen();
  void NoteBrush();
  void AddShape(Shape::Kind kind, const RectF& box, std::vector<PointF> points, double turnDeg,
                std::string line);

  std::vector<std::string> lines_;
  std::vector<Shape> shapes_;
  std::optional<Pen> notedPen_;
  std::optional<Brush> notedBrush_;
  std::optional<Font> notedFont_;
};

}  // namespace kordavelt
