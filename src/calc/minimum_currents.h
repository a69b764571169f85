#pragma once

// Minimum short-circuit currents of a traced tree (the short-circuit step of
// CalcSource), with the arc at the fault and the conductors heating while
// the fault lasts. The source drives E = Emin·Unom/√3 ("Минимальное эдс ИП,
// о.е."), referred to each level through the transformation ratios.
//
// 1. Forward: every element gets the characteristics of its two nearest
//    protective devices upstream (ElementRec::mainProtection, backupProtection)
//    with their current shifts. A protective element — a protective device,
//    breaker, fuse or the source, holding a characteristic — is its own main
//    protection: it clears a fault at its load side, and the device above it
//    backs it up. The shift is −Σ ln Kт of the transformers between the
//    device and the element (the element's own ratio included), so that a
//    fault current I at the element is I·e^−shift at the device, the
//    convention of vth_evaluation.h.
// 2. Backward, one series record per section level: at the end of every
//    section the currents of the three fault types at 12 instants
//    (0, 0.05, 0.1, 0.2 … 51.2 s) are computed; where sections join each
//    point keeps the smaller current. Every element stores the series of its
//    level (ElementRec::faultSeries and faultSeriesCopy: single-, two-,
//    three-phase) — the currents at the far end of its protected zone.
//    Passing a transformer with a vector-group shift of ±1, the single-phase
//    series is multiplied by 1.732051/3 and the two-phase one by 2/1.732051;
//    at any Kт ≠ 1 all series by Kт, so the level above holds currents of
//    its own side. A protective element, once it has stored the currents at
//    the end of its own zone, starts the series anew with a fault at itself:
//    its zone is where the zone of the device above it ends.
// 3. Iкм1 … 3 (ElementRec::ikMin) = the smaller of the stored value and the
//    element's series at 0.05 s; the protective kinds get tкм1 … 3
//    (ElementRec::tkMin), the longest operation time of their own
//    characteristic at those currents.
//
// Currents kA, impedances mΩ, EMF V, Joule integrals kA²·s, times s. Nothing
// here reads the forward sweep's results: the step runs before it.

#include "calc/fault_series.h"

namespace kordavelt {

class CalcClass;

struct StageStorage;

// The stage itself in the calculation's shared tables (its fault loops are
// read anew); always succeeds.
bool MinimumCurrents(CalcClass& calc, StageStorage& storage);
// The same with tables of its own.
bool MinimumCurrents(CalcClass& calc);

}  // namespace kordavelt
