#pragma once

// The designations by which every table, check and message names a node or a
// branch: its marking record, or, when it has none, its number ("12") or its
// key written node "." slot ("12.3").

#include <cstdint>
#include <string>

namespace kordavelt {

class modelClass;

// The marking record of a node or branch code; empty when it has none.
std::string MarkingText(modelClass& model, std::int32_t code);
// The designation of a node: its marking, else its number.
std::string NodeDesignation(modelClass& model, int node);
// The designation of a branch: its marking, else its key.
std::string BranchDesignation(modelClass& model, std::int32_t key);

}  // namespace kordavelt
