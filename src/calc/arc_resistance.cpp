#include "calc/arc_resistance.h"

#include <algorithm>
#include <cmath>

namespace kordavelt {
namespace {

constexpr int kMaxArcRounds = 100;
constexpr double kArcSettled = 0.1;  // mΩ
// R/X taken for a loop without reactance.
constexpr double kRatioWithoutReactance = 30;
// The largest current-reduction factor of method 3.
constexpr double kLargestReduction = 3000;

bool IsSinglePhase(double factor) { return std::fabs(factor - kSinglePhaseFactor) < 1e-6; }

// The fault current (kA) with the arc Rд in the loop.
double CurrentWithArc(double arc, double r, double x, double factor, double emf) {
  const double rLoop = r + ArcLoopResistance(arc, factor);
  const double z = std::sqrt(rLoop * rLoop + x * x);
  return z > 0 ? factor * emf / z : 0;
}

}  // namespace

double ArcLoopResistance(double arc, double factor) {
  return IsSinglePhase(factor) ? kSinglePhaseFactor * arc : arc;
}

double ArcLengthFromPhaseDistance(double phaseDistanceMm, double r, double x) {
  const double a = phaseDistanceMm;
  if (!(a > 0)) return 0;
  const double s = x != 0 ? r / x : kRatioWithoutReactance;
  const double length = 0.0425 * s * s + 12.46 - 1.5747 * s + 2.1748 * a - 0.02477 * a * a;
  return std::clamp(length, a, 4 * a);
}

double IteratedArcResistance(double lengthMm, double r, double x, double factor, double emf) {
  if (!(lengthMm > 0)) return 0;
  const double arcVoltage = 16 * std::sqrt(lengthMm);
  double arc = 0;
  for (int round = 0; round < kMaxArcRounds; ++round) {
    const double current = CurrentWithArc(arc, r, x, factor, emf);
    if (!(current > 0)) return 0;
    const double next = arcVoltage * std::pow(current, -0.85);
    if (std::fabs(next - arc) <= kArcSettled) return next;
    arc = next;
  }
  return 0;
}

double ArcResistanceFromCurrent(double r, double x, double factor) {
  const double k = std::sqrt(r * r + x * x) / factor;
  double reduction = 0.339 + 0.00745 * k - 4.84e-5 * k * k + 1.3e-8 * k * k * k;
  if (!(reduction > 0)) return 0;
  reduction = std::min(reduction, kLargestReduction);
  const double m = factor * k / reduction;
  // An arc never makes the loop smaller: a factor above 1 gives no arc.
  if (!(m * m > x * x)) return 0;
  double arc = std::sqrt(m * m - x * x) - r;
  if (IsSinglePhase(factor)) arc /= kSinglePhaseFactor;
  return std::max<double>(arc, 0);
}

double ArcResistance(const ArcSettings& arc, double r, double x, double factor, double emf) {
  switch (arc.method) {
    case kArcConstant:
      return std::max<double>(arc.resistance, 0);
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
