#pragma once

// The calculation of one traced source tree, stage by stage: element
// parameters with the backward sweep of design loads, motor starting from the
// network, minimum short-circuit currents, self-start equivalents, the forward
// sweep, the machines' feeding of maximum currents, protection times with the
// heating of the conductors, load envelopes and the checks. Each stage is a
// plain call on the results of the stages before it; CalcClass::CalcSource
// runs them after the trace and the reset of the results.
//
// Tests of one stage, and benchmarks of a part of the pipeline, stop after
// an earlier stage (CalcClass::StopAfter); the program always runs them all.

#include <vector>

#include "calc/fault_loop.h"
#include "calc/feeding_network.h"
#include "calc/joule_integral.h"
#include "calc/vth_evaluation.h"

namespace kordavelt {

class CalcClass;

// The stages in the order they run.
enum class CalcStage {
  Tree,              // none: the trace, the voltage levels and the connection bounds only
  ElementsAndLoads,  // element parameters and the backward sweep of design loads
  StartCurrents,     // starting currents from the network impedance (method "Iп=Ec/Zп")
  MinimumCurrents,   // minimum short-circuit currents
  SelfStart,         // self-start equivalents (methods "K*Iпуск", "K(t)*Iпуск")
  ForwardSweep,      // currents, voltages, drops and losses
  MotorFeeding,      // maximum currents with the feeding of motors and generators
  ProtectionTimes,   // operation times, heating and Joule integrals
  LoadEnvelopes,     // downstream time-current envelopes
  Checks,            // checks of conditions (single-variant runs only)
};

// What the stages of one calculation share, in tables kept from one
// calculation to the next, so that those of a large tree are allocated once
// rather than at every calculation.
struct StageStorage {
  FaultLoops loops;        // the minimum currents' fault loops
  FeedingNetwork feeding;  // the machines' feeding equivalents (after the forward sweep)
  // The maximum fault current at every element's fault point, by TreeList
  // position: the motor feeding finds them, the protection times integrate them.
  std::vector<FaultCurrent> currents;
  // The readings of the characteristics, prepared once for the minimum
  // currents, the protection times and the checks.
  CurveReadings readings;
};

// Runs the stages up to `last` over the traced tree of `calc`, its voltage
// levels assigned before the element parameters and again after them (the
// preparation may change transformer data), in the working tables of
// `storage`. False when a stage stopped the source; its message has been
// shown.
bool RunStages(CalcClass& calc, CalcStage last, StageStorage& storage);

}  // namespace kordavelt
