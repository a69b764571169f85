#pragma once

// Typical decay curves of the short-circuit current fed by motors: the
// current at time t as a share γ of the motor's initial current, by the
// remoteness index (the motor's initial current at the fault over its rated
// current). Asynchronous motors decay within tenths of a second, synchronous
// motors and generators within a second.
//
// Reading the tables: row r holds the curve of remoteness index r (r = 1 …
// rows); a fractional index interpolates linearly between its two rows, a
// time between two columns likewise. Both are clamped to the table: an index
// above the last row reads the last row (the motor is as close to the fault
// as the table knows), a time beyond the last column reads the last column
// (the curve stays at its last value). An index below 2 means the motor is
// too remote to feed the fault: γ = 0.
//
//   γ = DecayFactor(MachineKind::Asynchronous, 5, 0.05);  // 0.28

namespace kordavelt {

enum class MachineKind { Asynchronous, Synchronous };

// Below this remoteness index a motor contributes nothing.
inline constexpr double kLeastRemotenessIndex = 2;

// γ of the motors of `kind` with this remoteness index at `timeS` seconds
// after the fault.
double DecayFactor(MachineKind kind, double remotenessIndex, double timeS);

}  // namespace kordavelt
