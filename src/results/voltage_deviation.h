#pragma once

// Voltage deviations of the result tables: the element's working voltage Uр
// and its voltage during motor starting Uп against the nominal voltage, %.
// One phase with the neutral is compared with the phase value of Unom.

#include <string>

namespace kordavelt {

struct ElementRec;

// The cell of (u / reference − 1) · 100; "-" for a voltage not computed.
std::string WorkingDeviationCell(const ElementRec& e);
std::string StartingDeviationCell(const ElementRec& e);

}  // namespace kordavelt
