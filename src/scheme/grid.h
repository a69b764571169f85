#pragma once

// Points and rectangles of the single-line scheme in its three coordinate
// systems: grid steps (what the geometry records hold, as int16), real units
// (millimetres of an exported drawing) and device units (pixels of the
// window, or the units of whatever surface a renderer draws on; x to the
// right, y downwards).

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kordavelt {

inline constexpr int kGridMin = std::numeric_limits<std::int16_t>::min();
inline constexpr int kGridMax = std::numeric_limits<std::int16_t>::max();

constexpr bool FitsGrid(long long value) { return value >= kGridMin && value <= kGridMax; }
constexpr std::int16_t ClampToGrid(long long value) {
  return static_cast<std::int16_t>(std::clamp<long long>(value, kGridMin, kGridMax));
}

// Division rounding towards minus infinity, so that grid arithmetic treats
// negative coordinates like positive ones. `divisor` is positive.
constexpr long long FloorDiv(long long value, long long divisor) {
  const long long quotient = value / divisor;
  return quotient * divisor > value ? quotient - 1 : quotient;
}

// A grid point. Held as int: a busbar's far end or a shifted path point may
// lie beyond the int16 range of the records, and must not wrap around.
struct GridPoint {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(GridPoint, GridPoint) = default;
};

// The grid points from (left, top) to (right, bottom), borders included;
// empty while left > right or top > bottom.
struct GridRect {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;

  constexpr bool Empty() const { return left > right || top > bottom; }
  constexpr bool Contains(GridPoint p) const {
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
  }
  constexpr bool Intersects(const GridRect& other) const {
    return !Empty() && !other.Empty() && left <= other.right && other.left <= right &&
           top <= other.bottom && other.top <= bottom;
  }
  // Grows to take in `p`; an empty rectangle becomes the point.
  constexpr void Include(GridPoint p) {
    if (Empty()) {
      *this = {p.x, p.y, p.x, p.y};
      return;
    }
    left = std::min(left, p.x);
    top = std::min(top, p.y);
    right = std::max(right, p.x);
    bottom = std::max(bottom, p.y);
  }
  constexpr void Include(const GridRect& other) {
    if (other.Empty()) return;
    Include(GridPoint{other.left, other.top});
    Include(GridPoint{other.right, other.bottom});
  }
  friend constexpr bool operator==(const GridRect&, const GridRect&) = default;
};

struct DevicePoint {
  double x = 0;
  double y = 0;
  friend constexpr bool operator==(DevicePoint, DevicePoint) = default;
};

// A device rectangle from (left, top) to (right, bottom).
struct DeviceRect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  friend constexpr bool operator==(const DeviceRect&, const DeviceRect&) = default;
};

struct RealPoint {
  double x = 0;
  double y = 0;
  friend constexpr bool operator==(RealPoint, RealPoint) = default;
};

}  // namespace kordavelt
