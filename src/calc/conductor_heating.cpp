#include "calc/conductor_heating.h"

#include <algorithm>
#include <cmath>

namespace kordavelt {
namespace {

constexpr int kKindCableLine = 11;
constexpr int kKindOverheadLine = 13;

// Beyond this the heated resistance is not followed further.
constexpr long double kLargestFactor = 5;

}  // namespace

bool IsLineKind(int kind) { return kind >= kKindCableLine && kind <= kKindOverheadLine; }

bool HeatsDuringFault(const ElementRec& e) { return IsLineKind(e.kind) && e.tempWork > 0; }

long double HeatingFactor(const ElementRec& e, long double bt, long double t, bool nonAdiabatic) {
  long double k = bt * e.adiabaticConstant;
  if (nonAdiabatic && t > 0) {
    k /= std::sqrt(t * e.nonAdiabaticA) + 1 + t * e.nonAdiabaticB;
  }
  return k;
}

long double HeatedTemperature(long double startTemp, long double k) {
  return std::exp(k) * (startTemp + 228) - 228;
}

Complex HeatedZ1(const ElementRec& e, long double bt, long double t, bool nonAdiabatic) {
  if (!HeatsDuringFault(e) || !(bt > 0)) return e.z1;
  const long double k = std::min(HeatingFactor(e, bt, t, nonAdiabatic), kLargestFactor);
  const long double start = e.tempWork;
  const long double beta = e.tempConstant;
  if (!(beta + start > 0)) return e.z1;
  const long double heated = HeatedTemperature(start, k);
  return {static_cast<float>(e.z1.re * (beta + heated) / (beta + start)), e.z1.im};
}

}  // namespace kordavelt
