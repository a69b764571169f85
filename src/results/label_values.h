#pragma once

// The calculation results that the scheme labels show, as text: what each
// parameter group adds to a node's or a branch's label from one calculation
// record. Every item starts with '#', so the texts append to a label as they
// are. Units and letters are the program's own (the current unit after Ia …
// Iп is a Latin "A", most seconds signs are Cyrillic); the double quote stands
// for the double prime of I" and E".
//
// Nothing here decides whether a record is current: the callers
// (scheme_labels.h) give a record only when its source has been calculated.
// Ratios whose divisor is zero and voltages not computed are left out rather
// than shown as infinite or as the marker 99999.

#include <string>

#include "base/complex.h"
#include "results/label_groups.h"

namespace kordavelt {

struct ElementRec;

// A complex value in the form the settings choose (offset 1412): 0 its
// magnitude, 1 the complex text "5-j2", 2 the polar text "5<30°".
std::string ComplexDisplay(const Complex& z, int complexForm);

// The items of a node fed by `feeder` for groups 7, 8, 10, 11, 26, 27, 28
// and 16, in that order; empty when the element has no nominal voltage.
std::string NodeValueText(const ElementRec& feeder, LabelGroups groups, int complexForm);

struct BranchValueOptions {
  int kind = 0;  // object kind of the branch record (before any re-marking)
  LabelGroups groups;
  int complexForm = 0;
  // Cable lines: the distance of the middle fault point from the line's
  // start, m (already limited to the line's length).
  double cablePointM = 0;
};

// The items of a branch from its own record, in the order of the groups'
// table: currents, powers, starting, load factor, short circuits, times,
// heating, impedances, the current's make-up, motor EMF, self-start and the
// violated conditions.
std::string BranchValueText(const ElementRec& e, const BranchValueOptions& options);

}  // namespace kordavelt
