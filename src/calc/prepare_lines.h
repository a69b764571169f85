#pragma once

// Element parameters of the lines: abstract branches, cable lines, wiring
// sections, overhead lines and busbar trunking. Each function starts from an
// element whose parameters ClearElementParameters has cleared and whose
// phase currents are those flowing through it (they set the working
// conductor temperature); a missing object record or type leaves it cleared.
// Corrected counts, Кп, diameters and distances are written back.

#include "model/element_rec.h"

namespace kordavelt {

class PrepareContext;

void PrepareAbstractBranch(PrepareContext& ctx, ElementRec& e);
void PrepareCableLine(PrepareContext& ctx, ElementRec& e);
void PrepareWiring(PrepareContext& ctx, ElementRec& e);
void PrepareOverheadLine(PrepareContext& ctx, ElementRec& e);
// Busbar trunking of a catalogue type (kind 14) and built from its geometry (15).
void PrepareCatalogueTrunking(PrepareContext& ctx, ElementRec& e);
void PrepareBuiltTrunking(PrepareContext& ctx, ElementRec& e);

}  // namespace kordavelt
