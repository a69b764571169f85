#include "calc/motor_feeding.h"

#include <algorithm>
#include <cmath>

#include "calc/calc_class.h"
#include "calc/constants.h"
#include "calc/element_rec.h"

namespace kordavelt {
namespace {

// The constants of the peak current as the calculation writes them.
constexpr long double kSqrt2 = 1.414214L;
constexpr long double kHalfPi = 1.57079635L;
constexpr long double kHalfPeriodS = 0.01L;
// R = 0 is taken as this share of X; R/X is limited to kLargestRatio.
constexpr long double kLeastResistanceShare = 0.1L;
constexpr long double kLargestRatio = 100;

Complex ToComplex(const ComplexLD& z) {
  return {static_cast<float>(z.real()), static_cast<float>(z.imag())};
}

void StoreFeeding(ElementRec& e, const FeedingSource& network) {
  e.feedEmf = ToComplex(network.emf);
  e.feedZ = ToComplex(network.z);
  e.feedZ04 = ToComplex(network.z04);
  e.asyncInitial = static_cast<float>(network.asyncInitial);
  e.asyncRated = static_cast<float>(network.asyncRated);
  e.syncInitial = static_cast<float>(network.syncInitial);
  e.syncRated = static_cast<float>(network.syncRated);
}

long double Remoteness(long double initial, long double rated) {
  return rated > 0 ? std::round(initial / rated) : 0.0L;
}

}  // namespace

Complex FaultImpedance(const ElementRec& e) {
  if (IsMachineKind(e.kind)) return e.z1Start;
  return {e.rSum, e.xSum};
}

long double FaultEmf(const ElementRec& e) {
  if (IsMachineKind(e.kind) || !(e.kt > 0)) return e.emf;
  return static_cast<long double>(e.emf) * e.kt;
}

long double SystemCurrent(const ElementRec& e) {
  const long double z = Abs(FaultImpedance(e));
  return z > 0 ? std::fabs(FaultEmf(e)) / z : 0.0L;
}

FaultCurrent MaximumFaultCurrent(long double systemKA, const FeedingSource& network) {
  FaultCurrent current = SteadyFault(systemKA);
  if (!network.Active()) return current;
  const long double combined = std::abs(network.emf) / std::abs(network.z);
  const long double machines = network.asyncInitial + network.syncInitial;
  if (!(combined >= kMotorFeedingRatio * systemKA) || !(machines > 0)) return current;
  const long double rise = combined - systemKA;
  current.initial = combined;
  current.asyncInitial = rise * network.asyncInitial / machines;
  current.syncInitial = rise - current.asyncInitial;
  current.asyncRemoteness = Remoteness(network.asyncInitial, network.asyncRated);
  current.syncRemoteness = Remoteness(network.syncInitial, network.syncRated);
  return current;
}

long double PeakCurrent(const FaultCurrent& current, long double r, long double x) {
  if (!(x > 0)) return kSqrt2 * current.initial;
  if (!(r > 0)) r = kLeastResistanceShare * x;
  r = std::min(r, kLargestRatio * x);
  const long double y = x / r;
  const long double ta = y / kOmega;
  // The peak comes half a period after the voltage zero, shifted by the
  // circuit's angle.
  const long double tPeak = (std::atan(y) + kHalfPi) * kHalfPeriodS / kPi;
  const long double aperiodic = current.initial * y / std::sqrt(y * y + 1) * std::exp(-tPeak / ta);
  return kSqrt2 * (aperiodic + current.At(tPeak));
}

bool MotorFeeding(CalcClass& calc) {
  const FeedingNetwork network(calc);
  for (int i = 1; i <= calc.Count(); ++i) {
    ElementRec& e = calc.Element(i);
    const FeedingSource whole = network.AtElement(i);
    StoreFeeding(e, whole);
    const FaultCurrent current = MaximumFaultCurrent(SystemCurrent(e), whole);
    const Complex z = FaultImpedance(e);
    e.ikMax = std::max(e.ikMax, static_cast<float>(current.initial));
    e.iPeak = std::max(e.iPeak, static_cast<float>(PeakCurrent(current, z.re, z.im)));
  }
  return true;
}

void BindMotorFeeding(CalcClass& calc) { calc.Steps().motorFeeding = MotorFeeding; }

}  // namespace kordavelt
