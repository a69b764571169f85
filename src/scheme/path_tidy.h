#pragma once

// Tidying a branch path: removing its zero-length segments (a value equal to
// the one two places before it) while keeping every point the path passes.
//  - an inner one is merged with its neighbours, which then run on the same
//    axis: two values fewer;
//  - a last one is dropped: one value fewer;
//  - a first one is dropped with the first segment's orientation flipped:
//    the first value goes and the next one becomes the first point's other
//    coordinate, one value fewer.
// Nxy follows. Values past the last one in use are left as they were.

#include "scheme/scheme_geometry.h"

namespace kordavelt {

// True when segment `index` (0-based) of the path has zero length.
bool ZeroLengthSegment(const BranchGeometry& branch, int index);

// Drops the first segment when it has zero length; true when it did.
bool DropZeroFirstSegment(BranchGeometry& branch);

// Removes up to `limit` zero-length segments, first to last; the number removed.
int TidyPath(BranchGeometry& branch, int limit = 3);

}  // namespace kordavelt
