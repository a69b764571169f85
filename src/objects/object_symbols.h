#pragma once

// What the scheme draws for the object a branch carries (the hook
// OnObjectSymbol): the object's symbol and the first lines of its label —
// marking, types and parameters, by groups 1 to 4 of the scheme set. The
// calculated values follow from BranchText (results/scheme_labels.h), which
// appends them to this label.
//
//   const ObjectDrawing object = ObjectSymbol(model, kKindCableLine, key);
//   // object.symbol "@l1015l0220l0321l0422l0523e#1015", object.label "2*АВВГ-4*95#L=120"
//
// Types are looked up in the model's reference book; a type that is not
// there (or no book at all) leaves out its lines and, for lines, the
// conductor mark.

#include <cstdint>
#include <string>

namespace kordavelt {

class modelClass;

struct ObjectDrawing {
  // The picture string with its connection points; empty: the branch is
  // drawn straight through, without a symbol.
  std::string symbol;
  // '#'-list of label lines.
  std::string label;
  // A cable line: the scheme draws its cable mark at the branch's ends.
  bool cable = false;
};

// The drawing of the object of kind `kind` on branch `key`. Motor kinds 41
// and 42 are receivers. Nothing (no symbol, empty label) when the object
// record does not exist or the kind keeps no object records (lighting).
ObjectDrawing ObjectSymbol(modelClass& model, int kind, std::int32_t key);

}  // namespace kordavelt
