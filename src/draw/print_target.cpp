#include "draw/print_target.h"

namespace kordavelt {
namespace {

class DiscardingCanvas : public Canvas {
 public:
  explicit DiscardingCanvas(double dotsPerMm) : Canvas(dotsPerMm) {}

 protected:
  void DeviceLine(PointF, PointF) override {}
  void DevicePolyline(std::span<const PointF>) override {}
  void DevicePolygon(std::span<const PointF>) override {}
  void DeviceRectangle(const RectF&) override {}
  void DeviceEllipse(const RectF&, double) override {}
  void DeviceArc(const RectF&, double, PointF, PointF) override {}
  void DeviceFillRect(const RectF&, Color) override {}
  void DeviceText(PointF, std::string_view, double, HAlign, VAlign, double) override {}
  SizeF DeviceTextSize(std::string_view text, double fontHeight) override {
    return EstimatedTextSize(text, fontHeight);
  }
  void DeviceClip(const std::optional<RectF>&) override {}
};

}  // namespace

RectF PageSetup::PrintableDots() const {
  return RectF{Dots(printableMm.left), Dots(printableMm.top), Dots(printableMm.right),
               Dots(printableMm.bottom)};
}

std::unique_ptr<Canvas> MakeDiscardingCanvas(double dotsPerMm) {
  return std::make_unique<DiscardingCanvas>(dotsPerMm);
}

}  // namespace kordavelt
