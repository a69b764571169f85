#pragma once

// The texts the scheme writes beside every node and branch: identifiers
// (number, marking, name) and the results of the last calculation, by the
// parameter groups of the scheme set (label_groups.h). A label is a '#'-list,
// one item per line. The texts keep no state: every redraw asks again.
//
// A node or branch shows values only when its source is marked calculated
// and the calculation has written its record; otherwise it keeps its
// identifiers, so a label never shows stale values or values of a record
// nothing was calculated into.
//
//   const NodeLabel n = NodeText(model, 12, palette);      // "12#ЩР-1#Uр=398"
//   const BranchLabel b = BranchText(model, key, symbol.label, palette);

#include <cstdint>
#include <string>
#include <string_view>

#include "draw/color.h"
#include "results/scheme_colours.h"

namespace kordavelt {

class modelClass;

struct NodeLabel {
  std::string text;
  Color colour;
};

// The label of node `node`. A node that no source reaches keeps its number
// and the standard colour whatever the groups.
NodeLabel NodeText(modelClass& model, int node, const SchemePalette& palette);

struct BranchLabel {
  std::string text;
  BranchEndColours colours;
  // Both switches the scheme draws at the branch's ends: bit r of the
  // branch's Status for the current regime r.
  bool switchedOn = false;
  // +1, or −1 when the direction arrow points against the branch (a source
  // or generator, or a branch the tree passes backwards).
  int direction = 1;
};

// The label of branch `key`: `objectLabel` (what the object symbol gave,
// object_symbols.h) with the calculated values appended.
BranchLabel BranchText(modelClass& model, std::int32_t key, std::string_view objectLabel,
                       const SchemePalette& palette);

}  // namespace kordavelt
