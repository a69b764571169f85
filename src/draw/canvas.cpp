#include "draw/canvas.h"

#include <cmath>

namespace kordavelt {
namespace {

constexpr double kPi = 3.14159265358979323846;

double NormalizedSweep(double degrees) {
  double sweep = std::fmod(degrees, 360.0);
  if (sweep <= 1e-9) sweep += 360.0;
  return sweep;
}

}  // namespace

ArcGeometry ComputeArc(const Rect& box, Point start, Point end) {
  ArcGeometry arc;
  arc.centerX = (box.left + box.right) / 2.0;
  arc.centerY = (box.top + box.bottom) / 2.0;
  arc.radiusX = std::fabs(box.right - box.left) / 2.0;
  arc.radiusY = std::fabs(box.bottom - box.top) / 2.0;

  // Radial angles with y upwards, so that counter-clockwise on the screen is positive.
  const double startRadial = std::atan2(arc.centerY - start.y, start.x - arc.centerX);
  const double endRadial = std::atan2(arc.centerY - end.y, end.x - arc.centerX);

  const auto parametric = [&](double radial) {
    if (arc.radiusX <= 0 || arc.radiusY <= 0) return radial;
    return std::atan2(std::sin(radial) / arc.radiusY, std::cos(radial) / arc.radiusX);
  };
  const double startParam = parametric(startRadial);
  const double endParam = parametric(endRadial);

  arc.startX = arc.centerX + arc.radiusX * std::cos(startParam);
  arc.startY = arc.centerY - arc.radiusY * std::sin(startParam);
  arc.endX = arc.centerX + arc.radiusX * std::cos(endParam);
  arc.endY = arc.centerY - arc.radiusY * std::sin(endParam);
  arc.startAngleDeg = startParam * 180.0 / kPi;
  arc.sweepDeg = NormalizedSweep((endParam - startParam) * 180.0 / kPi);
  return arc;
}

}  // namespace kordavelt
