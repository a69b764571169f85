#pragma once

// The maximum short-circuit current at a fault point as a function of time,
// and its Joule integral Bt = ∫ i² dt, kA²·s.
//
// The current is the system part, constant, plus the feeding of the
// asynchronous and the synchronous motors, each decaying along its typical
// curve (calc/decay_curves.h):
//
//   I(t) = Is + γАД(t)·IАД0 + γСД(t)·IСД0,   never below Is.
//
// Bt up to t is the aperiodic part Ta·I(0)²·(1 − e^(−2t/Ta)) plus the
// periodic part ∫ I(t)² dt, integrated by the trapezoidal rule with a step
// that grows as the current settles: it starts at 1 ms, and after each step
// the next is (mean I² × step) / (the fall of I² over the step), the whole
// remaining time once I² stops falling; never below 1 ms, never beyond t.
// A steady current needs no steps: its periodic part is Is²·t.
// Ta = X / (ω·R) of the fault circuit. Bt is 0 for t beyond 998 s (the fault
// is not cleared within the times the characteristics know) and when R or X
// is not positive.

namespace kordavelt {

// Computed in double: the results are stored as floats, and the integral is
// taken for every heating step of every cable fault.
struct FaultCurrent {
  double system = 0;   // Is, kA
  double initial = 0;  // I(0) with the motors, kA
  // The motors' initial contributions, kA, and their remoteness indices
  // (rounded; below 2 the motors do not feed).
  double asyncInitial = 0;
  double syncInitial = 0;
  double asyncRemoteness = 0;
  double syncRemoteness = 0;

  // I(t), kA.
  double At(double timeS) const;
  // True when I(t) stays at Is: no motor contribution decays along a curve.
  bool Steady() const;
};

// A constant current of `currentKA` (no motors).
FaultCurrent SteadyFault(double currentKA);

// Faults lasting longer than this heat nothing the calculation can tell.
inline constexpr double kLongestIntegratedTimeS = 998;
// The first and the smallest integration step, s.
inline constexpr double kSmallestJouleStepS = 0.001;

// Bt from 0 to `timeS`, kA²·s; r, x of the fault circuit, mΩ.
double JouleIntegral(const FaultCurrent& current, double r, double x, double timeS);

// Bt from `fromS` to `toS` (the growth of JouleIntegral between them), for
// integrating while the circuit changes from step to step.
double JouleIntegralBetween(const FaultCurrent& current, double r, double x, double fromS,
                            double toS);

}  // namespace kordavelt
