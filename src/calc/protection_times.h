#pragma once

// Operation times of the protection at maximum currents, the Joule integrals
// up to those times and the conductor temperatures at disconnection, element
// by element in list order, after the motor feeding (calc/motor_feeding.h).
// The main and backup protections are the characteristics the element
// refers to (ElementRec::mainProtection, backupProtection, with their current
// shifts); a missing one never operates, its time is 9999 s.
//
// Every element: Iкd = E / |Z1acc| at its fault point (ElementRec::ikd; the
// source branch also keeps it as ikdSource); the longest times of the main
// and the backup protection at Iкd are toзН and tрз (tProtect[0], [2]), the
// Joule integrals up to them BtозН and Btрз (joule[0], [2]); wires and
// overhead lines get the temperatures T°озН and T°рз (tempProtect[0], [2];
// 9999 when the heating factor K reaches 7), other kinds 0. The other two
// entries of each array are 0.
//
// Cable lines with a working temperature: faults along the line, with the
// machines on both sides of the fault point (FeedingNetwork::AlongLine):
//   ikMaxAlong[0 … 2]  I″ at the start, at the thermal point, at the end,
//                      never below E / |Z1acc + Z1|;
//   index 0            main protection, fault at the thermal point;
//   index 1            main protection, fault at the end;
//   index 2            backup protection, fault at the ignition point;
//   index 3            backup protection, fault at the end,
// each with its time (tProtect), temperature (tempProtect) and Joule
// integral (joule). The heating is followed: the protection's time at the
// current of the cold line is cut into "Число шагов интегрирования Bt"
// steps; each step recomputes the current with the line's resistance at the
// temperature reached so far and adds its Joule integral. After each of the
// "Число итераций для времени с учетом нагрева" iterations the time is read
// again at the current of the heated line, and the next iteration integrates
// up to that time. The stored time is the last one read; the temperature is
// 9999 once K reaches 2. Iоткл (iBreak) is the largest of the four final
// currents.
//
// The protection times are read at the system part of the current (what
// flows through the protection from the source side, the machines' decaying
// feeding excluded); the Joule integrals take the full current with the
// machines' feeding.
//
// I″ values, iBreak and the Joule integrals keep their largest value since
// the element's reset. Times, temperatures, Iкd and ikMaxAlong, which the
// reset does not clear, keep their largest value in multi-variant runs and
// are replaced by every single-variant calculation.

namespace kordavelt {

class CalcClass;

// Heating iterations and integration steps taken from the settings: 0 or
// less counts as 1, more than these as these.
inline constexpr int kMostHeatingIterations = 20;
inline constexpr int kMostJouleSteps = 1000;

struct StageStorage;

// The stage over the traced tree after the motor feeding, in the shared
// tables: its feeding network and the maximum fault currents it found at the
// elements. Always succeeds.
bool ProtectionTimes(CalcClass& calc, StageStorage& storage);
// The same with a feeding network of its own.
bool ProtectionTimes(CalcClass& calc);

}  // namespace kordavelt
