#pragma once

// Element parameters of switching devices, current transformers, reactors,
// stabilisers and power transformers (kinds 24, 25, 34, 33, 32, 31). Each
// function starts from a cleared element (ClearElementParameters); a missing
// object record or type leaves it cleared.

#include <cstdint>

#include "model/element_rec.h"

namespace kordavelt {

class PrepareContext;

void PrepareSwitch(PrepareContext& ctx, ElementRec& e);
void PrepareStarter(PrepareContext& ctx, ElementRec& e);
void PrepareCurrentTransformer(PrepareContext& ctx, ElementRec& e);
void PrepareReactor(PrepareContext& ctx, ElementRec& e);
void PrepareStabiliser(PrepareContext& ctx, ElementRec& e);

// Connection groups of power transformers, the index stored in the type:
// "Y0/Y0#D/Y0#Y/Y0#Y/Z#D/Z#D/Y".
enum TransformerGroup : int {
  kGroupY0Y0 = 0,
  kGroupDY0 = 1,
  kGroupYY0 = 2,
  kGroupYZ = 3,
  kGroupDZ = 4,
  kGroupDY = 5,
};

// The vector-group shift the calculation keeps for a connection group,
// passing the transformer in its own direction:
//   0  the zero-sequence path of the source side passes through (Y0/Y0);
//  +1  the low side has an earthed neutral of its own, the source side's
//      zero-sequence path stops here (D/Y0, Y/Y0, Y/Z, D/Z);
//  −1  the low side has no earthed neutral (D/Y).
// An index outside the list is taken as Y0/Y0.
std::int8_t VectorGroupShift(int group);

// Kт, impedances referred to the side the tree leaves the transformer by,
// Iдоп, the phase shift and the element's Unom (that side's winding, V).
void PrepareTransformer(PrepareContext& ctx, ElementRec& e);

}  // namespace kordavelt
