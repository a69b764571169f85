#pragma once

// Resistance Rд of the arc at a short-circuit point, mΩ, by the method the
// engineer chose in "Учет сопротивления дуги при КЗ#"
// ("Rд=const#Rд=f(Lд)#Rд=f(a,Zк)#Rд=f(Iк)"):
//
//   0  a constant Rд;
//   1  an arc of length Lд (mm) burning at Uд = 16·√Lд volts: Rд = Uд·I^−0.85,
//      iterated with the current I that flows with the arc in the loop;
//   2  the same with Lд estimated from the distance a between phases and the
//      loop's R/X;
//   3  Rд from the empirical reduction of the current by the arc.
//
// A fault is described by its loop impedance without the arc, R + jX (mΩ),
// the phase EMF E (V) and the current factor x of its type in I = x·E/|Z|
// (1 three-phase, 1.732051 two-phase, 3 single-phase). The loop of a
// single-phase fault holds three times the per-phase impedances, so the arc
// enters it as 3·Rд; the two-phase loop holds one phase-to-phase arc and the
// three-phase loop one arc per phase, so both take Rд once. The iteration of
// methods 1 and 2 and the reduction of method 3 assume exactly these, so the
// current computed with the arc is the current the arc was sized for.

namespace kordavelt {

// Items of "Учет сопротивления дуги при КЗ#".
inline constexpr int kArcConstant = 0;         // "Rд=const"
inline constexpr int kArcByLength = 1;         // "Rд=f(Lд)"
inline constexpr int kArcByPhaseDistance = 2;  // "Rд=f(a,Zк)"
inline constexpr int kArcByCurrent = 3;        // "Rд=f(Iк)"

// Current factors x of the fault types.
inline constexpr double kThreePhaseFactor = 1.0;
inline constexpr double kTwoPhaseFactor = 1.732051;
inline constexpr double kSinglePhaseFactor = 3.0;

// The arc settings of the model.
struct ArcSettings {
  int method = kArcConstant;
  double resistance = 0;       // Rд of method 0, mΩ
  double lengthMm = 0;         // Lд of method 1
  double phaseDistanceMm = 0;  // a of method 2
};

// Rд for a fault with loop R + jX (mΩ, without the arc), current factor x and
// phase EMF E (V); 0 when the method gives no arc or its formula breaks down.
double ArcResistance(const ArcSettings& arc, double r, double x, double factor, double emf);

// Method 2's arc length: 0.0425·s² + 12.46 − 1.5747·s + 2.1748·a − 0.02477·a²
// with s = R/X (30 when X = 0), kept within a … 4a.
double ArcLengthFromPhaseDistance(double phaseDistanceMm, double r, double x);

// Methods 1 and 2: Rд = 16·√Lд · I^−0.85 iterated from Rд = 0 until it
// changes by at most 0.1 mΩ; 0 when 100 rounds do not settle it.
double IteratedArcResistance(double lengthMm, double r, double x, double factor, double emf);

// Method 3: the loop impedance |Z| grown by the empirical factor
// r(|Z|/x) = 0.339 + 0.00745·k − 4.84e-5·k² + 1.3e-8·k³; 0 when r ≤ 0.
double ArcResistanceFromCurrent(double r, double x, double factor);

// The resistance the arc adds to the fault loop: 3·Rд for the single-phase
// loop, Rд for the two- and three-phase loops.
double ArcLoopResistance(double arc, double factor);

}  // namespace kordavelt
