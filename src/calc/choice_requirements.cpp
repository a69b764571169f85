#include "calc/choice_requirements.h"

#include <cmath>
#include <limits>

#include "calc/vth_class.h"

namespace kordavelt {
namespace {

// The zero of the temperature scale the heating formula counts from, °C below 0.
constexpr long double kHeatingZero = 228.0L;

}  // namespace

long double ThermalSection(long double btKA2s, bool aluminium, long double finalTemp,
                           long double startTemp) {
  if (btKA2s <= 0) return 0;
  const long double logRatio = std::log((finalTemp + kHeatingZero) / (startTemp + kHeatingZero));
  if (!(logRatio > 0)) return 0;
  const long double c = aluminium ? kThermalConstantAluminium : kThermalConstantCopper;
  return std::sqrt(c * btKA2s / logRatio);
}

long double AmbientCorrection(long double permissibleTemp, long double referenceAmbient,
                              long double ambient) {
  if (permissibleTemp <= referenceAmbient) return 1;
  if (permissibleTemp <= ambient) return std::numeric_limits<long double>::infinity();
  return std::sqrt((permissibleTemp - referenceAmbient) / (permissibleTemp - ambient));
}

long double ScaledCurrent(long double currentA, long double factor) {
  return currentA > 0 ? currentA * factor : 0;
}

long double ProtectionCurrent(const ElementRec& e, int kzashPercent) {
  if (kzashPercent <= 0) return 0;
  const vth_class* protection = AsCharacteristic(e.mainProtection);
  if (protection == nullptr || !protection->HasPoints()) return 0;
  // The protection sees a current I of the line as I·e^−shift.
  const long double irA = std::exp(static_cast<long double>(protection->lnIr) + e.mainShift) * 1000;
  return irA * 100 / kzashPercent;
}

}  // namespace kordavelt
