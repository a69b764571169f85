#pragma once

// The series of minimum short-circuit currents of a fault at one position of
// a traced tree: for each fault type 12 currents at 0, 0.05, 0.1, 0.2 …
// 51.2 s, each x·E/|Z + arc| with the lines heated by the Joule integral of
// the points before it. The first step adds the aperiodic part I(0)²·Ta, Ta
// of the loop with its arc (the arc's resistance damps the aperiodic current
// as the conductors' does). A loop without impedance leaves its series at
// 99999 (not computed).
//
// What all positions share is prepared once: each heating class's K per
// kA²·s at the 12 instants. Per position the loops are collected once for
// the three fault types, and a series stops being computed where its loop
// can no longer change: nothing on the path heats, or every heating class on
// it has reached the largest heating factor for good; the remaining points
// repeat the last current.
//
//   FaultSeriesCalculator series(loops, arc, nonAdiabatic);
//   const FaultSeries at = series.At(position, emf);

#include <array>
#include <vector>

#include "calc/arc_resistance.h"
#include "calc/fault_loop.h"
#include "model/element_rec.h"

namespace kordavelt {

// The currents of one fault type at the 12 instants, kA.
using FaultPoints = std::array<float, kFaultSeriesLength>;

// Three series of currents, single-, two- and three-phase, kA.
using FaultSeries = std::array<FaultPoints, kFaultTypes>;

// The instant of series point `point` (0 … 11), s.
double FaultSeriesTime(int point);

class FaultSeriesCalculator {
 public:
  // `loops` must outlive the calculator.
  FaultSeriesCalculator(const FaultLoops& loops, const ArcSettings& arc, bool nonAdiabatic);

  // The series of a fault at the end of TreeList element `position` with the
  // phase EMF `emf` (V) of its level.
  FaultSeries At(int position, double emf);

 private:
  // A series computed for a child of one parent, kept for its siblings;
  // the series of one parent are linked through `previous`.
  struct Remembered {
    int previous = -1;
    double emf = 0;
    std::array<LoopImpedance, kFaultTypes> cold{};
    FaultSeries series{};
  };

  using PerPoint = std::array<double, kFaultSeriesLength>;

  // The series of the loops in at_, the three fault types side by side.
  FaultSeries Compute(double emf) const;
  // Computes point `k` of the series of `type` into `points`, the Joule
  // integral `bt` of the points before it growing by the point's `step` (s);
  // true when the series is complete.
  bool Point(int type, int k, double step, double emf, double& bt, FaultPoints& points) const;
  // The resistance the arc adds to the loop `z` of `type`.
  double ArcAdded(int type, const LoopImpedance& z, double emf) const;
  // The resistance the heating classes add to the loop of `type` at point
  // `point` after `bt` kA²·s.
  double HeatingAt(int type, double bt, int point) const;
  // True when the loop at `point` after `bt` is the loop of every later
  // point as well.
  bool Settles(double bt, int point) const;

  const FaultLoops& loops_;
  ArcSettings arc_;
  bool constantArc_ = false;
  std::array<double, kFaultTypes> arcLoop_{};  // what a constant arc adds
  // By heating class: K per kA²·s at each point, and the smallest of it
  // from each point to the last.
  std::vector<PerPoint> perJoule_;
  std::vector<PerPoint> leastPerJouleFrom_;
  PositionLoops at_;               // the loops of the position being computed
  std::vector<int> rememberedOf_;  // by parent position: last index in remembered_, or −1
  std::vector<Remembered> remembered_;
};

}  // namespace kordavelt
