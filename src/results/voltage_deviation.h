#pragma once

// Voltage deviations of the result tables: the element's working voltage Uр
// and its voltage during motor starting Uп against the nominal voltage, %.
// Both against the same reference as the checks (ReferenceVoltage): the
// phase value of Unom at an element carrying one phase, Unom elsewhere.

#include <string>

namespace kordavelt {

struct ElementRec;

// The cell of (u / reference − 1) · 100; "-" for a voltage not computed.
std::string WorkingDeviationCell(const ElementRec& e);
std::string StartingDeviationCell(const ElementRec& e);

}  // namespace kordavelt
