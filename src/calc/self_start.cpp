#include "calc/self_start.h"
#include "calc/backward_walk.h"

#include <algorithm>
#include <vector>

#include "base/number_list.h"
#include "calc/calc_class.h"
#include "calc/prepare_context.h"

namespace kordavelt {
namespace {

// Kinds the preparation gives asynchronous motors.
constexpr int kKindAsyncMotorLoad = 42;
constexpr int kKindAsyncEquivalent = 54;

// The reduction table of "K(t)*Iпуск", as the settings keep such tables.
constexpr const char* kRestorationTimes = "000#0.3#0.45#0.75#1.00#1.4#2.00#2.4#3.00#4.0#40";
constexpr const char* kReductionFactors = "0.2#0.4#0.50#0.60#0.64#0.7#0.77#0.8#0.83#0.88#1";

bool SelfStartingMotor(const ElementRec& e) {
  return (e.kind == kKindAsyncMotorLoad || e.kind == kKindAsyncEquivalent) && !IsZero(e.iSelfStart);
}

// Two sections in parallel; a section without motors (zero) does not take part.
Complex Combine(const Complex& z, const Complex& w) {
  if (IsZero(z)) return w;
  if (IsZero(w)) return z;
  return Parallel(z, w);
}

}  // namespace

bool SelfStartImpedances(CalcClass& calc) {
  std::vector<Complex> levels(kSweepLevels);
  const auto close = [&](int parent, int child) {
    levels[parent] = Combine(levels[parent], levels[child]);
    levels[child] = kComplexZero;
  };
  return WalkBackwards(calc, close, [&](int, ElementRec& e, int level, int) {
    Complex& z = levels[level];
    if (e.endOfSection != 0) {
      z = SelfStartingMotor(e) ? e.z1 : kComplexZero;
    } else if (!IsZero(z)) {
      z += e.z1;
    }
    e.zSelfStart = z;
    if (e.kt > 0 && e.kt != 1 && !IsZero(z)) {
      const long double kt = e.kt;
      z = z * (1 / (kt * kt));
    }
    return true;
  });
}

long double StartCurrentReductionAt(long double restorationTime) {
  return InterpolateInLists(kRestorationTimes, kReductionFactors, restorationTime);
}

}  // namespace kordavelt
