#pragma once

// What the model tells about a branch before it is drawn (its text and
// symbol hooks), as far as the geometry depends on it.

namespace kordavelt {

struct BranchLook {
  bool switchedOn = true;  // in the current regime; the same state at both ends
  // -1 turns the direction arrow against the path (stored as the byte 255);
  // any other value counts as +1.
  int directionSign = 1;
  bool cableLine = false;  // a cable line: triangles at its ends with cable marks on
  bool hasText = true;     // the branch has text lines
  bool selected = false;
  // Picture digits from the symbol's first connection point to where the
  // line goes on (its second connection point's y less the first's).
  int symbolReach = 0;
};

}  // namespace kordavelt
