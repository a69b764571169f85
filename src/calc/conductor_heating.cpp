#include "calc/conductor_heating.h"

#include <algorithm>
#include <cmath>

namespace kordavelt {
namespace {

constexpr int kKindCableLine = 11;
constexpr int kKindOverheadLine = 13;

}  // namespace

bool IsLineKind(int kind) { return kind >= kKindCableLine && kind <= kKindOverheadLine; }

bool HeatsDuringFault(const ElementRec& e) { return IsLineKind(e.kind) && e.tempWork > 0; }

double HeatingFactor(const ElementRec& e, double bt, double t, bool nonAdiabatic) {
  double k = bt * e.adiabaticConstant;
  if (nonAdiabatic && t > 0) {
    k /= std::sqrt(t * e.nonAdiabaticA) + 1 + t * e.nonAdiabaticB;
  }
  return k;
}

double HeatedTemperature(double startTemp, double k) {
  return std::exp(k) * (startTemp + 228) - 228;
}

Complex HeatedZ1(const ElementRec& e, double bt, double t, bool nonAdiabatic) {
  if (!HeatsDuringFault(e) || !(bt > 0)) return e.z1;
  const double k = std::min(HeatingFactor(e, bt, t, nonAdiabatic), kLargestHeatingFactor);
  const double start = e.tempWork;
  const double beta = e.tempConstant;
  if (!(beta + start > 0)) return e.z1;
  const double heated = HeatedTemperature(start, k);
  return {static_cast<float>(e.z1.re * (beta + heated) / (beta + start)), e.z1.im};
}

}  // namespace kordavelt
