#pragma once

// The transforms of the scheme: grid steps to device units and back, and
// both to real units (millimetres of an exported drawing).
//
//   device x = (X - X0) × stepX            X = (x + stepX div 2) div stepX + X0
//   real x   = X × unitsPerStep
//
// The steps are whole device units per grid step (the zoom), always within
// kMinStep … kMaxStep whatever a caller or a damaged record asks for, so a
// transform never divides by zero and a device coordinate stays below
// 2^31 even between the grid's extremes (65535 × 1024). Arithmetic runs in
// 64 bits and doubles, so coordinates at ±32767 never overflow; the inverse
// refuses grid points outside the int16 range of the records.

#include <algorithm>
#include <optional>

#include "scheme/grid.h"

namespace kordavelt {

inline constexpr int kMinStep = 1;
inline constexpr int kMaxStep = 1024;

constexpr int BoundStep(long long step) {
  return static_cast<int>(std::clamp<long long>(step, kMinStep, kMaxStep));
}

// The sizes of the drawing that follow the step: half steps hx, hy, third
// steps tx, ty and tx1 = tx - 1, ty1 = ty - 1, each at least 2 device units.
struct ModuleSizes {
  int hx = 2;
  int tx = 2;
  int tx1 = 2;
  int hy = 2;
  int ty = 2;
  int ty1 = 2;

  static ModuleSizes Of(int stepX, int stepY);
};

class ViewTransform {
 public:
  ViewTransform() : ViewTransform({0, 0}, 16, 16) {}
  // `origin`: the grid point at the device's left top corner; steps in
  // device units per grid step (bounded); `unitsPerStep`: real units per
  // grid step (a value that is not a positive finite number counts as 1).
  ViewTransform(GridPoint origin, int stepX, int stepY, double unitsPerStep = 1.0);

  GridPoint Origin() const { return origin_; }
  int StepX() const { return stepX_; }
  int StepY() const { return stepY_; }
  double UnitsPerStep() const { return unitsPerStep_; }
  const ModuleSizes& Sizes() const { return sizes_; }

  DevicePoint ToDevice(GridPoint p) const;
  // The nearest grid point; nothing outside the int16 range (or for a
  // point that is not finite).
  std::optional<GridPoint> ToGrid(DevicePoint p) const;

  RealPoint ToReal(GridPoint p) const;
  RealPoint DeviceToReal(DevicePoint p) const;
  DevicePoint RealToDevice(RealPoint p) const;
  // The nearest grid point of a real one; nothing outside the int16 range.
  std::optional<GridPoint> RealToGrid(RealPoint p) const;

  // The grid points a device area of width × height shows, widened by
  // `margin` steps on every side, within the int16 range.
  GridRect VisibleArea(int width, int height, int margin = 0) const;

 private:
  GridPoint origin_;
  int stepX_;
  int stepY_;
  double unitsPerStep_;
  ModuleSizes sizes_;
};

}  // namespace kordavelt
