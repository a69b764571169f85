#include "calc/arc_resistance.h"

#include <algorithm>
#include <cmath>

namespace kordavelt {
namespace {

constexpr int kMaxArcRounds = 100;
constexpr long double kArcSettled = 0.1L;  // mΩ
// R/X taken for a loop without reactance.
constexpr long double kRatioWithoutReactance = 30;
// The largest current-reduction factor of method 3.
constexpr long double kLargestReduction = 3000;

bool IsSinglePhase(long double factor) { return std::fabs(factor - kSinglePhaseFactor) < 1e-6L; }

// The fault current (kA) with the arc Rд in the loop.
long double CurrentWithArc(long double arc, long double r, long double x, long double factor,
                           long double emf) {
  const long double rLoop = r + ArcLoopResistance(arc, factor);
  const long double z = std::sqrt(rLoop * rLoop + x * x);
  return z > 0 ? factor * emf / z : 0;
}

}  // namespace

long double ArcLoopResistance(long double arc, long double factor) {
  return IsSinglePhase(factor) ? kSinglePhaseFactor * arc : arc;
}

long double ArcLengthFromPhaseDistance(long double phaseDistanceMm, long double r, long double x) {
  const long double a = phaseDistanceMm;
  if (!(a > 0)) return 0;
  const long double s = x != 0 ? r / x : kRatioWithoutReactance;
  const long double length =
      0.0425L * s * s + 12.46L - 1.5747L * s + 2.1748L * a - 0.02477L * a * a;
  return std::clamp(length, a, 4 * a);
}

long double IteratedArcResistance(long double lengthMm, long double r, long double x,
                                  long double factor, long double emf) {
  if (!(lengthMm > 0)) return 0;
  const long double arcVoltage = 16 * std::sqrt(lengthMm);
  long double arc = 0;
  for (int round = 0; round < kMaxArcRounds; ++round) {
    const long double current = CurrentWithArc(arc, r, x, factor, emf);
    if (!(current > 0)) return 0;
    const long double next = arcVoltage * std::pow(current, -0.85L);
    if (std::fabs(next - arc) <= kArcSettled) return next;
    arc = next;
  }
  return 0;
}

long double ArcResistanceFromCurrent(long double r, long double x, long double factor) {
  const long double k = std::sqrt(r * r + x * x) / factor;
  long double reduction = 0.339L + 0.00745L * k - 4.84e-5L * k * k + 1.3e-8L * k * k * k;
  if (!(reduction > 0)) return 0;
  reduction = std::min(reduction, kLargestReduction);
  const long double m = factor * k / reduction;
  // An arc never makes the loop smaller: a factor above 1 gives no arc.
  if (!(m * m > x * x)) return 0;
  long double arc = std::sqrt(m * m - x * x) - r;
  if (IsSinglePhase(factor)) arc /= kSinglePhaseFactor;
  return std::max<long double>(arc, 0);
}

long double ArcResistance(const ArcSettings& arc, long double r, long double x, long double factor,
                          long double emf) {
  switch (arc.method) {
    case kArcConstant:
      return std::max<long double>(arc.resistance, 0);
    case kArcByLength:
      return IteratedArcResistance(arc.lengthMm, r, x, factor, emf);
    case kArcByPhaseDistance:
      if (!(arc.phaseDistanceMm > 0)) return 0;
      return IteratedArcResistance(ArcLengthFromPhaseDistance(arc.phaseDistanceMm, r, x), r, x,
                                   factor, emf);
    case kArcByCurrent:
      return ArcResistanceFromCurrent(r, x, factor);
    default:
      return 0;
  }
}

}  // namespace kordavelt
