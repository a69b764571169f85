#pragma once

// Characteristics written the way a catalogue prints them: currents (multiples
// or kA) and times in seconds, turned into the logarithms the object keeps.

#include <array>
#include <cmath>
#include <cstdint>

#include "calc/vth_class.h"

namespace kordavelt::test {

using Values7 = std::array<double, kCurvePoints>;

inline VthCurve Curve(const Values7& currents, const Values7& timesS) {
  VthCurve c;
  for (int k = 0; k < kCurvePoints; ++k) {
    c.lnCurrent[k] = static_cast<float>(std::log(currents[k]));
    c.lnTime[k] = static_cast<float>(std::log(timesS[k]));
  }
  return c;
}

inline vth_class Characteristic(const VthCurve& lower, const VthCurve& upper) {
  vth_class c;
  c.lower = lower;
  c.upper = upper;
  return c;
}

using VthBytes = std::array<std::uint8_t, 112>;

inline VthBytes Block(const VthCurve& lower, const VthCurve& upper) {
  VthBytes block{};
  Characteristic(lower, upper).ToBlock(block);
  return block;
}

// A trip unit's overload curves in multiples of Ir with an instantaneous step
// at 6 Ir (lower) and 8 Ir (upper).
inline VthCurve ReleaseLower() {
  return Curve({1.05, 1.3, 2, 4, 6, 6, 10}, {7200, 3600, 60, 10, 4, 0.02, 0.02});
}
inline VthCurve ReleaseUpper() {
  return Curve({1.3, 1.5, 2.5, 5, 8, 8, 12}, {9000, 7200, 120, 20, 8, 0.04, 0.04});
}

}  // namespace kordavelt::test
