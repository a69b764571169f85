#include "draw/canvas.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "base/cp1251.h"

namespace kordavelt {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Radians(double degrees) { return degrees * kPi / 180.0; }
double Degrees(double radians) { return radians * 180.0 / kPi; }

double NormalizedSweep(double degrees) {
  double sweep = std::fmod(degrees, 360.0);
  if (sweep <= 1e-9) sweep += 360.0;
  return sweep;
}

double Length(PointF v) { return std::hypot(v.x, v.y); }

// Turns `p` about `centre` counter-clockwise on the screen (y downwards).
PointF Turned(PointF p, PointF centre, double degrees) {
  if (degrees == 0) return p;
  const double c = std::cos(Radians(degrees));
  const double s = std::sin(Radians(degrees));
  const double x = p.x - centre.x;
  const double y = p.y - centre.y;
  return PointF{centre.x + x * c + y * s, centre.y - x * s + y * c};
}

// Cosine and sine of a turn, exact for quarter turns so that they keep
// boxes upright and coordinates whole.
std::pair<double, double> CosSin(double degrees) {
  const double quarters = degrees / 90.0;
  if (quarters == std::floor(quarters)) {
    static constexpr double kCos[] = {1, 0, -1, 0};
    static constexpr double kSin[] = {0, 1, 0, -1};
    const auto q = static_cast<int>(std::fmod(std::fmod(quarters, 4.0) + 4.0, 4.0));
    return {kCos[q], kSin[q]};
  }
  return {std::cos(Radians(degrees)), std::sin(Radians(degrees))};
}

}  // namespace

RectF RectF::Normalized() const {
  return RectF{std::min(left, right), std::min(top, bottom), std::max(left, right),
               std::max(top, bottom)};
}

// --- Transform -------------------------------------------------------------------

Transform Transform::Translation(double x, double y) { return Transform{1, 0, 0, 1, x, y}; }

Transform Transform::Scaling(double sx, double sy) { return Transform{sx, 0, 0, sy, 0, 0}; }

Transform Transform::Rotation(double degrees) {
  const auto [c, s] = CosSin(degrees);
  // Counter-clockwise on a screen whose y runs downwards.
  return Transform{c, s, -s, c, 0, 0};
}

PointF Transform::Map(PointF p) const {
  return PointF{xx * p.x + xy * p.y + dx, yx * p.x + yy * p.y + dy};
}

PointF Transform::MapVector(PointF v) const {
  return PointF{xx * v.x + xy * v.y, yx * v.x + yy * v.y};
}

Transform Transform::After(const Transform& first) const {
  return Transform{xx * first.xx + xy * first.yx,      xx * first.xy + xy * first.yy,
                   yx * first.xx + yy * first.yx,      yx * first.xy + yy * first.yy,
                   xx * first.dx + xy * first.dy + dx, yx * first.dx + yy * first.dy + dy};
}

// --- Helpers -----------------------------------------------------------------------

ArcGeometry ComputeArc(const RectF& box, PointF start, PointF end, double turnDeg) {
  ArcGeometry arc;
  arc.centerX = (box.left + box.right) / 2.0;
  arc.centerY = (box.top + box.bottom) / 2.0;
  arc.radiusX = std::fabs(box.right - box.left) / 2.0;
  arc.radiusY = std::fabs(box.bottom - box.top) / 2.0;
  const PointF centre{arc.centerX, arc.centerY};
  // The radials as they meet the unturned ellipse.
  start = Turned(start, centre, -turnDeg);
  end = Turned(end, centre, -turnDeg);

  // Radial angles with y upwards, so that counter-clockwise on the screen is positive.
  const double startRadial = std::atan2(arc.centerY - start.y, start.x - arc.centerX);
  const double endRadial = std::atan2(arc.centerY - end.y, end.x - arc.centerX);

  const auto parametric = [&](double radial) {
    if (arc.radiusX <= 0 || arc.radiusY <= 0) return radial;
    return std::atan2(std::sin(radial) / arc.radiusY, std::cos(radial) / arc.radiusX);
  };
  const double startParam = parametric(startRadial);
  const double endParam = parametric(endRadial);

  const PointF startOn = Turned({arc.centerX + arc.radiusX * std::cos(startParam),
                                 arc.centerY - arc.radiusY * std::sin(startParam)},
                                centre, turnDeg);
  const PointF endOn = Turned({arc.centerX + arc.radiusX * std::cos(endParam),
                               arc.centerY - arc.radiusY * std::sin(endParam)},
                              centre, turnDeg);
  arc.startX = startOn.x;
  arc.startY = startOn.y;
  arc.endX = endOn.x;
  arc.endY = endOn.y;
  arc.startAngleDeg = Degrees(startParam);
  arc.sweepDeg = NormalizedSweep(Degrees(endParam - startParam));
  return arc;
}

