#pragma once

// Heating of line conductors by a short-circuit current: the end temperature
// after a Joule integral Bt (kA²·s) flowing for t seconds, and the resistance
// at that temperature. Only line elements (cables, wires, overhead lines)
// with a positive working temperature heat; every other element keeps its R1.
//
//   K  = Bt · adiabatic constant, divided by (√(t·A²/S) + 1 + t·B/S) when
//        the heating is non-adiabatic;
//   θк = e^K · (θ0 + 228) − 228;
//   R1(θк) = (β + θк) · R1 / (β + θ0).

#include "base/complex.h"
#include "model/element_rec.h"

namespace kordavelt {

// Beyond this heating factor K the heated resistance is not followed further.
inline constexpr double kLargestHeatingFactor = 5;

// Cable line, insulated wire section, overhead line.
bool IsLineKind(int kind);

// True when the element's resistance follows its conductor temperature
// during a fault: a line element with a positive working temperature.
bool HeatsDuringFault(const ElementRec& e);

// The heating factor K of the element after `bt` kA²·s in `t` s (not limited).
double HeatingFactor(const ElementRec& e, double bt, double t, bool nonAdiabatic);

// The conductor temperature reached from `startTemp` with heating factor K.
double HeatedTemperature(double startTemp, double k);

// Z1 of the element with its conductors heated by `bt` in `t` (K limited to
// 5); Z1 itself for elements that do not heat.
Complex HeatedZ1(const ElementRec& e, double bt, double t, bool nonAdiabatic);

}  // namespace kordavelt
