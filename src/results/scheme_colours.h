#pragma once

// The colours in which the scheme paints nodes and branches, by the
// colouring mode of the model's settings (offset 275, an index into
// "Нет#По Uном#По источникам#По помещениям#По dU%#По Kз%#По условиям"):
//   1 by nominal voltage  the band colour of the node's voltage index
//   2 by sources          the colour of the source that feeds the node
//   3 by rooms            the colour of the room the node record names
//   4 by dU%              the band of the node's working voltage against Uн
//   5 by Kз%              the band of the branch's load factor
//   6 by conditions       the highlight colour on a branch that violates one
// Nodes that no source reaches and branches switched off in the current
// regime take the offline colour; whatever a mode cannot decide (no band,
// no room, a record of a source not calculated) takes the standard colour.

#include <cstdint>

#include "draw/color.h"

namespace kordavelt {

class modelClass;

// The three display colours of the program (ColorDefault, ColorOffline,
// ColorSelect), with their start values.
struct SchemePalette {
  Color standard = kBlack;
  Color offline = Color::FromColorRef(0xC0C0C0);
  Color highlight = Color::FromColorRef(0x0000FF);
};

enum ColouringMode : int {
  kColourNone = 0,
  kColourByVoltage = 1,
  kColourBySource = 2,
  kColourByRoom = 3,
  kColourByDeviation = 4,
  kColourByLoad = 5,
  kColourByConditions = 6,
};

// The colour of node `node`.
Color NodeColour(modelClass& model, int node, const SchemePalette& palette);

// The colours of the two halves of a branch: before its object symbol and
// after it.
struct BranchEndColours {
  Color start;
  Color end;
  friend bool operator==(const BranchEndColours&, const BranchEndColours&) = default;
};

// The colours of branch `key`; the standard colour for a branch the model
// does not have.
BranchEndColours BranchColours(modelClass& model, std::int32_t key, const SchemePalette& palette);

}  // namespace kordavelt
