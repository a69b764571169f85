#pragma once

// Connecting a new object to the network: the one place where a branch, its
// far end and its zeroed object record are created together, for the object
// tables, the data tables and the model import alike.
//
//   const std::int32_t cable = ConnectObject(model, kKindCableLine, 5, 9);
//   // branch 5 × 256 + lowest free slot, far end 9 × 256 + lowest free slot,
//   // an empty record in table 111 under the branch key.

#include <cstdint>

namespace kordavelt {

class modelClass;

// True for the kinds whose branch runs to a far node: every kind but
// capacitor banks, sockets, lighting (41 … 45), generators, sources,
// receivers and equivalent motors (50 … 53).
bool KindHasFarEnd(int kind);

// Connects a new object of kind `kind` from node `startNode` to node
// `endNode` (0: no far node). Both nodes must exist and differ. A power
// source takes slot 0 of its node (a free slot when another source holds
// it); every other branch end takes the lowest free slot. The branch is
// switched on in every regime; the object record (for kinds that have an
// object table) is zeroed. Returns the new branch key, or 0 after a message
// with nothing changed (no model, unknown kind, missing node, a branch onto
// its own node, no free slot, a table that cannot grow).
std::int32_t ConnectObject(modelClass& model, int kind, int startNode, int endNode = 0);

}  // namespace kordavelt
