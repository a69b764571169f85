#include "draw/svg_canvas.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "base/cp1251.h"

namespace kordavelt {
namespace {

// Coordinates keep up to three decimals, whatever the display settings and the
// process locale.
std::string Coord(double v) {
  char buffer[64];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 3);
  std::string text(buffer, written.ptr);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  return text;
}

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string PointList(std::span<const Point> points) {
  std::string out;
  for (const Point& p : points) {
    if (!out.empty()) out += ' ';
    out += std::to_string(p.x) + "," + std::to_string(p.y);
  }
  return out;
}

}  // namespace

std::string SvgColor(Color color) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", color.r, color.g, color.b);
  return buffer;
}

std::string SvgCanvas::StrokeAttributes() const {
  if (pen.style == PenStyle::Clear) return "stroke=\"none\"";
  std::string out = "stroke=\"" + SvgColor(pen.color) + "\" stroke-width=\"" +
                    std::to_string(std::max(pen.width, 1)) + "\"";
  switch (pen.style) {
    case PenStyle::Dash:
      out += " stroke-dasharray=\"6,2\"";
      break;
    case PenStyle::Dot:
      out += " stroke-dasharray=\"1,1\"";
      break;
    case PenStyle::DashDot:
      out += " stroke-dasharray=\"6,2,1,2\"";
      break;
    default:
      break;
  }
  return out;
}

std::string SvgCanvas::FillAttribute() const {
  return brush.style == BrushStyle::Clear ? "fill=\"none\""
                                          : "fill=\"" + SvgColor(brush.color) + "\"";
}

void SvgCanvas::Line(Point from, Point to) {
  elements_.push_back("<line x1=\"" + std::to_string(from.x) + "\" y1=\"" + std::to_string(from.y) +
                      "\" x2=\"" + std::to_string(to.x) + "\" y2=\"" + std::to_string(to.y) +
                      "\" " + StrokeAttributes() + "/>");
}

void SvgCanvas::Polyline(std::span<const Point> points) {
  if (points.empty()) return;
  elements_.push_back("<polyline points=\"" + PointList(points) + "\" fill=\"none\" " +
                      StrokeAttributes() + "/>");
}

void SvgCanvas::Polygon(std::span<const Point> points) {
  if (points.empty()) return;
  elements_.push_back("<polygon points=\"" + PointList(points) + "\" " + FillAttribute() + " " +
                      StrokeAttributes() + "/>");
}

void SvgCanvas::Rectangle(const Rect& box) {
  elements_.push_back("<rect x=\"" + std::to_string(box.left) + "\" y=\"" +
                      std::to_string(box.top) + "\" width=\"" + std::to_string(box.Width()) +
                      "\" height=\"" + std::to_string(box.Height()) + "\" " + FillAttribute() +
                      " " + StrokeAttributes() + "/>");
}

void SvgCanvas::Ellipse(const Rect& box) {
  elements_.push_back("<ellipse cx=\"" + Coord((box.left + box.right) / 2.0) + "\" cy=\"" +
                      Coord((box.top + box.bottom) / 2.0) + "\" rx=\"" +
                      Coord(std::abs(box.Width()) / 2.0) + "\" ry=\"" +
                      Coord(std::abs(box.Height()) / 2.0) + "\" " + FillAttribute() + " " +
                      StrokeAttributes() + "/>");
}

void SvgCanvas::Arc(const Rect& box, Point start, Point end) {
  const ArcGeometry arc = ComputeArc(box, start, end);
  const std::string rx = Coord(arc.radiusX);
  const std::string ry = Coord(arc.radiusY);
  std::string path;
  if (arc.sweepDeg >= 360.0 - 1e-9) {
    // SVG cannot draw a closed arc in one segment: two halves make the whole ellipse.
    const double midX = 2 * arc.centerX - arc.startX;
    const double midY = 2 * arc.centerY - arc.startY;
    path = "M" + Coord(arc.startX) + "," + Coord(arc.startY) + " A" + rx + "," + ry + " 0 0 0 " +
           Coord(midX) + "," + Coord(midY) + " A" + rx + "," + ry + " 0 0 0 " + Coord(arc.startX) +
           "," + Coord(arc.startY);
  } else {
    // Counter-clockwise on the screen is SVG's sweep flag 0.
    const char* large = arc.sweepDeg > 180.0 ? "1" : "0";
    path = "M" + Coord(arc.startX) + "," + Coord(arc.startY) + " A" + rx + "," + ry + " 0 " +
           large + " 0 " + Coord(arc.endX) + "," + Coord(arc.endY);
  }
  elements_.push_back("<path d=\"" + path + "\" fill=\"none\" " + StrokeAttributes() + "/>");
}

void SvgCanvas::FillRect(const Rect& box, Color color) {
  elements_.push_back("<rect x=\"" + std::to_string(box.left) + "\" y=\"" +
                      std::to_string(box.top) + "\" width=\"" + std::to_string(box.Width()) +
                      "\" height=\"" + std::to_string(box.Height()) + "\" fill=\"" +
                      SvgColor(color) + "\" stroke=\"none\"/>");
}

void SvgCanvas::Text(Point at, std::string_view text, double angleDeg, HAlign halign,
                     VAlign valign) {
  static constexpr const char* kAnchor[] = {"start", "middle", "end"};
  static constexpr const char* kBaseline[] = {"text-before-edge", "alphabetic", "text-after-edge"};
  std::string element = "<text x=\"" + std::to_string(at.x) + "\" y=\"" + std::to_string(at.y) +
                        "\" font-family=\"" + Escaped(font.name) + "\" font-size=\"" +
                        std::to_string(font.height) + "\" fill=\"" + SvgColor(font.color) +
                        "\" text-anchor=\"" + kAnchor[static_cast<int>(halign)] +
                        "\" dominant-baseline=\"" + kBaseline[static_cast<int>(valign)] + "\"";
  if (font.bold) element += " font-weight=\"bold\"";
  if (font.italic) element += " font-style=\"italic\"";
  // SVG turns clockwise on the screen, the program's angles turn counter-clockwise.
  if (angleDeg != 0) {
    element += " transform=\"rotate(" + Coord(-angleDeg) + " " + std::to_string(at.x) + " " +
               std::to_string(at.y) + ")\"";
  }
  elements_.push_back(element + ">" + Escaped(text) + "</text>");
}

Size SvgCanvas::TextExtent(std::string_view text) {
  const auto characters = static_cast<double>(Utf8Length(text));
  return Size{static_cast<int>(std::lround(characters * font.height * 0.6)), font.height};
}

std::string SvgCanvas::Document() const {
  std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width_) +
                    "\" height=\"" + std::to_string(height_) + "\" viewBox=\"0 0 " +
                    std::to_string(width_) + " " + std::to_string(height_) + "\">\n";
  for (const std::string& element : elements_) out += element + "\n";
  return out + "</svg>\n";
}

}  // namespace kordavelt
