#pragma once

// A Canvas that writes SVG: one element a line, so tests can compare drawings
// line by line and exports can save them as pictures. Text extents are
// estimated from the font height (0.6 of it per character), which keeps every
// layout computed on this canvas the same on every machine.

#include <string>
#include <vector>

#include "draw/canvas.h"

namespace kordavelt {

class SvgCanvas : public Canvas {
 public:
  SvgCanvas(int width, int height) : width_(width), height_(height) {}

  void Line(Point from, Point to) override;
  void Polyline(std::span<const Point> points) override;
  void Polygon(std::span<const Point> points) override;
  void Rectangle(const Rect& box) override;
  void Ellipse(const Rect& box) override;
  void Arc(const Rect& box, Point start, Point end) override;
  void FillRect(const Rect& box, Color color) override;
  void Text(Point at, std::string_view text, double angleDeg, HAlign halign,
            VAlign valign) override;
  Size TextExtent(std::string_view text) override;

  // The drawing elements so far, in drawing order.
  const std::vector<std::string>& Elements() const { return elements_; }
  // A complete SVG document of the canvas size.
  std::string Document() const;

 private:
  std::string StrokeAttributes() const;
  std::string FillAttribute() const;

  int width_;
  int height_;
  std::vector<std::string> elements_;
};

// "#RRGGBB".
std::string SvgColor(Color color);

}  // namespace kordavelt
