#pragma once

// Fault loop impedances of a traced tree. A fault at the end of an element
// is fed over the elements of its path to the source; walking that path
// from the element towards the source with k, the product of the squared
// ratios Kт² of the transformers already passed (1 at the element; a
// transformer's own impedance is referred to the side the tree leaves it
// by, so its ratio applies to the elements beyond it), the loop is
//
//   three-phase   Σ k·Z1h
//   two-phase     Σ 2·k·Z1h
//   single-phase  Σ k·(3·Z1h + Z0 − Z1) up to and including the first
//                 transformer with a vector-group shift of ±1, whose source
//                 side has no zero-sequence path to this fault; beyond it
//                 only the positive- and negative-sequence part Σ 2·k·Z1h.
//
// Z1h is the element's Z1 with its conductors heated by the fault's Joule
// integral (conductor_heating.h); only lines heat. A terminal element (a
// load, motor, generator) adds nothing: the fault lies at its terminals,
// not behind its own impedance.
//
// One forward pass keeps, for every TreeList position, the unheated sums
// referred to that element's own level (S = Z + Kт²·S(parent)), so that a
// cold loop is read at once. Heating adds to a line's resistance
//
//   ΔR = R1·(θк − θ0)/(β + θ0) = w·(e^K − 1),  w = R1·(θ0 + 228)/(β + θ0),
//
// where K depends only on the Joule integral, the time and the line's
// thermal constants (its heating class), not on its temperature or length.
// Heating lines are therefore linked upwards in runs: consecutive heating
// lines on a path with one heating class and no transformer between them
// carry Σ w of the run, and a loop at any Joule integral costs one e^K per
// run on its path — one for a long chain of cables of one type, protective
// devices between them or not — rather than a walk to the source.
//
//   FaultLoops loops(calc);
//   const LoopImpedance z = loops.Loop(i, kSinglePhaseFault, bt, t, false);

#include <vector>

#include "calc/element_rec.h"

namespace kordavelt {

class CalcClass;

// Fault types, numbered as ElementRec::ikMin and faultSeries keep them.
inline constexpr int kSinglePhaseFault = 0;
inline constexpr int kTwoPhaseFault = 1;
inline constexpr int kThreePhaseFault = 2;
inline constexpr int kFaultTypes = 3;

// A loop impedance in extended precision, mΩ.
struct LoopImpedance {
  long double r = 0;
  long double x = 0;
};

// |Z| of a loop.
long double Magnitude(const LoopImpedance& z);

// Ta = X / (314.15927·R) of a loop, s; 0 when R is not positive.
long double LoopTimeConstant(const LoopImpedance& z);

class FaultLoops {
 public:
  // Reads the impedances, ratios and phase shifts of the traced tree; the
  // elements must stay in place while the loops are used (heated lines are
  // read from them).
  explicit FaultLoops(const CalcClass& calc);

  // The loop of a fault of `type` at the end of TreeList element `position`,
  // the lines heated by the Joule integral `bt` (kA²·s) after `t` s.
  LoopImpedance Loop(int position, int type, long double bt, long double t,
                     bool nonAdiabatic) const;

  // The element before `position` on its path to the source; 0 for the
  // source branch.
  int Parent(int position) const { return entries_[static_cast<std::size_t>(position)].parent; }

 private:
  struct Sum {
    long double r = 0;
    long double x = 0;
  };
  struct Entry {
    const ElementRec* element = nullptr;
    int parent = 0;
    Sum positive;  // Σ k·Z1 from the source to the element
    Sum single;    // the single-phase loop sum
    // The nearest heating line above the element (exclusive), the product
    // of Kт² from the element (its own ratio included) up to it, and whether
    // a ±1 transformer lies in that stretch.
    int heatedAbove = 0;
    long double ratioAbove = 1;
    bool zeroStopAbove = false;
    // Heating lines only: their heating class, and the run of lines of that
    // class that starts here — its Σ w, the heating line after it, and the
    // Kт² product and zero-sequence stop from here to that line.
    int heatClass = -1;
    long double runWeight = 0;
    int runNext = 0;
    long double runRatio = 1;
    bool runStop = false;
  };

  void Add(int position, const ElementRec& e, int parent);
  void StartRun(Entry& n, const ElementRec& e);
  // e^K − 1 of heating class `heatClass`, computed once per Joule integral.
  long double Growth(int heatClass, long double bt, long double t, bool nonAdiabatic) const;

  std::vector<Entry> entries_;  // by TreeList position; 0 unused
  // A line of each heating class, whose thermal constants stand for it.
  std::vector<const ElementRec*> classes_;
  // Growth of each class for the Joule integral of the loop being summed,
  // valid where its stamp equals loopStamp_.
  mutable std::vector<long double> growth_;
  mutable std::vector<unsigned> growthStamp_;
  mutable unsigned loopStamp_ = 0;
};

}  // namespace kordavelt
