#pragma once

// A Canvas that writes SVG: one element a line, so tests can compare drawings
// line by line and exports can save them as pictures. Elements are written
// in device units, the transform already applied, every number with at most
// three decimals (CoordText), so the same drawing gives the same text on
// every machine. Text extents are estimated from the font height (0.6 of it
// per character), which keeps every layout computed on this canvas the same
// everywhere. A clip becomes a clipPath that the following elements name.

#include <string>
#include <vector>

#include "draw/canvas.h"

namespace kordavelt {

class SvgCanvas : public Canvas {
 public:
  // A picture of width × height pixels of the screen.
  SvgCanvas(int width, int height);
  // A sheet of paper of `pageMm` at `dotsPerMm`: the document measures the
  // sheet in millimetres, device units are dots, and the device origin lies
  // at `originMm` from the sheet's top-left corner (a printer's printable
  // area).
  SvgCanvas(SizeF pageMm, double dotsPerMm, PointF originMm = {});

  // The drawing elements so far, in drawing order.
  const std::vector<std::string>& Elements() const { return elements_; }
  // A complete SVG document of the canvas size.
  std::string Document() const;

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
  std::string StrokeAttributes() const;
  std::string FillAttribute() const;
  // Adds an element, naming the clip in force.
  void Add(std::string element);

  std::string width_;
  std::string height_;
  std::string viewWidth_;
  std::string viewHeight_;
  PointF origin_;  // device units
  std::vector<std::string> elements_;
  int clipCount_ = 0;
  int clipInForce_ = 0;  // 0: none
  std::optional<RectF> lastClipBox_;
};

// "#RRGGBB".
std::string SvgColor(Color color);

}  // namespace kordavelt
