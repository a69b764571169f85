#pragma once

// The results of one element of a traced tree as one JSON object, for
// `kordavelt-cli elements`: where the element stands (source, TreeList
// position, signed branch key, kind, section level, the nodes at both ends
// in the direction of travel) and what the calculation left in its record.
// Keys name the values as the program's tables do: Unom, Ur, Up, Ir, Ia …
// (currents A, short-circuit currents kA, voltages V, impedances mΩ, times
// s, temperatures °C, Joule integrals kA²·s); complex values are [re, im].
// Ur and Up are phase values at an element carrying one phase and line
// values elsewhere; Uref is the nominal voltage of their kind, the one the
// tables' dUр and dUп and the checks compare them with.

#include <string>

#include "model/element_rec.h"

namespace kordavelt {

struct ElementPlace {
  int source = 0;
  bool calculated = false;  // the source's results are current
  int index = 0;            // TreeList position, 1 … Count()
  int startNode = 0;        // the node the trace entered the element from
  int endNode = 0;          // the node it left by; 0 for none
};

std::string ElementJson(const ElementRec& element, const ElementPlace& place);

}  // namespace kordavelt
