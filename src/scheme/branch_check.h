#pragma once

// The check of the geometry records before every full redraw. It repairs in
// memory what would stop a record from being drawn and says what it
// repaired; the window writes the repairs back and shows the reports once,
// after painting, never in a message box in the middle of a redraw.
//
//  - a record on subscheme 0 goes to subscheme 1 (silently);
//  - a node record under key 0 is dropped (silently);
//  - a branch record under key 0 is dropped: "Ветвь с кодом "0" удаляется";
//  - a path that cannot be drawn as it stands is repaired without losing
//    path data: Nxy above 12 is taken as 12 (the values beyond XYE do not
//    exist), a zero-length first segment is dropped by the tidy rule with
//    the rest of the path kept, and only a path left without any segment
//    gets the one-segment stub of 3 steps; each such branch is reported
//    as "Ветвь с кодом K нарисована плохо".

#include <set>
#include <string>
#include <vector>

#include "scheme/scheme_geometry.h"

namespace kordavelt {

enum class CheckOutcome {
  Sound,     // nothing to repair
  Repaired,  // changed in memory: to be written back
  Dropped,   // a record under key 0: to be deleted
};

// The reports of the checks, each text once for as long as the log lives
// (a record that cannot be written back, in a read-only model, is repaired
// again at every redraw but reported only the first time).
class RepairLog {
 public:
  void Add(std::string text);
  // The reports since the last call, to be shown after painting.
  std::vector<std::string> TakePending();
  bool HasPending() const { return !pending_.empty(); }

 private:
  std::set<std::string> reported_;
  std::vector<std::string> pending_;
};

CheckOutcome CheckNode(NodeGeometry& node);
CheckOutcome CheckBranch(BranchGeometry& branch, RepairLog& log);

}  // namespace kordavelt
