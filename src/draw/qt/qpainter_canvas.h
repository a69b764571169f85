#pragma once

// The Canvas over a QPainter: windows, off-screen images and printers.
//
// Shapes keep the conventions the drawings were made for: a box excludes its
// right and bottom edges (a box from (2,2) to (13,13) covers pixels 2 to 12),
// a one-pixel line leaves out its last point, and a box drawn without a pen
// is filled one pixel short on the right and at the bottom.

#include <QColor>
#include <QFont>
#include <QFontMetrics>

#include "draw/canvas.h"

class QPainter;

namespace kordavelt {

QColor ToQColor(Color color);
Color FromQColor(const QColor& color);

// A font whose character cell (ascent + descent) is font.height pixels.
QFont ToQFont(const Font& font);

class QPainterCanvas : public Canvas {
 public:
  // The painter must outlive the canvas; its state is changed by drawing.
  explicit QPainterCanvas(QPainter& painter);

  void Line(Point from, Point to) override;
  void Polyline(std::span<const Point> points) override;
  void Polygon(std::span<const Point> points) override;
  void Rectangle(const Rect& box) override;
  void Ellipse(const Rect& box) override;
  void Arc(const Rect& box, Point start, Point end) override;
  void FillRect(const Rect& box, Color color) override;
  // The same defaults as Canvas, for callers that hold a QPainterCanvas.
  void Text(Point at, std::string_view text, double angleDeg = 0, HAlign halign = HAlign::Left,
            VAlign valign = VAlign::Top) override;
  Size TextExtent(std::string_view text) override;
  void SetClip(const Rect& box) override;
  void ClearClip() override;

 private:
  void UsePen();
  void UsePenAndBrush();
  const QFont& CurrentFont();
  QFontMetrics Metrics(const QFont& qfont) const;

  QPainter& painter_;
  // Building a QFont measures it; the last one is kept while the font stays.
  Font cachedFont_;
  QFont cachedQFont_;
  bool hasCachedFont_ = false;
};

}  // namespace kordavelt
