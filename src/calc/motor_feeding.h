#pragma once

// Maximum short-circuit currents with the feeding from motors and
// generators: for every element of the traced tree, after the forward sweep,
// the equivalent of the whole network seen from the element's fault point
// (ElementRec::feedEmf, feedZ, feedZ04 and the initial and rated currents of
// the asynchronous and synchronous machines, kA), the maximum initial current
// I″ (ikMax) and the peak current iуд (iPeak). Both keep their largest value
// over the calculations since the element was reset.
//
// The fault point of an element is its end: the accumulated impedance from
// the source is Z1acc = z1Start·Kт² + Z1 (the forward sweep's R and X sums),
// the EMF the source's referred to the end. A motor or generator element is
// faulted at its terminals instead (its start): its own Z1 is the machine's
// internal impedance, not a part of the network.
//
// The system part is Is = E / |Z1acc|. The machines count only when they
// raise the current by at least 0.5 %: then I(0) = |E| / |Z| of the whole
// network's equivalent, and the rise I(0) − Is is shared between the
// asynchronous and the synchronous machines in proportion to their initial
// currents. Each share decays along its typical curve (FaultCurrent::At).

#include "base/complex.h"
#include "calc/feeding_network.h"
#include "calc/joule_integral.h"

namespace kordavelt {

class CalcClass;
struct ElementRec;

// The machines count from this rise of the current over the system part.
inline constexpr double kMotorFeedingRatio = 1.005;

// Z1acc and E at the element's fault point.
Complex FaultImpedance(const ElementRec& e);
double FaultEmf(const ElementRec& e);
// Is = E / |Z1acc|, kA; 0 without an impedance to the source.
double SystemCurrent(const ElementRec& e);

// The current at a fault point whose system part is `systemKA`, fed by
// `network` (the whole network's equivalent at that point).
FaultCurrent MaximumFaultCurrent(double systemKA, const FeedingSource& network);
FaultCurrent MaximumFaultCurrent(double systemKA, const FaultFeeding& feeding);

// iуд, kA, for the fault circuit's r and x (mΩ).
double PeakCurrent(const FaultCurrent& current, double r, double x);

struct StageStorage;

// The stage over the traced tree with the feeding network of the shared
// tables, built after the forward sweep; each element's maximum fault
// current goes into their currents as well. Always succeeds.
bool MotorFeeding(CalcClass& calc, StageStorage& storage);
// The same with a feeding network of its own.
bool MotorFeeding(CalcClass& calc);

}  // namespace kordavelt
