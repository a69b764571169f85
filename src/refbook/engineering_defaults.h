#pragma once

// Engineering defaults of the reference book: the values filled in when a
// type is entered with incomplete data — conductor resistances and
// permissible currents from the cross-section, trunking and breaker
// impedances from the rated current, transformer and machine parameters from
// their ratings. Plain functions on plain values; the book window decides
// when each applies and stores the results.

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/constants.h"

namespace kordavelt {

// --- Conductors ----------------------------------------------------------------

// What a cable type gets from its brand's material and sheath and its sizes.
// R1 always; the rest only when `complete` (the known cases), otherwise the
// fields keep their values. Up to 240 mm² R0 is never below R1; above, the
// lists give nothing (0).
struct CableDefaultValues {
  double r1 = 0;
  bool complete = false;
  double x1 = 0;
  double r0 = 0;
  double x0 = 0;
  double ipermissEarth = 0;  // whole amperes
  double ipermissAir = 0;    // whole amperes
};

// `aluminium` and `sheath` (0..7) come from the brand flags; crossF > 0.
CableDefaultValues CableDefaults(bool aluminium, int sheath, int condCount, double crossF,
                                 double crossN);

// Charging current (A/km) of a cable from its susceptance (µS/km) and voltage (V).
double CableChargingCurrent(double unom, double bc);

struct WireDefaultValues {
  double r1 = 0;
  double ipermiss = 0;
};

// Insulated wire: copper or aluminium, section F > 0.
WireDefaultValues InsulatedWireDefaults(bool aluminium, double crossF);
// The permissible temperature an insulated wire gets when it has none, °C.
inline constexpr float kInsulatedWireTpermiss = 65;

// Bare wire: the flags byte (material in bits 6–7, construction code in
// bits 2–4), the marking (for the letter "С") and the section F > 0.
WireDefaultValues BareWireDefaults(std::uint8_t flags, std::string_view marking, double crossF);

// --- Trunking and apparatus ----------------------------------------------------

struct ImpedanceDefaults {
  double r1 = 0;
  double x1 = 0;
  double r0 = 0;
  double x0 = 0;
};

// Busbar trunking from its rated current; nothing below 250 A.
std::optional<ImpedanceDefaults> TrunkingDefaults(double inom);

// Circuit breaker R and X (mΩ) from its rated current (> 0): interpolated
// between 50 A and 4000 A, a power law outside.
ImpedanceDefaults BreakerDefaults(double inom);

// Current transformer R1, X1 (mΩ) from the primary and secondary currents
// (product > 0) and the accuracy class.
ImpedanceDefaults CurrentTransformerDefaults(double inom, double inom2, int accuracyClass);

// Power transformer R0 (in r1) and X0 (in x1), mΩ, from the low-voltage
// winding (kV), short-circuit losses (kW), short-circuit voltage (%) and
// rated power (kVA > 0).
ImpedanceDefaults TransformerDefaults(double un, double pk, double uk, double snom);

// --- Machines --------------------------------------------------------------------

// The reactances a synchronous machine or generator gets when Xd″ is 0.
inline constexpr float kDefaultXd2 = 0.21f;
inline constexpr float kDefaultXd1 = 0.32f;
inline constexpr float kDefaultXd = 1.1f;

// True for a power factor the machine tables accept: 0 < cos φ ≤ 1.
bool ValidCosF(double cosF);

// Time constant from X″ and R (both p.u.): X″ / R / ω; 0 when R is not positive.
double TimeConstant(double x, double r);

// Rated slip (%) of an asynchronous motor from its speed n > 0 (rpm).
double RatedSlip(double speed);

// The parameters of an asynchronous motor that are filled when they are 0.
struct AsyncMotorValues {
  double pnom = 0;
  double cosF = 0;
  double efficiency = 0;
  double istart = 0;
  double mstart = 0;
  double snom = 0;
  double rs = 0;
  double rr = 0;
  double x2 = 0;  // X″
  double ta = 0;
  double tr = 0;
};

// Fills each of cosF, rs, rr, x2, ta, tr that is 0 from the others.
void FillAsyncMotorDefaults(AsyncMotorValues& m);

// --- Capacitor banks ---------------------------------------------------------------

// Qном (kvar) from the voltage (V) and capacitance (µF).
double CapacitorPower(double unom, double cnom);
// Capacitance (µF) for a power (kvar) at a voltage (V > 0).
double CapacitorCapacitance(double qnom, double unom);

// --- Trip units ----------------------------------------------------------------------

// Units of the trip-unit settings, as stored.
inline constexpr std::uint8_t kUnitAmperes = 0;
inline constexpr std::uint8_t kUnitTimesIn = 1;
inline constexpr std::uint8_t kUnitTimesIr = 2;

// The Ir unit after the Ir list was typed: "*In" for a first value in (0, 1.5).
std::uint8_t IrUnitFor(double firstIr);
// The Im unit after the Im list was typed: "*Ir" below the first rated current.
std::uint8_t ImUnitFor(double firstIm, double firstInom);
// The Imo unit after the Imo list was typed: "*In" below the first rated current.
std::uint8_t ImoUnitFor(double firstImo, double firstInom);

// The time axis (ln s) of the characteristic editor for a trip unit: ln of the
// largest tm setting, ln 10 when none is positive.
double TripUnitTimeAxis(const float* settingTm, int count);

}  // namespace kordavelt
