#pragma once

// What the automatic equipment choice asks of a line type: the smallest
// cross-section that withstands the Joule integral of a fault, and the
// catalogue (reference-ambient) current a conductor must be rated for to
// carry the working current where it is laid. Currents A, Joule integrals
// kA²·s, temperatures °C, cross-sections mm².

#include "model/element_rec.h"

namespace kordavelt {

// Heating constants C of the thermal-withstand section, kA²·s → mm⁴: copper,
// and aluminium (or any other conductor metal than copper).
inline constexpr long double kThermalConstantCopper = 19.58L;
inline constexpr long double kThermalConstantAluminium = 45.65L;

// Insulated wires carry only their working temperature in the book; a
// conductor with PVC insulation may reach these at a fault.
inline constexpr long double kWireShortCircuitTemp = 160.0L;
inline constexpr long double kWireIgnitionTemp = 350.0L;

// Bare overhead wires: working temperature, and the short-circuit limit of
// aluminium (and the other metals) and of copper.
inline constexpr long double kOverheadWorkingTemp = 70.0L;
inline constexpr long double kOverheadShortCircuitTempAluminium = 160.0L;
inline constexpr long double kOverheadShortCircuitTempCopper = 200.0L;

// Smin = √(C·Bt / ln((θк + 228)/(θн + 228))): the cross-section whose
// conductor, starting at θн, reaches θк after `btKA2s`. 0 when there is no
// Joule integral, or when θк is not above θн (no limit to go on).
long double ThermalSection(long double btKA2s, bool aluminium, long double finalTemp,
                           long double startTemp);

// The factor from the current a conductor carries where it is laid (ambient
// `ambient`) to its catalogue current at the reference ambient:
// √((θдоп − θref)/(θдоп − tамб)). 1 when the permissible temperature is not
// above the reference ambient (the catalogue value is taken as it stands);
// infinite when the ambient is not below the permissible temperature.
long double AmbientCorrection(long double permissibleTemp, long double referenceAmbient,
                              long double ambient);

// `currentA` times `factor`, 0 for no current (so that no infinite factor
// turns an unloaded line into an impossible one).
long double ScaledCurrent(long double currentA, long double factor);

// The current protection coefficient Кзащ (%) asks a line to carry: the
// reference current of the nearest protection upstream, referred to the
// line's side, · 100 / Кзащ. 0 without a coefficient or a protection.
long double ProtectionCurrent(const ElementRec& e, int kzashPercent);

}  // namespace kordavelt
