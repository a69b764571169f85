#include "draw/svg_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kordavelt {
namespace {

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

std::string PointList(std::span<const PointF> points) {
  std::string out;
  for (const PointF& p : points) {
    if (!out.empty()) out += ' ';
    out += CoordText(p.x) + "," + CoordText(p.y);
  }
  return out;
}

std::string BoxAttributes(const RectF& box) {
  return "x=\"" + CoordText(box.left) + "\" y=\"" + CoordText(box.top) + "\" width=\"" +
         CoordText(box.Width()) + "\" height=\"" + CoordText(box.Height()) + "\"";
}

// SVG turns clockwise on the screen, the program's angles turn counter-clockwise.
std::string TurnAttribute(double turnDeg, PointF about) {
  if (turnDeg == 0) return "";
  return " transform=\"rotate(" + CoordText(-turnDeg) + " " + CoordText(about.x) + " " +
         CoordText(about.y) + ")\"";
}

}  // namespace

std::string SvgColor(Color color) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", color.r, color.g, color.b);
  return buffer;
}

SvgCanvas::SvgCanvas(int width, int height)
    : width_(std::to_string(width)),
      height_(std::to_string(height)),
      viewWidth_(width_),
      viewHeight_(height_) {}

SvgCanvas::SvgCanvas(SizeF pageMm, double dotsPerMm, PointF originMm)
    : Canvas(dotsPerMm),
      width_(CoordText(pageMm.width) + "mm"),
      height_(CoordText(pageMm.height) + "mm"),
      viewWidth_(CoordText(pageMm.width * dotsPerMm)),
      viewHeight_(CoordText(pageMm.height * dotsPerMm)),
      origin_{originMm.x * dotsPerMm, originMm.y * dotsPerMm} {}

void SvgCanvas::Add(std::string element) {
  if (clipInForce_ != 0) {
    const std::size_t name = element.find(' ');
    element.insert(name, " clip-path=\"url(#clip" + std::to_string(clipInForce_) + ")\"");
  }
  elements_.push_back(std::move(element));
}

