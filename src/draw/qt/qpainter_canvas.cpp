#include "draw/qt/qpainter_canvas.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QPolygonF>
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

// Qt's dash patterns, in pen widths, as the screen shows them.
QList<qreal> DashPattern(PenStyle style) {
  switch (style) {
    case PenStyle::Dash:
      return {4, 2};
    case PenStyle::Dot:
      return {1, 2};
    case PenStyle::DashDot:
      return {4, 2, 1, 2};
    default:
      return {};
  }
}

bool IsWhole(double v) { return v == std::floor(v) && std::fabs(v) < 1e9; }
bool IsWhole(PointF p) { return IsWhole(p.x) && IsWhole(p.y); }
bool IsWhole(const RectF& box) {
  return IsWhole(box.left) && IsWhole(box.top) && IsWhole(box.right) && IsWhole(box.bottom);
}
bool AllWhole(std::span<const PointF> points) {
  return std::all_of(points.begin(), points.end(), [](PointF p) { return IsWhole(p); });
}

int Whole(double v) { return static_cast<int>(v); }

// The outline path of a box: through the first and the last pixel it covers,
// so that a one-pixel pen, drawn right of and below the path, covers
// left … right − 1, and the brush fills inside it.
QRectF OutlineRect(const RectF& box) {
  return QRectF(box.left, box.top, box.Width() - 1, box.Height() - 1);
}

QRect WholeRect(const RectF& box) {
  return QRect(Whole(box.left), Whole(box.top), Whole(box.Width()), Whole(box.Height()));
}

QPolygon ToQPolygon(std::span<const PointF> points) {
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const PointF& point : points) polygon.append(QPoint(Whole(point.x), Whole(point.y)));
  return polygon;
}

QPolygonF ToQPolygonF(std::span<const PointF> points) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const PointF& point : points) polygon.append(QPointF(point.x, point.y));
  return polygon;
}

double DeviceDotsPerMm(const QPainter& painter) {
  const QPaintDevice* device = painter.device();
  if (device == nullptr || device->logicalDpiX() <= 0) return kScreenDotsPerMm;
  return device->logicalDpiX() / 25.4;
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
  const int cellHeight = std::max(1, static_cast<int>(std::lround(std::fabs(font.height))));
  qfont.setPixelSize(cellHeight);
  // Pixel sizes are em heights; shrink until the whole cell fits the height.
  const int measured = QFontMetrics(qfont).height();
  if (measured > cellHeight) {
    const double scaled = static_cast<double>(cellHeight) * cellHeight / measured;
    qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(scaled))));
  }
  return qfont;
}

