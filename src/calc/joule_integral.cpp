#include "calc/joule_integral.h"

#include <algorithm>
#include <cmath>

#include "base/constants.h"
#include "calc/decay_curves.h"

namespace kordavelt {
namespace {

// Beyond this many time constants the aperiodic part has died out.
constexpr double kSettledExponent = 12;
constexpr double kOmegaPerS = kOmega;

bool Integrable(double r, double x, double toS) {
  return r > 0 && x > 0 && !(toS > kLongestIntegratedTimeS);
}

// Ta·I(0)²·(1 − e^(−2t/Ta)): the heat of the decaying DC component up to t.
double AperiodicPart(double initial, double ta, double timeS) {
  const double exponent = 2 * timeS / ta;
  const double full = ta * initial * initial;
  if (std::fabs(exponent) >= kSettledExponent) return full;
  // At the start e^0 is 1: every first integration step asks for it.
  if (exponent == 0) return full * (1 - 1.0);
  return full * (1 - std::exp(-exponent));
}

// A motor contribution that takes part in I(t): one whose curve is read.
bool Decays(double initial, double remoteness) {
  return initial != 0 && remoteness >= kLeastRemotenessIndex;
}

// ∫ I(t)² dt from `fromS` to `toS` with the growing trapezoidal step.
double PeriodicPart(const FaultCurrent& current, double fromS, double toS) {
  if (current.Steady()) return current.system * current.system * (toS - fromS);
  double sum = 0;
  double time = fromS;
  double step = kSmallestJouleStepS;
  double before = current.At(time);
  before *= before;
  while (toS - time > 0) {
    const double remaining = toS - time;
    const bool last = step >= remaining;
    if (last) step = remaining;
    double after = current.At(time + step);
    after *= after;
    const double area = (before + after) / 2 * step;
    sum += area;
    if (last) break;
    time += step;
    const double fall = before - after;
    step = fall > 0 ? area / fall : toS - time;
    step = std::max(step, kSmallestJouleStepS);
    before = after;
  }
  return sum;
}

}  // namespace

double FaultCurrent::At(double timeS) const {
  return system + DecayFactor(MachineKind::Asynchronous, asyncRemoteness, timeS) * asyncInitial +
         DecayFactor(MachineKind::Synchronous, syncRemoteness, timeS) * syncInitial;
}

bool FaultCurrent::Steady() const {
  return !Decays(asyncInitial, asyncRemoteness) && !Decays(syncInitial, syncRemoteness);
}

FaultCurrent SteadyFault(double currentKA) {
  FaultCurrent current;
  current.system = currentKA;
  current.initial = currentKA;
  return current;
}

double JouleIntegralBetween(const FaultCurrent& current, double r, double x, double fromS,
                            double toS) {
  if (!Integrable(r, x, toS) || !(toS > fromS)) return 0;
  fromS = std::max(fromS, 0.0);
  const double ta = x / (kOmegaPerS * r);
  const double aperiodic =
      AperiodicPart(current.initial, ta, toS) - AperiodicPart(current.initial, ta, fromS);
  return aperiodic + PeriodicPart(current, fromS, toS);
}

double JouleIntegral(const FaultCurrent& current, double r, double x, double timeS) {
  return JouleIntegralBetween(current, r, x, 0, timeS);
}

}  // namespace kordavelt
