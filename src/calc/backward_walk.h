#pragma once

// The walk every backward sweep makes over the TreeList: from the last
// element to the source branch, with one accumulator per section level.
// Before element i is visited, the level walked just before it closes into
// its parent when element i stands on a lower level or ends a section — the
// section-level encoding of the trace.
//
//   WalkBackwards(calc,
//       [&](int parent, int child) { merge levels[child] into levels[parent] },
//       [&](int i, ElementRec& e, int level, int previous) { ...; return true; });

#include <algorithm>

#include "calc/calc_class.h"

namespace kordavelt {

// Accumulators of section levels 0 … 100.
inline constexpr int kSweepLevels = CalcClass::kMaxLevel + 2;

// The accumulator level of an element (1 … 100).
inline int SweepLevel(const ElementRec& e) { return std::clamp<int>(e.level, 1, kSweepLevels - 1); }

// Calls close(parent, child) where a level closes and visit(i, element,
// level, previous level) for every element; false as soon as visit is.
template <class Close, class Visit>
bool WalkBackwards(CalcClass& calc, Close&& close, Visit&& visit) {
  int previous = 1;
  for (int i = calc.Count(); i >= 1; --i) {
    ElementRec& e = calc.Element(i);
    const int level = SweepLevel(e);
    if (previous >= 2 && (level < previous || e.endOfSection != 0)) close(previous - 1, previous);
    if (!visit(i, e, level, previous)) return false;
    previous = level;
  }
  return true;
}

}  // namespace kordavelt
