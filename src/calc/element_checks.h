#pragma once

// The checks of conditions: after a source tree has been calculated, every
// element is compared with the permissible values of its equipment and with
// the calculation settings, and each violated condition sets one bit of
// ElementRec::violations. Result tables and the scheme show the set as a
// short list of codes (ViolationText).
//
// What a check reads: the check current (A) and Iдоп; Uр and Uп, line values
// (Uр a phase value on an element that carries one phase only); the minimum
// currents ikMin[0 … 2] = single-, two-, three-phase and I″ = ikMax (kA);
// BtозН = joule[0] (kA²·s); T°р = tempWork, T°озН = tempProtect[0],
// T°рз = tempProtect[2], T°рзК = tempProtect[3] (°C); the element's own
// characteristic and the nearest protection upstream with its current shift.
//
// Conventions of these checks:
//  - A value not computed (Uр or Uп still 99999) and a catalogue limit of 0
//    (not given in the reference book) are not compared.
//  - Voltage deviations are compared strictly, after float noise below
//    1e-9 % is discarded: a deviation equal to its limit is no violation.
//  - The breaking capacity of a breaker or fuse is compared with I″ of the
//    element that follows it in the TreeList when that element lies below
//    it; a device that ends its section is compared with its own I″.
//  - Selectivity is not violated at a current at which the upstream
//    protection does not operate at all (its shortest time reaches 9999 s,
//    as the source's characteristic everywhere).
//  - The insulated-wire table of the reference book holds only the working
//    temperature of a wire; its short-circuit and non-ignition temperatures
//    are not catalogued, so a wiring section is checked for "Tр!" only.

#include <cstdint>
#include <string>

namespace kordavelt {

class CalcClass;
struct StageStorage;

// Bits of the violation set.
enum ViolationBit : int {
  kViolationTypeMissing = 0,        // "нет!"
  kViolationNotInBook = 1,          // reserved
  kViolationNotChosen = 2,          // reserved
  kViolationNominalVoltage = 3,     // reserved
  kViolationPermissible = 4,        // "Iдоп!"
  kViolationShortCircuit = 5,       // "Iкз!" breaking capacity or thermal withstand
  kViolationDynamic = 6,            // "Iдин!"
  kViolationVoltageLow = 7,         // "Up<!"
  kViolationVoltageHigh = 8,        // "Uр>!"
  kViolationStartVoltage = 9,       // "Uп<!"
  kViolationWorkingSetting = 10,    // "Уст.Iр!"
  kViolationStartSetting = 11,      // "Уст.Iп!"
  kViolationSensitivity1 = 12,      // "Кч1ф!"
  kViolationSensitivity2 = 13,      // "Кч2ф!"
  kViolationSensitivity3 = 14,      // "Кч3ф!"
  kViolationSelectivity = 15,       // "Ceл.!"
  kViolationSelfStartSetting = 16,  // "Уст.Iсз!"
  kViolationProtection = 17,        // reserved
  kViolationWorkingHeat = 18,       // "Tр!"
  kViolationThermal = 19,           // "Tт!"
  kViolationIgnition = 20,          // "Tв!"
  kViolationObjectMissing = 21,     // "Ошибка!"
  kViolationCores = 22,             // "Жилы!"
};

// Sets the violation bits of TreeList element `position`. Abstract branches,
// motors, receivers, sources and equivalent motors (kinds 3, 41 … 43, 46,
// 51 … 55) are not checked. An element whose object record is missing gets
// "Ошибка!" alone; one whose equipment type is missing from the reference
// book gets exactly "нет!".
void CheckElement(CalcClass& calc, int position);

// CheckElement for every element of the traced tree. Always succeeds.
bool CheckElements(CalcClass& calc);
// The same with the readings of the characteristics the calculation's
// shared tables hold.
bool CheckElements(CalcClass& calc, StageStorage& storage);

// "" for an empty set; otherwise "#" and the codes of the set bits in
// display order (bit 16 after bit 11), without separators: "#Iдоп!Кч1ф!".
std::string ViolationText(std::uint32_t violations);

}  // namespace kordavelt