std::string SvgCanvas::StrokeAttributes() const {
  if (pen.style == PenStyle::Clear) return "stroke=\"none\"";
  std::string out = "stroke=\"" + SvgColor(pen.color) + "\" stroke-width=\"" +
                    CoordText(std::max(pen.width, 1.0)) + "\"";
  // Dashes are designed in screen dots and keep their length on paper.
  const double dot = DotsPerMm() / kScreenDotsPerMm;
  const auto dashes = [&](std::initializer_list<double> pattern) {
    std::string list;
    for (double length : pattern) {
      if (!list.empty()) list += ',';
      list += CoordText(length * dot);
    }
    return " stroke-dasharray=\"" + list + "\"";
  };
  switch (pen.style) {
    case PenStyle::Dash:
      out += dashes({6, 2});
      break;
    case PenStyle::Dot:
      out += dashes({1, 1});
      break;
    case PenStyle::DashDot:
      out += dashes({6, 2, 1, 2});
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

void SvgCanvas::DeviceLine(PointF from, PointF to) {
  Add("<line x1=\"" + CoordText(from.x) + "\" y1=\"" + CoordText(from.y) + "\" x2=\"" +
      CoordText(to.x) + "\" y2=\"" + CoordText(to.y) + "\" " + StrokeAttributes() + "/>");
}

void SvgCanvas::DevicePolyline(std::span<const PointF> points) {
  if (points.empty()) return;
  Add("<polyline points=\"" + PointList(points) + "\" fill=\"none\" " + StrokeAttributes() + "/>");
}

void SvgCanvas::DevicePolygon(std::span<const PointF> points) {
  if (points.empty()) return;
  Add("<polygon points=\"" + PointList(points) + "\" " + FillAttribute() + " " +
      StrokeAttributes() + "/>");
}

void SvgCanvas::DeviceRectangle(const RectF& box) {
  Add("<rect " + BoxAttributes(box) + " " + FillAttribute() + " " + StrokeAttributes() + "/>");
}

void SvgCanvas::DeviceEllipse(const RectF& box, double turnDeg) {
  const PointF centre{(box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0};
  Add("<ellipse cx=\"" + CoordText(centre.x) + "\" cy=\"" + CoordText(centre.y) + "\" rx=\"" +
      CoordText(box.Width() / 2.0) + "\" ry=\"" + CoordText(box.Height() / 2.0) + "\" " +
      FillAttribute() + " " + StrokeAttributes() + TurnAttribute(turnDeg, centre) + "/>");
}

void SvgCanvas::DeviceArc(const RectF& box, double turnDeg, PointF start, PointF end) {
  const ArcGeometry arc = ComputeArc(box, start, end, turnDeg);
  const std::string radii =
      CoordText(arc.radiusX) + "," + CoordText(arc.radiusY) + " " + CoordText(-turnDeg) + " ";
  const std::string from = CoordText(arc.startX) + "," + CoordText(arc.startY);
  std::string path;
  if (arc.sweepDeg >= 360.0 - 1e-9) {
    // SVG cannot draw a closed arc in one segment: two halves make the whole ellipse.
    const double midX = 2 * arc.centerX - arc.startX;
    const double midY = 2 * arc.centerY - arc.startY;
    path = "M" + from + " A" + radii + "0 0 " + CoordText(midX) + "," + CoordText(midY) + " A" +
           radii + "0 0 " + from;
  } else {
    // Counter-clockwise on the screen is SVG's sweep flag 0.
    const char* large = arc.sweepDeg > 180.0 ? "1" : "0";
    path =
        "M" + from + " A" + radii + large + " 0 " + CoordText(arc.endX) + "," + CoordText(arc.endY);
  }
  Add("<path d=\"" + path + "\" fill=\"none\" " + StrokeAttributes() + "/>");
}

void SvgCanvas::DeviceFillRect(const RectF& box, Color color) {
  Add("<rect " + BoxAttributes(box) + " fill=\"" + SvgColor(color) + "\" stroke=\"none\"/>");
}

void SvgCanvas::DeviceText(PointF at, std::string_view text, double angleDeg, HAlign halign,
                           VAlign valign, double fontHeight) {
  static constexpr const char* kAnchor[] = {"start", "middle", "end"};
  static constexpr const char* kBaseline[] = {"text-before-edge", "alphabetic", "text-after-edge"};
  std::string element = "<text x=\"" + CoordText(at.x) + "\" y=\"" + CoordText(at.y) +
                        "\" font-family=\"" + Escaped(font.name) + "\" font-size=\"" +
                        CoordText(std::fabs(fontHeight)) + "\" fill=\"" + SvgColor(font.color) +
                        "\" text-anchor=\"" + kAnchor[static_cast<int>(halign)] +
                        "\" dominant-baseline=\"" + kBaseline[static_cast<int>(valign)] + "\"";
  if (font.bold) element += " font-weight=\"bold\"";
  if (font.italic) element += " font-style=\"italic\"";
  element += TurnAttribute(angleDeg, at);
  Add(element + ">" + Escaped(text) + "</text>");
}

SizeF SvgCanvas::DeviceTextSize(std::string_view text, double fontHeight) {
  return EstimatedTextSize(text, fontHeight);
}

void SvgCanvas::DeviceClip(const std::optional<RectF>& box) {
  if (!box) {
    clipInForce_ = 0;
    return;
  }
  if (lastClipBox_ != box) {
    ++clipCount_;
    lastClipBox_ = box;
    // Inside defs, so that renderers without clipping (SVG Tiny) do not draw the box.
    elements_.push_back("<defs><clipPath id=\"clip" + std::to_string(clipCount_) + "\"><rect " +
                        BoxAttributes(*box) + "/></clipPath></defs>");
  }
  clipInForce_ = clipCount_;
}

std::string SvgCanvas::Document() const {
  std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width_ + "\" height=\"" +
                    height_ + "\" viewBox=\"0 0 " + viewWidth_ + " " + viewHeight_ + "\">\n";
  const bool shifted = origin_.x != 0 || origin_.y != 0;
  if (shifted) {
    out +=
        "<g transform=\"translate(" + CoordText(origin_.x) + " " + CoordText(origin_.y) + ")\">\n";
  }
  for (const std::string& element : elements_) out += element + "\n";
  if (shifted) out += "</g>\n";
  return out + "</svg>\n";
}

}  // namespace kordavelt
