#pragma once

// The load flow of a traced tree: the backward sweep of design loads (with
// the element preparation of every element) and the forward sweep of
// voltages, drops, impedances seen from the source, voltages during starting
// and self-start, and the per-element results. A radial sweep without
// iteration; currents A, voltages V, impedances mΩ, powers kVA.
//
// The voltage during starting (ElementRec::uDuringStart) and its lowest
// value Uп (ElementRec::uStart) are of the kind of the working voltage Uр at
// every element, the source branch included: phase values at an element
// carrying one phase, line values elsewhere (ReferenceVoltage, element_rec.h).

namespace kordavelt {

class CalcClass;

// Element parameters and design loads, from the last element of the
// TreeList to the source branch. False when an element's preparation
// stopped the source (its message has been shown).
bool BackwardSweep(CalcClass& calc);

// Voltages from the source down the tree and the per-element results. False,
// with the message "Не задано напряжение источника#" + source name, when the
// source has no working voltage.
bool ForwardSweep(CalcClass& calc);

}  // namespace kordavelt
