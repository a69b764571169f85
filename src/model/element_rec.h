#pragma once

// ElementRec: the calculation record of one branch. The model keeps one per
// branch record (modelClass::Element), created zero-filled on first use and
// freed with the model; the calculation fills it for every branch of a traced
// tree, and the result tables, scheme labels and charts read it. It lives in
// memory only.
//
// A new record is all zeros, like a record nothing has been calculated into
// yet; ResetElementResults presets the minima before a calculation.
//
// Units: impedance mΩ; element currents A; short-circuit currents kA;
// voltages V (phase values unless stated); power kW, kvar, kVA; time s;
// Joule integral kA²·s; temperature °C. 99999 marks a minimum not yet
// computed, 9999 a time or temperature out of range.
//
// Uр and Uп (uWork, uStart) are of one kind per element, so that both
// deviations compare with one reference (ReferenceVoltage): phase values at
// an element that carries one phase only, line values everywhere else.

#include <array>
#include <cstdint>

#include "base/complex.h"

namespace kordavelt {

class ElementAttachment;

// The value of a minimum not yet computed (Uр, Uп, Iкм1 … 3 after a reset).
inline constexpr float kNotComputed = 99999.0f;
// A time or temperature out of range.
inline constexpr float kOutOfRange = 9999.0f;

// Bits of ElementRec::phaseSet.
inline constexpr std::uint8_t kPhaseA = 0x01;
inline constexpr std::uint8_t kPhaseB = 0x02;
inline constexpr std::uint8_t kPhaseC = 0x04;
inline constexpr std::uint8_t kNeutralLoaded = 0x08;

// Points of the minimum short-circuit current series kept per element.
inline constexpr int kFaultSeriesLength = 12;

struct ElementRec {
  // --- Identity in the traced tree ------------------------------------------------
  // Branch key; negative when the tree passes the branch against its direction.
  std::int32_t signedKey = 0;
  // Violated conditions (bits of the checks).
  std::uint32_t violations = 0;
  // Nesting level of the series section (1 … 99).
  std::uint16_t level = 0;
  // Set on the last element of a series section.
  std::uint8_t endOfSection = 0;
  // Vector-group shift of a transformer, negated against its direction; 0 otherwise.
  std::int8_t phaseShift = 0;
  // Copy of the branch record's flags (bit 1: type fixed by the user).
  std::uint8_t branchFlags = 0;
  // Object kind code, possibly re-marked by the calculation (41, 42, 46, 54, 55).
  std::uint8_t kind = 0;
  // kPhaseA | kPhaseB | kPhaseC: phases carrying current; kNeutralLoaded.
  std::uint8_t phaseSet = 0;

  // --- Impedances and currents -------------------------------------------------------
  Complex z1;  // positive-sequence impedance
  Complex z0;  // zero-sequence impedance
  Complex ia;
  Complex ib;
  Complex ic;
  Complex iStart;    // Iп, starting current
  Complex iDesign;   // Iр, design (working) current
  Complex emfMotor;  // E″, sub-transient EMF of a motor or generator
  // At the source element: the impedance used for the busbar short-circuit
  // currents, and (E, 0).
  Complex sourceZ;
  Complex sourceE;
  // Accumulated resistance and reactance to the element; Ta = X / (ω·R).
  float rSum = 0;
  float xSum = 0;
  Complex sa;  // phase power flows
  Complex sb;
  Complex sc;
  Complex iSelfStart;  // Iсз
  Complex dSa;         // phase power losses
  Complex dSb;
  Complex dSc;
  float kt = 0;            // Kт, transformation ratio (1 once prepared, when there is none)
  float tStart = 0;        // tп
  float emf = 0;           // E, phase EMF (at the source element)
  float ik3Source = 0;     // Iк3с, busbar short-circuit currents at the source element
  float ik1Source = 0;     // Iк1с
  float ikdSource = 0;     // Iкd
  float iNeutral = 0;      // Io
  float iPermissible = 0;  // Iдоп
  // Working current |Iр| against which permissible currents and device
  // settings are compared, and its companion: the largest |Iп| over the
  // calculations since the reset.
  float checkCurrent = 0;
  float checkCompanion = 0;
  float uWork = 0;       // Uр, lowest working voltage (see ReferenceVoltage)
  float uStart = 0;      // Uп, lowest voltage during starting, of the same kind
  float dPo = 0;         // neutral power loss
  float loadFactor = 0;  // Кз

