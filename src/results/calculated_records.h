#pragma once

// The calculation records that the scheme's labels and colours may read: a
// record counts only while the source whose tree it belongs to is marked
// calculated, so that a label never shows the values of an earlier
// calculation after an edit has made them stale.

#include <cstdint>

namespace kordavelt {

class modelClass;
struct ElementRec;

// True when source `source` exists and its flag "calculated" is set.
bool SourceCalculated(modelClass& model, int source);

// The record of branch `key`, when the branch exists and the calculation
// has written its record (the record names the branch); nullptr otherwise.
// Says nothing about whether the values are current.
const ElementRec* BranchRecord(modelClass& model, std::int32_t key);

// BranchRecord, when the source feeding the branch's start node is calculated.
const ElementRec* CurrentBranchRecord(modelClass& model, std::int32_t key);

// The record of the element that fed node `node` in the last traced tree,
// when the node is fed by a calculated source; nullptr otherwise.
const ElementRec* CurrentFeederRecord(modelClass& model, int node);

}  // namespace kordavelt