std::string CoordText(double value) {
  char buffer[64];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
  if (written.ec != std::errc{}) return "0";
  std::string text(buffer, written.ptr);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

SizeF EstimatedTextSize(std::string_view text, double fontHeight) {
  const auto characters = static_cast<double>(Utf8Length(text));
  const double height = std::fabs(fontHeight);
  return SizeF{characters * height * 0.6, height};
}

// --- Canvas ------------------------------------------------------------------------

std::vector<PointF> Canvas::ToDevice(std::span<const PointF> points) const {
  std::vector<PointF> device;
  device.reserve(points.size());
  for (const PointF& p : points) device.push_back(transform_.Map(p));
  return device;
}

void Canvas::Corners(const RectF& box, PointF (&corners)[4]) const {
  corners[0] = transform_.Map({box.left, box.top});
  corners[1] = transform_.Map({box.right, box.top});
  corners[2] = transform_.Map({box.right, box.bottom});
  corners[3] = transform_.Map({box.left, box.bottom});
}

RectF Canvas::DeviceBox(const RectF& box) const {
  PointF corners[4];
  Corners(box, corners);
  RectF around{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
  for (const PointF& c : corners) {
    around.left = std::min(around.left, c.x);
    around.top = std::min(around.top, c.y);
    around.right = std::max(around.right, c.x);
    around.bottom = std::max(around.bottom, c.y);
  }
  return around;
}

void Canvas::Line(PointF from, PointF to) { DeviceLine(transform_.Map(from), transform_.Map(to)); }

void Canvas::Polyline(std::span<const PointF> points) { DevicePolyline(ToDevice(points)); }

void Canvas::Polyline(std::span<const Point> points) {
  const std::vector<PointF> real(points.begin(), points.end());
  Polyline(real);
}

void Canvas::Polygon(std::span<const PointF> points) { DevicePolygon(ToDevice(points)); }

void Canvas::Polygon(std::span<const Point> points) {
  const std::vector<PointF> real(points.begin(), points.end());
  Polygon(real);
}

void Canvas::Rectangle(const RectF& box) {
  if (transform_.IsAxisAligned()) {
    DeviceRectangle(DeviceBox(box));
    return;
  }
  PointF corners[4];
  Corners(box, corners);
  DevicePolygon(corners);
}

// The ellipse inscribed in `box` as the device sees it: an affine map makes
// it another ellipse, whose axes are the singular vectors of the map applied
// to the box's half sizes (the closed form of a 2 × 2 singular value
// decomposition).
Canvas::TurnedBox Canvas::DeviceEllipseBox(const RectF& box) const {
  if (transform_.IsAxisAligned()) return TurnedBox{DeviceBox(box), 0};
  const PointF centre = transform_.Map({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
  const double rx = std::fabs(box.Width()) / 2;
  const double ry = std::fabs(box.Height()) / 2;
  const double a = transform_.xx * rx;
  const double b = transform_.xy * ry;
  const double c = transform_.yx * rx;
  const double d = transform_.yy * ry;
  const double e = (a + d) / 2;
  const double f = (a - d) / 2;
  const double g = (c + b) / 2;
  const double h = (c - b) / 2;
  const double q = std::hypot(e, h);
  const double r = std::hypot(f, g);
  const double major = q + r;
  const double minor = std::fabs(q - r);
  const double axisAngle = (std::atan2(h, e) + std::atan2(g, f)) / 2;
  // The major axis points along (cos, sin) with y downwards: turned -angle on the screen.
  return TurnedBox{{centre.x - major, centre.y - minor, centre.x + major, centre.y + minor},
                   -Degrees(axisAngle)};
}

void Canvas::Ellipse(const RectF& box) {
  const TurnedBox device = DeviceEllipseBox(box);
  DeviceEllipse(device.box, device.turnDeg);
}

void Canvas::Arc(const RectF& box, PointF start, PointF end) {
  PointF from = transform_.Map(start);
  PointF to = transform_.Map(end);
  // A mirror turns counter-clockwise into clockwise: the same arc runs the other way.
  if (transform_.Determinant() < 0) std::swap(from, to);
  const TurnedBox device = DeviceEllipseBox(box);
  DeviceArc(device.box, device.turnDeg, from, to);
}

void Canvas::FillRect(const RectF& box, Color color) {
  if (transform_.IsAxisAligned()) {
    DeviceFillRect(DeviceBox(box), color);
    return;
  }
  PointF corners[4];
  Corners(box, corners);
  const Pen savedPen = pen;
  const Brush savedBrush = brush;
  pen.style = PenStyle::Clear;
  brush = Brush{color, BrushStyle::Solid};
  DevicePolygon(corners);
  pen = savedPen;
  brush = savedBrush;
}

void Canvas::Text(PointF at, std::string_view text, double angleDeg, HAlign halign, VAlign valign) {
  const auto [c, s] = CosSin(angleDeg);
  // The text's baseline direction and the direction from its top to its bottom.
  const PointF along = transform_.MapVector({c, -s});
  const PointF down = transform_.MapVector({s, c});
  const bool keepsAngle =
      transform_.IsAxisAligned() && transform_.xx > 0 && transform_.xx == transform_.yy;
  const double deviceAngle = keepsAngle ? angleDeg : Degrees(std::atan2(-along.y, along.x));
  DeviceText(transform_.Map(at), text, deviceAngle, halign, valign, font.height * Length(down));
}

SizeF Canvas::MeasureText(std::string_view text) {
  const double alongX = Length(transform_.MapVector({1, 0}));
  const double alongY = Length(transform_.MapVector({0, 1}));
  if (alongX <= 0 || alongY <= 0) return SizeF{};
  const SizeF device = DeviceTextSize(text, font.height * alongY);
  return SizeF{device.width / alongX, device.height / alongY};
}

Size Canvas::TextExtent(std::string_view text) {
  const SizeF size = MeasureText(text);
  return Size{static_cast<int>(std::lround(size.width)),
              static_cast<int>(std::lround(size.height))};
}

void Canvas::SetClip(const RectF& box) {
  clip_ = DeviceBox(box);
  DeviceClip(clip_);
}

void Canvas::ClearClip() {
  clip_.reset();
  DeviceClip(clip_);
}

void Canvas::SetTransform(const Transform& transform) { transform_ = transform; }

void Canvas::Translate(double x, double y) {
  transform_ = transform_.After(Transform::Translation(x, y));
}

void Canvas::Scale(double sx, double sy) {
  transform_ = transform_.After(Transform::Scaling(sx, sy));
}

void Canvas::Rotate(double degrees) { transform_ = transform_.After(Transform::Rotation(degrees)); }

void Canvas::Save() { saved_.push_back(State{transform_, clip_, pen, brush, font}); }

void Canvas::Restore() {
  if (saved_.empty()) return;
  State state = std::move(saved_.back());
  saved_.pop_back();
  transform_ = state.transform;
  pen = state.pen;
  brush = state.brush;
  font = std::move(state.font);
  if (state.clip != clip_) {
    clip_ = state.clip;
    DeviceClip(clip_);
  }
}

SizeF Canvas::DeviceUnitInUserUnits() const {
  const double alongX = Length(transform_.MapVector({1, 0}));
  const double alongY = Length(transform_.MapVector({0, 1}));
  return SizeF{alongX > 0 ? 1 / alongX : 0, alongY > 0 ? 1 / alongY : 0};
}

}  // namespace kordavelt