  // --- Short circuits ----------------------------------------------------------------
  // Minimum 1-, 2-, 3-phase currents at the end of the element's protected
  // zone (smallest over the calculations since the reset).
  std::array<float, 3> ikMin{};
  // On line elements (kinds 11 … 13): the maximum currents I″ at the line's
  // start, at its thermal point and at its end (the result tables and the
  // scheme labels read these; the minimum currents above stay untouched).
  std::array<float, 3> ikMaxAlong{};
  std::array<float, 3> tkMin{};  // operation times at those currents
  // Times of the main and backup protection for faults at the line's start
  // and end: toзН, tозК, tрз, tрзК.
  std::array<float, 4> tProtect{};
  // Conductor temperatures at disconnection, same order.
  std::array<float, 4> tempProtect{};
  float ikMax = 0;   // I″, maximum initial current
  float ikd = 0;     // Iкd, maximum current |E| / |Z1acc| at the element (protection times)
  float iPeak = 0;   // iуд
  float iBreak = 0;  // Iоткл
  // Joule integrals BtозН, BtозК, Btрз, BtрзК.
  std::array<float, 4> joule{};
  float tempWork = 0;  // T°р, conductor temperature in the working mode
  float unom = 0;      // nominal line voltage of the element, V

  // --- Protection ----------------------------------------------------------------------
  // The element's own time-current characteristic (owned by the model as the
  // element's attachment); the nearest and the next protective device's
  // characteristic upstream with their current shifts (ln Kт between).
  ElementAttachment* characteristic = nullptr;
  ElementAttachment* mainProtection = nullptr;
  ElementAttachment* backupProtection = nullptr;
  float mainShift = 0;
  float backupShift = 0;

  // --- Bounds of the connection (written last) ----------------------------------------
  std::int32_t startNode = 0;
  std::int32_t endNode = 0;
  std::int32_t endKey = 0;
  std::int32_t endKind = 0;

  // --- Element preparation ------------------------------------------------------------
  // 10 ordinary, 30 lines above 1000 V, 150 sources, transformers and large trunking.
  std::int32_t classCode = 0;
  float tempConstant = 0;       // β of R(θ) = R20·(β + θ)/(β + 20)
  float adiabaticConstant = 0;  // 45.65/S² or 19.58/S²
  float nonAdiabaticA = 0;      // A²/S
  float nonAdiabaticB = 0;      // B/S
  Complex zThermal;             // impedance to the thermal fault point
  Complex zIgnition;            // impedance to the non-ignition fault point
  // For protective devices: the TreeList position of the element that follows.
  std::int32_t nextElement = 0;

  // --- Load flow ------------------------------------------------------------------------
  // Installed power below the element, kW (receivers' Pном, equivalent motors' Pуст).
  float installedPower = 0;
  Complex uaEnd;  // phase voltages at the element's end
  Complex ubEnd;
  Complex ucEnd;
  float dUMax = 0;         // largest magnitude of the voltage drop
  Complex emfStart;        // source EMF referred to the element's level
  Complex z1Start;         // accumulated Z1 from the source at the start
  Complex zLoopStart;      // single-phase loop impedance at the start
  float ik1Busbar = 0;     // busbar single-phase current at the start, kA
  float uDuringStart = 0;  // voltage during starting, of the kind of Uр
  float uDuringSelfStart = 0;
  std::array<float, 3> uPhase{};  // phase voltage magnitudes
  std::array<float, 3> uLine{};   // line voltage magnitudes

  // --- Motor starting and feeding ------------------------------------------------------
  Complex zSelfStart;      // Zсз of the motors below
  Complex z1Cumulative;    // impedance from the source (starting method Ec/Zп)
  Complex feedEmf;         // equivalent EMF of the motor feeding seen from here
  Complex feedZ;           // its impedance
  Complex feedZ04;         // companion with reactance × 0.4
  float asyncInitial = 0;  // initial currents of the asynchronous motors below
  float asyncRated = 0;    // their rated currents
  float syncInitial = 0;
  float syncRated = 0;

  // Minimum short-circuit currents of the element's level (1-, 2-, 3-phase)
  // and their copies.
  std::array<std::array<float, kFaultSeriesLength>, 3> faultSeries{};
  std::array<std::array<float, kFaultSeriesLength>, 3> faultSeriesCopy{};
};

// The signed key's branch key.
constexpr std::int32_t BranchKeyOf(const ElementRec& e) {
  return e.signedKey < 0 ? -e.signedKey : e.signedKey;
}

// True when the element carries one phase only (a single-phase receiver and
// the lines feeding it alone): its Uр and Uп are phase values.
constexpr bool CarriesOnePhase(const ElementRec& e) {
  const int phases = e.phaseSet & (kPhaseA | kPhaseB | kPhaseC);
  return phases == kPhaseA || phases == kPhaseB || phases == kPhaseC;
}

// The nominal voltage the element's Uр and Uп are compared with, V: the
// phase value of Unom (× 0.57735) where they are phase values, else Unom.
constexpr double ReferenceVoltage(const ElementRec& e) {
  return CarriesOnePhase(e) ? e.unom * 0.57735 : e.unom;
}

}  // namespace kordavelt
