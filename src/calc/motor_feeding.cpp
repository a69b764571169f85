#include "calc/motor_feeding.h"

#include <algorithm>
#include <cmath>

#include "base/constants.h"
#include "calc/calc_class.h"
#include "calc/calculation.h"
#include "model/element_rec.h"

namespace kordavelt {
namespace {

// The constants of the peak current as the calculation writes them.
constexpr double kSqrt2 = 1.414214;
constexpr double kHalfPi = 1.57079635;
constexpr double kHalfPeriodS = 0.01;
constexpr double kPiD = kPi;
constexpr double kOmegaPerS = kOmega;
// R = 0 is taken as this share of X; R/X is limited to kLargestRatio.
constexpr double kLeastResistanceShare = 0.1;
constexpr double kLargestRatio = 100;

Complex ToComplex(const ComplexD& z) {
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

double Remoteness(double initial, double rated) {
  return rated > 0 ? std::round(initial / rated) : 0.0;
}

}  // namespace

Complex FaultImpedance(const ElementRec& e) {
  if (IsMachineKind(e.kind)) return e.z1Start;
  return {e.rSum, e.xSum};
}

double FaultEmf(const ElementRec& e) {
  if (IsMachineKind(e.kind) || !(e.kt > 0)) return e.emf;
  return static_cast<double>(e.emf) * e.kt;
}

double SystemCurrent(const ElementRec& e) {
  const Complex z = FaultImpedance(e);
  const double norm = static_cast<double>(z.re) * z.re + static_cast<double>(z.im) * z.im;
  return norm > 0 ? std::fabs(FaultEmf(e)) / std::sqrt(norm) : 0.0;
}

FaultCurrent MaximumFaultCurrent(double systemKA, const FeedingSource& network) {
  return MaximumFaultCurrent(systemKA, FeedingOf(network));
}

FaultCurrent MaximumFaultCurrent(double systemKA, const FaultFeeding& feeding) {
  FaultCurrent current = SteadyFault(systemKA);
  const double machines = feeding.asyncInitial + feeding.syncInitial;
  if (!(machines > 0) || !(feeding.current >= kMotorFeedingRatio * systemKA)) return current;
  const double rise = feeding.current - systemKA;
  current.initial = feeding.current;
  current.asyncInitial = rise * feeding.asyncInitial / machines;
  current.syncInitial = rise - current.asyncInitial;
  current.asyncRemoteness = Remoteness(feeding.asyncInitial, feeding.asyncRated);
  current.syncRemoteness = Remoteness(feeding.syncInitial, feeding.syncRated);
  return current;
}

double PeakCurrent(const FaultCurrent& current, double r, double x) {
  if (!(x > 0)) return kSqrt2 * current.initial;
  if (!(r > 0)) r = kLeastResistanceShare * x;
  r = std::min(r, kLargestRatio * x);
  const double y = x / r;
  const double ta = y / kOmegaPerS;
  // The peak comes half a period after the voltage zero, shifted by the
  // circuit's angle.
  const double tPeak = (std::atan(y) + kHalfPi) * kHalfPeriodS / kPiD;
  const double aperiodic = current.initial * y / std::sqrt(y * y + 1) * std::exp(-tPeak / ta);
  return kSqrt2 * (aperiodic + current.At(tPeak));
}

bool MotorFeeding(CalcClass& calc) {
  StageStorage storage;
  storage.feeding.Build(calc);
  return MotorFeeding(calc, storage);
}

bool MotorFeeding(CalcClass& calc, StageStorage& storage) {
  const FeedingNetwork& network = storage.feeding;
  std::vector<FaultCurrent>& currents = storage.currents;
  currents.assign(static_cast<std::size_t>(calc.Count()) + 1, {});
  for (int i = 1; i <= calc.Count(); ++i) {
    ElementRec& e = calc.Element(i);
    const FeedingSource whole = network.AtElement(i);
    StoreFeeding(e, whole);
    const FaultCurrent current = MaximumFaultCurrent(SystemCurrent(e), whole);
    currents[static_cast<std::size_t>(i)] = current;
    const Complex z = FaultImpedance(e);
    e.ikMax = std::max(e.ikMax, static_cast<float>(current.initial));
    e.iPeak = std::max(e.iPeak, static_cast<float>(PeakCurrent(current, z.re, z.im)));
  }
  return true;
}

}  // namespace kordavelt
