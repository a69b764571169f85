#include "calc/joule_integral.h"

#include <algorithm>
#include <cmath>

#include "calc/constants.h"
#include "calc/decay_curves.h"

namespace kordavelt {
namespace {

// Beyond this many time constants the aperiodic part has died out.
constexpr long double kSettledExponent = 12;

bool Integrable(long double r, long double x, long double toS) {
  return r > 0 && x > 0 && !(toS > kLongestIntegratedTimeS);
}

// Ta·I(0)²·(1 − e^(−2t/Ta)): the heat of the decaying DC component up to t.
long double AperiodicPart(long double initial, long double ta, long double timeS) {
  const long double exponent = 2 * timeS / ta;
  const long double full = ta * initial * initial;
  if (std::fabs(exponent) >= kSettledExponent) return full;
  return full * (1 - std::exp(-exponent));
}

// ∫ I(t)² dt from `fromS` to `toS` with the growing trapezoidal step.
long double PeriodicPart(const FaultCurrent& current, long double fromS, long double toS) {
  long double sum = 0;
  long double time = fromS;
  long double step = kSmallestJouleStepS;
  long double before = std::pow(current.At(time), 2);
  while (toS - time > 0) {
    const long double remaining = toS - time;
    const bool last = step >= remaining;
    if (last) step = remaining;
    const long double after = std::pow(current.At(time + step), 2);
    const long double area = (before + after) / 2 * step;
    sum += area;
    if (last) break;
    time += step;
    const long double fall = before - after;
    step = fall > 0 ? area / fall : toS - time;
    step = std::max(step, kSmallestJouleStepS);
    before = after;
  }
  return sum;
}

}  // namespace

long double FaultCurrent::At(long double timeS) const {
  return system + DecayFactor(MachineKind::Asynchronous, asyncRemoteness, timeS) * asyncInitial +
         DecayFactor(MachineKind::Synchronous, syncRemoteness, timeS) * syncInitial;
}

FaultCurrent SteadyFault(long double currentKA) {
  FaultCurrent current;
  current.system = currentKA;
  current.initial = currentKA;
  return current;
}

long double JouleIntegralBetween(const FaultCurrent& current, long double r, long double x,
                                 long double fromS, long double toS) {
  if (!Integrable(r, x, toS) || !(toS > fromS)) return 0;
  fromS = std::max<long double>(fromS, 0);
  const long double ta = x / (kOmega * r);
  const long double aperiodic =
      AperiodicPart(current.initial, ta, toS) - AperiodicPart(current.initial, ta, fromS);
  return aperiodic + PeriodicPart(current, fromS, toS);
}

long double JouleIntegral(const FaultCurrent& current, long double r, long double x,
                          long double timeS) {
  return JouleIntegralBetween(current, r, x, 0, timeS);
}

}  // namespace kordavelt
