#include "scheme/view_transform.h"

#include <cmath>

namespace kordavelt {
namespace {

// The nearest grid coordinate of a fractional one; nothing outside int16.
std::optional<int> NearestGrid(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = std::floor(value);
  if (rounded < kGridMin || rounded > kGridMax) return std::nullopt;
  return static_cast<int>(rounded);
}

}  // namespace

ModuleSizes ModuleSizes::Of(int stepX, int stepY) {
  const auto atLeast2 = [](int value) { return std::max(value, 2); };
  ModuleSizes sizes;
  sizes.hx = atLeast2(stepX / 2);
  sizes.tx = atLeast2(stepX / 3);
  sizes.tx1 = atLeast2(stepX / 3 - 1);
  sizes.hy = atLeast2(stepY / 2);
  sizes.ty = atLeast2(stepY / 3);
  sizes.ty1 = atLeast2(stepY / 3 - 1);
  return sizes;
}

ViewTransform::ViewTransform(GridPoint origin, int stepX, int stepY, double unitsPerStep)
    : origin_(origin),
      stepX_(BoundStep(stepX)),
      stepY_(BoundStep(stepY)),
      unitsPerStep_(std::isfinite(unitsPerStep) && unitsPerStep > 0 ? unitsPerStep : 1.0),
      sizes_(ModuleSizes::Of(stepX_, stepY_)) {}

DevicePoint ViewTransform::ToDevice(GridPoint p) const {
  return {static_cast<double>((static_cast<long long>(p.x) - origin_.x) * stepX_),
          static_cast<double>((static_cast<long long>(p.y) - origin_.y) * stepY_)};
}

std::optional<GridPoint> ViewTransform::ToGrid(DevicePoint p) const {
  const std::optional<int> x =
      NearestGrid(std::floor((p.x + stepX_ / 2) / stepX_) + static_cast<double>(origin_.x));
  const std::optional<int> y =
      NearestGrid(std::floor((p.y + stepY_ / 2) / stepY_) + static_cast<double>(origin_.y));
  if (!x || !y) return std::nullopt;
  return GridPoint{*x, *y};
}

RealPoint ViewTransform::ToReal(GridPoint p) const {
  return {p.x * unitsPerStep_, p.y * unitsPerStep_};
}

RealPoint ViewTransform::DeviceToReal(DevicePoint p) const {
  return {(p.x / stepX_ + origin_.x) * unitsPerStep_, (p.y / stepY_ + origin_.y) * unitsPerStep_};
}

DevicePoint ViewTransform::RealToDevice(RealPoint p) const {
  return {(p.x / unitsPerStep_ - origin_.x) * stepX_, (p.y / unitsPerStep_ - origin_.y) * stepY_};
}

std::optional<GridPoint> ViewTransform::RealToGrid(RealPoint p) const {
  const std::optional<int> x = NearestGrid(p.x / unitsPerStep_ + 0.5);
  const std::optional<int> y = NearestGrid(p.y / unitsPerStep_ + 0.5);
  if (!x || !y) return std::nullopt;
  return GridPoint{*x, *y};
}

GridRect ViewTransform::VisibleArea(int width, int height, int margin) const {
  const long long w = std::max(width, 0);
  const long long h = std::max(height, 0);
  const long long m = std::max(margin, 0);
  return {ClampToGrid(origin_.x - m), ClampToGrid(origin_.y - m),
          ClampToGrid(origin_.x + (w + stepX_ - 1) / stepX_ + m),
          ClampToGrid(origin_.y + (h + stepY_ - 1) / stepY_ + m)};
}

}  // namespace kordavelt
