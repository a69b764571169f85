#include "draw/qt/qpainter_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "base/qt/qt_text.h"

namespace kordavelt {
namespace {

Qt::PenStyle ToQtPenStyle(PenStyle style) {
  switch (style) {
    case PenStyle::Solid:
      return Qt::SolidLine;
    case PenStyle::Dash:
      return Qt::DashLine;
    case PenStyle::Dot:
      return Qt::DotLine;
    case PenStyle::DashDot:
      return Qt::DashDotLine;
    case PenStyle::Clear:
      return Qt::NoPen;
  }
  return Qt::SolidLine;
}

Rect Normalized(const Rect& box) {
  return Rect{std::min(box.left, box.right), std::min(box.top, box.bottom),
              std::max(box.left, box.right), std::max(box.top, box.bottom)};
}

// The outline path of a box: through the first and the last pixel it covers,
// so that a one-pixel pen, drawn right of and below the path, covers
// left … right − 1, and the brush fills inside it.
QRect OutlineRect(const Rect& box) {
  return QRect(box.left, box.top, box.Width() - 1, box.Height() - 1);
}

QPolygon ToQPolygon(std::span<const Point> points) {
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& point : points) polygon.append(QPoint(point.x, point.y));
  return polygon;
}

}  // namespace

QColor ToQColor(Color color) { return QColor(color.r, color.g, color.b); }

Color FromQColor(const QColor& color) {
  return Color{static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
               static_cast<std::uint8_t>(color.blue())};
}

QFont ToQFont(const Font& font) {
  QFont qfont(ToQString(font.name));
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  const int cellHeight = std::max(1, std::abs(font.height));
  qfont.setPixelSize(cellHeight);
  // Pixel sizes are em heights; shrink until the whole cell fits the height.
  const int measured = QFontMetrics(qfont).height();
  if (measured > cellHeight) {
    const double scaled = static_cast<double>(cellHeight) * cellHeight / measured;
    qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(scaled))));
  }
  return qfont;
}

QPainterCanvas::QPainterCanvas(QPainter& painter) : painter_(painter) {}

void QPainterCanvas::UsePen() {
  if (pen.style == PenStyle::Clear) {
    painter_.setPen(Qt::NoPen);
    return;
  }
  QPen qpen(ToQColor(pen.color));
  qpen.setStyle(ToQtPenStyle(pen.style));
  if (pen.width <= 1) {
    // A thin line ends short of its last point.
    qpen.setWidth(1);
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
  } else {
    qpen.setWidth(pen.width);
    qpen.setCapStyle(Qt::RoundCap);
    qpen.setJoinStyle(Qt::RoundJoin);
  }
  painter_.setPen(qpen);
}

void QPainterCanvas::UsePenAndBrush() {
  UsePen();
  if (brush.style == BrushStyle::Clear) {
    painter_.setBrush(Qt::NoBrush);
  } else {
    painter_.setBrush(ToQColor(brush.color));
  }
}

const QFont& QPainterCanvas::CurrentFont() {
  if (!hasCachedFont_ || !(cachedFont_ == font)) {
    cachedFont_ = font;
    cachedQFont_ = ToQFont(font);
    hasCachedFont_ = true;
  }
  return cachedQFont_;
}

QFontMetrics QPainterCanvas::Metrics(const QFont& qfont) const {
  // Measured on the device drawn on, which for a printer is not the screen.
  if (painter_.isActive() && painter_.device() != nullptr) {
    return QFontMetrics(qfont, painter_.device());
  }
  return QFontMetrics(qfont);
}

void QPainterCanvas::Line(Point from, Point to) {
  UsePen();
  painter_.drawLine(from.x, from.y, to.x, to.y);
}

void QPainterCanvas::Polyline(std::span<const Point> points) {
  if (points.size() < 2) return;
  UsePen();
  painter_.drawPolyline(ToQPolygon(points));
}

void QPainterCanvas::Polygon(std::span<const Point> points) {
  if (points.size() < 2) return;
  UsePenAndBrush();
  painter_.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
}

void QPainterCanvas::Rectangle(const Rect& box) {
  const Rect norm = Normalized(box);
  if (norm.Width() == 0 || norm.Height() == 0) return;
  if (norm.Width() == 1 || norm.Height() == 1) {
    // Too thin for an inside: the outline alone covers it.
    const bool outlined = pen.style != PenStyle::Clear;
    if (!outlined && brush.style == BrushStyle::Clear) return;
    painter_.fillRect(QRect(norm.left, norm.top, norm.Width(), norm.Height()),
                      ToQColor(outlined ? pen.color : brush.color));
    return;
  }
  UsePenAndBrush();
  painter_.drawRect(OutlineRect(norm));
}

void QPainterCanvas::Ellipse(const Rect& box) {
  const Rect norm = Normalized(box);
  if (norm.Width() == 0 || norm.Height() == 0) return;
  UsePenAndBrush();
  painter_.drawEllipse(OutlineRect(norm));
}

void QPainterCanvas::Arc(const Rect& box, Point start, Point end) {
  const Rect norm = Normalized(box);
  if (norm.Width() < 2 || norm.Height() < 2) return;
  // The angles are worked out on the same outline the ellipse is drawn on,
  // so the ends lie where the radials through start and end cross it.
  const QRect outline = OutlineRect(norm);
  const ArcGeometry arc =
      ComputeArc(Rect{outline.left(), outline.top(), outline.left() + outline.width(),
                      outline.top() + outline.height()},
                 start, end);
  QPainterPath path;
  path.arcMoveTo(QRectF(outline), arc.startAngleDeg);
  path.arcTo(QRectF(outline), arc.startAngleDeg, arc.sweepDeg);
  UsePen();
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPath(path);
}

void QPainterCanvas::FillRect(const Rect& box, Color color) {
  const Rect norm = Normalized(box);
  painter_.fillRect(QRect(norm.left, norm.top, norm.Width(), norm.Height()), ToQColor(color));
}

void QPainterCanvas::Text(Point at, std::string_view text, double angleDeg, HAlign halign,
                          VAlign valign) {
  if (text.empty()) return;
  const QString qtext = ToQString(text);
  const QFont& qfont = CurrentFont();
  const QFontMetrics metrics = Metrics(qfont);
  const int width = metrics.horizontalAdvance(qtext);

  double dx = 0;
  if (halign == HAlign::Center) dx = -width / 2.0;
  if (halign == HAlign::Right) dx = -width;
  double dy = 0;  // QPainter places the baseline
  if (valign == VAlign::Top) dy = metrics.ascent();
  if (valign == VAlign::Bottom) dy = -metrics.descent();

  painter_.save();
  painter_.setFont(qfont);
  painter_.setPen(ToQColor(font.color));
  painter_.translate(at.x, at.y);
  if (angleDeg != 0) painter_.rotate(-angleDeg);  // QPainter turns clockwise
  painter_.drawText(QPointF(dx, dy), qtext);
  painter_.restore();
}

Size QPainterCanvas::TextExtent(std::string_view text) {
  const QFontMetrics metrics = Metrics(CurrentFont());
  return Size{metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

void QPainterCanvas::SetClip(const Rect& box) {
  const Rect norm = Normalized(box);
  painter_.setClipRect(QRect(norm.left, norm.top, norm.Width(), norm.Height()));
}

void QPainterCanvas::ClearClip() { painter_.setClipping(false); }

}  // namespace kordavelt
