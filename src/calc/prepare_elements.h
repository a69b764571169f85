#pragma once

// Preparation of the element parameters of a traced tree: for every element
// the impedances, Iдоп, Kт, conductor temperature and thermal constants,
// the time-current characteristic of protective devices and, for terminal
// elements, their load, starting and self-start currents. The backward sweep
// of design loads calls it element by element: a terminal element when its
// section is started, every other element when the sweep reaches it, with
// the currents flowing through it already in the element.
//
//   for (int i = calc.Count(); i >= 1; --i) {
//     ... copy the level's currents into calc.Element(i) ...
//     if (!PrepareElement(calc, i)) return false;
//   }

#include <cstdint>

#include "model/element_rec.h"

namespace kordavelt {

class CalcClass;
class PrepareContext;
class modelClass;

// The terminal (load-side) kinds, including the kinds the preparation
// re-marks: 41–43, 45, 46, 50, 52–55.
bool IsTerminalKind(int kind);

// Prepares TreeList element `position` of the traced tree. False only when
// the source's own parameters are wrong (the message was shown): the
// calculation of that source stops. The kind is the traced branch's.
bool PrepareElement(CalcClass& calc, int position);
// The same within a context kept over a sweep of the whole tree, which reads
// each catalogue type once.
bool PrepareElement(PrepareContext& ctx, CalcClass& calc, int position);

// The same for an element record of branch record `record` of the model;
// `nextPosition` is the TreeList position of the element that follows it (0
// none), kept by protective devices. The kind is read from the branch record
// (the element's own kind when the branch is missing); the element's
// characteristic is the model's attachment of `record`.
bool PrepareElement(modelClass& model, ElementRec& e, int record, int nextPosition);

}  // namespace kordavelt