QPainterCanvas::QPainterCanvas(QPainter& painter, double dotsPerMm)
    : Canvas(dotsPerMm > 0 ? dotsPerMm : DeviceDotsPerMm(painter)), painter_(painter) {}

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
    qpen.setWidthF(pen.width);
    qpen.setCapStyle(Qt::RoundCap);
    qpen.setJoinStyle(Qt::RoundJoin);
  }
  // Qt measures dashes in pen widths, made for the screen; on a printer's
  // fine dots they are stretched to keep their length on paper.
  const double stretch = DotsPerMm() / kScreenDotsPerMm;
  if (stretch > 2 && pen.style != PenStyle::Solid) {
    const double width = std::max(pen.width, 1.0);
    QList<qreal> pattern = DashPattern(pen.style);
    for (qreal& length : pattern) length *= stretch / width;
    qpen.setDashPattern(pattern);
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

const QFont& QPainterCanvas::FontOfHeight(double fontHeight) {
  Font wanted = font;
  wanted.height = fontHeight;
  if (!hasCachedFont_ || !(cachedFont_ == wanted)) {
    cachedFont_ = wanted;
    cachedQFont_ = ToQFont(wanted);
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

void QPainterCanvas::DeviceLine(PointF from, PointF to) {
  UsePen();
  if (IsWhole(from) && IsWhole(to)) {
    painter_.drawLine(Whole(from.x), Whole(from.y), Whole(to.x), Whole(to.y));
  } else {
    painter_.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
  }
}

void QPainterCanvas::DevicePolyline(std::span<const PointF> points) {
  if (points.size() < 2) return;
  UsePen();
  if (AllWhole(points)) {
    painter_.drawPolyline(ToQPolygon(points));
  } else {
    painter_.drawPolyline(ToQPolygonF(points));
  }
}

void QPainterCanvas::DevicePolygon(std::span<const PointF> points) {
  if (points.size() < 2) return;
  UsePenAndBrush();
  if (AllWhole(points)) {
    painter_.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
  } else {
    painter_.drawPolygon(ToQPolygonF(points), Qt::OddEvenFill);
  }
}

void QPainterCanvas::DeviceRectangle(const RectF& box) {
  if (box.Width() <= 0 || box.Height() <= 0) return;
  if (box.Width() <= 1 || box.Height() <= 1) {
    // Too thin for an inside: the outline alone covers it.
    const bool outlined = pen.style != PenStyle::Clear;
    if (!outlined && brush.style == BrushStyle::Clear) return;
    const QColor colour = ToQColor(outlined ? pen.color : brush.color);
    if (IsWhole(box)) {
      painter_.fillRect(WholeRect(box), colour);
    } else {
      painter_.fillRect(QRectF(box.left, box.top, box.Width(), box.Height()), colour);
    }
    return;
  }
  UsePenAndBrush();
  if (IsWhole(box)) {
    painter_.drawRect(OutlineRect(box).toRect());
  } else {
    painter_.drawRect(OutlineRect(box));
  }
}

void QPainterCanvas::DeviceEllipse(const RectF& box, double turnDeg) {
  if (box.Width() <= 0 || box.Height() <= 0) return;
  UsePenAndBrush();
  if (turnDeg == 0) {
    if (IsWhole(box)) {
      painter_.drawEllipse(OutlineRect(box).toRect());
    } else {
      painter_.drawEllipse(OutlineRect(box));
    }
    return;
  }
  painter_.save();
  painter_.translate((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  painter_.rotate(-turnDeg);  // QPainter turns clockwise
  painter_.drawEllipse(QRectF(-box.Width() / 2, -box.Height() / 2, box.Width(), box.Height()));
  painter_.restore();
}

void QPainterCanvas::DeviceArc(const RectF& box, double turnDeg, PointF start, PointF end) {
  if (box.Width() < 2 || box.Height() < 2) return;
  UsePen();
  painter_.setBrush(Qt::NoBrush);
  if (turnDeg == 0) {
    // The angles are worked out on the same outline the ellipse is drawn on,
    // so the ends lie where the radials through start and end cross it.
    const QRectF outline = OutlineRect(box);
    const ArcGeometry arc = ComputeArc(
        RectF{outline.left(), outline.top(), outline.right(), outline.bottom()}, start, end);
    QPainterPath path;
    path.arcMoveTo(outline, arc.startAngleDeg);
    path.arcTo(outline, arc.startAngleDeg, arc.sweepDeg);
    painter_.drawPath(path);
    return;
  }
  const ArcGeometry arc = ComputeArc(box, start, end, turnDeg);
  const QRectF local(-arc.radiusX, -arc.radiusY, 2 * arc.radiusX, 2 * arc.radiusY);
  QPainterPath path;
  path.arcMoveTo(local, arc.startAngleDeg);
  path.arcTo(local, arc.startAngleDeg, arc.sweepDeg);
  painter_.save();
  painter_.translate(arc.centerX, arc.centerY);
  painter_.rotate(-turnDeg);
  painter_.drawPath(path);
  painter_.restore();
}

void QPainterCanvas::DeviceFillRect(const RectF& box, Color color) {
  if (IsWhole(box)) {
    painter_.fillRect(WholeRect(box), ToQColor(color));
  } else {
    painter_.fillRect(QRectF(box.left, box.top, box.Width(), box.Height()), ToQColor(color));
  }
}

void QPainterCanvas::DeviceText(PointF at, std::string_view text, double angleDeg, HAlign halign,
                                VAlign valign, double fontHeight) {
  if (text.empty()) return;
  const QString qtext = ToQString(text);
  const QFont& qfont = FontOfHeight(fontHeight);
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

SizeF QPainterCanvas::DeviceTextSize(std::string_view text, double fontHeight) {
  const QFontMetrics metrics = Metrics(FontOfHeight(fontHeight));
  return SizeF{static_cast<double>(metrics.horizontalAdvance(ToQString(text))),
               static_cast<double>(metrics.height())};
}

void QPainterCanvas::DeviceClip(const std::optional<RectF>& box) {
  if (!box) {
    painter_.setClipping(false);
  } else if (IsWhole(*box)) {
    painter_.setClipRect(WholeRect(*box));
  } else {
    painter_.setClipRect(QRectF(box->left, box->top, box->Width(), box->Height()));
  }
}

}  // namespace kordavelt
