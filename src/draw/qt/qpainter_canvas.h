#pragma once

// The Canvas over a QPainter: windows, off-screen images and printers.
//
// Device units are the painter's coordinates as the canvas finds them (its
// own transform is left alone): pixels of a widget or image, dots of a
// printer. Shapes keep the conventions the drawings were made for: a box
// excludes its right and bottom edges (a box from (2,2) to (13,13) covers
// pixels 2 to 12), a one-pixel line leaves out its last point, and a box
// drawn without a pen is filled one pixel short on the right and at the
// bottom. Whole device coordinates are drawn through Qt's integer calls,
// so the table window's pixels stay exactly where they were; turned
// ellipses and arcs are drawn on their exact outline.

#include <QColor>
#include <QFont>
#include <QFontMetrics>

#include "draw/canvas.h"

class QPainter;

namespace kordavelt {

QColor ToQColor(Color color);
Color FromQColor(const QColor& color);

// A font whose character cell (ascent + descent) is font.height pixels,
// rounded to whole pixels.
QFont ToQFont(const Font& font);

class QPainterCanvas : public Canvas {
 public:
  // The painter must outlive the canvas; its pen, brush, font and clip are
  // changed by drawing. A `dotsPerMm` of 0 takes the resolution of the
  // painter's device (the screen's when the painter has none).
  explicit QPainterCanvas(QPainter& painter, double dotsPerMm = 0);

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
  void UsePen();
  void UsePenAndBrush();
  const QFont& FontOfHeight(double fontHeight);
  QFontMetrics Metrics(const QFont& qfont) const;

  QPainter& painter_;
  // Building a QFont measures it; the last one is kept while the font stays.
  Font cachedFont_;
  QFont cachedQFont_;
  bool hasCachedFont_ = false;
};

}  // namespace kordavelt
