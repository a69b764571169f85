#pragma once

// Element parameters of the terminal elements: receiver connections,
// generators, sockets, capacitor banks and equivalent motors (kinds 52, 50,
// 45, 43, 53). Each sets the element's phase currents, Iп, tп, Iсз, Iдоп and,
// for machines, the sub-transient impedance; Kт = 1. Motor receivers are
// re-marked 42 (asynchronous) and 41 (synchronous), receivers of groups of
// kind "ЭД" 46, equivalent motors 54 and 55 by their kind.

#include "base/complex.h"
#include "model/element_rec.h"

namespace kordavelt {

class PrepareContext;

// Phase connections, the index into "ABC0#ABC#A0#B0#C0#AB#BC#CA".
enum PhaseConnection : int {
  kConnectionABC0 = 0,
  kConnectionABC = 1,
  kConnectionA0 = 2,
  kConnectionB0 = 3,
  kConnectionC0 = 4,
  kConnectionAB = 5,
  kConnectionBC = 6,
  kConnectionCA = 7,
};

bool IsThreePhaseConnection(int connection);

// The phase currents of a load drawing `current` by its connection: a
// three-phase load puts it on A with B = a²·I and C = a·I; a single-phase
// load on its phase alone; a load between two phases I·∠30° and −I·∠30° on
// AB, I·∠−90° and I·∠90° on BC, I·∠−30° on A and I·∠150° on C for CA. An
// index outside the list is taken as three-phase.
PhaseValues ConnectionCurrents(int connection, const Complex& current);

// Clears everything a terminal element's preparation sets.
void ClearTerminal(ElementRec& e);

// `switchedOn`: the receiver's branch is on in the current regime; an
// element switched off keeps zero currents.
void PrepareReceiver(PrepareContext& ctx, ElementRec& e, bool switchedOn);
void PrepareGenerator(PrepareContext& ctx, ElementRec& e);
void PrepareSockets(PrepareContext& ctx, ElementRec& e);
void PrepareCapacitorBank(PrepareContext& ctx, ElementRec& e);
void PrepareEquivalentMotor(PrepareContext& ctx, ElementRec& e);

}  // namespace kordavelt
