#pragma once

// Element parameters of the power source's own branch (kind 51): its
// positive- and zero-sequence impedance from the busbar short-circuit
// currents and the time constant of the source object.

#include "model/element_rec.h"

namespace kordavelt {

class PrepareContext;

// Z1 and Z0 of the source at the maximum EMF (e.unom is the source's nominal
// voltage). Ta = 0 takes X/R = 10 and writes that Ta back into the source
// object. A single-phase current above 1.5 times the three-phase one would
// need a negative zero-sequence impedance: "Ошибка в параметрах ИП" is shown
// and false returned, the calculation of the source stops.
bool PrepareSource(PrepareContext& ctx, ElementRec& e);

}  // namespace kordavelt
