#pragma once

// What the topology operations guarantee about the tables they have just
// changed, checked after each of them where invariant checks are compiled in
// (base/invariant.h). They look only at the branch or node the operation
// touched: a model read from a damaged file may break the same rules
// elsewhere, and that is for the model check to report, not to stop on.
// Every check leaves the tables positioned as it found them.

#include <cstdint>

namespace kordavelt {

class modelClass;

// A branch just given a far end: its record names a far-end key, and the
// far-end record under that key holds the branch.
void ExpectFarEndTied(modelClass& model, std::int32_t branchKey);
// A slot just chosen as free at its node: neither a branch nor a far end
// uses it yet.
void ExpectSlotFree(modelClass& model, std::int32_t slotKey);

}  // namespace kordavelt
