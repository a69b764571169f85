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
// carry Σ w of the run. Collecting a position's runs by heating class gives
// its loops as cold sums plus one term per class,
//
//   R(Bt, t) = R cold + Σ over classes  W·(e^K − 1),
//
// W the weights of the class's lines in the loop of each fault type; a loop
// at any Joule integral then costs one e^K per heating class on the path.
//
//   FaultLoops loops(calc);
//   PositionLoops at;
//   loops.Collect(i, at);                                  // once per position
//   const double k = bt * loops.HeatingPerJoule(c, t, false);  // per class and instant

#include <array>
#include <cmath>
#include <vector>

#include "model/element_rec.h"

namespace kordavelt {

class CalcClass;

// Fault types, numbered as ElementRec::ikMin and faultSeries keep them.
inline constexpr int kSinglePhaseFault = 0;
inline constexpr int kTwoPhaseFault = 1;
inline constexpr int kThreePhaseFault = 2;
inline constexpr int kFaultTypes = 3;

// A loop impedance, mΩ.
struct LoopImpedance {
  double r = 0;
  double x = 0;
};

// |Z| of a loop.
inline double Magnitude(const LoopImpedance& z) { return std::sqrt(z.r * z.r + z.x * z.x); }

// Ta = X / (314.15927·R) of a loop, s; 0 when R is not positive.
double LoopTimeConstant(const LoopImpedance& z);

// The heating lines of one heating class on a position's path: the weight
// W of their e^K − 1 in the loop of each fault type, mΩ.
struct HeatingTerm {
  int heatClass = 0;
  std::array<double, kFaultTypes> weight{};
};

// The loops of a fault at one position: unheated, and what heating adds.
struct PositionLoops {
  std::array<LoopImpedance, kFaultTypes> cold;
  std::vector<HeatingTerm> terms;  // one per heating class on the path
};

class FaultLoops {
 public:
  // Reads the impedances, ratios and phase shifts of the traced tree; the
  // elements must stay in place while the loops are used (the heating
  // classes read their thermal constants from them).
  explicit FaultLoops(const CalcClass& calc);
  // No tree yet; Build reads one.
  FaultLoops() = default;

  // Reads `calc`'s traced tree anew into the tables of the last one, so a
  // calculation that keeps its loops allocates nothing once they have grown.
  void Build(const CalcClass& calc);

  // The number of heating classes in the tree (0 … ClassCount() − 1).
  int ClassCount() const { return static_cast<int>(classes_.size()); }

  // K of heating class `heatClass` per kA²·s of Joule integral after `t` s.
  double HeatingPerJoule(int heatClass, double t, bool nonAdiabatic) const;

  // Fills `into` with the loops of a fault at the end of TreeList element
  // `position`; its storage is reused, so a caller that keeps one
  // PositionLoops allocates nothing once it has grown.
  void Collect(int position, PositionLoops& into) const;

  // The loop of a fault of `type` at the end of TreeList element `position`,
  // the lines heated by the Joule integral `bt` (kA²·s) after `t` s.
  LoopImpedance Loop(int position, int type, double bt, double t, bool nonAdiabatic) const;

  // The element before `position` on its path to the source; 0 for the
  // source branch.
  int Parent(int position) const { return entries_[static_cast<std::size_t>(position)].parent; }

  // The number of TreeList positions the loops cover (1 … PositionCount()).
  int PositionCount() const { return static_cast<int>(entries_.size()) - 1; }

  // The parent of `position` when its loops differ from those of its
  // siblings by nothing but its own unheated impedance — it heats no line
  // and passes no transformer, so the lines heating in its loops are its
  // parent's — and it has siblings; −1 otherwise. Equal cold loops under one
  // such parent (the outlets of one type on a board) are equal loops.
  int SiblingGroup(int position) const;

 private:
  struct Entry {
    int parent = 0;
    int children = 0;
    bool heatsLikeParent = false;  // no heating line, ratio or zero-sequence stop of its own
    LoopImpedance positive;        // Σ k·Z1 from the source to the element
    LoopImpedance single;          // the single-phase loop sum
    // The nearest heating line above the element (exclusive), the product
    // of Kт² from the element (its own ratio included) up to it, and whether
    // a ±1 transformer lies in that stretch.
    int heatedAbove = 0;
    double ratioAbove = 1;
    bool zeroStopAbove = false;
    // Heating lines only: their heating class, and the run of lines of that
    // class that starts here — its Σ w, the heating line after it, and the
    // Kт² product and zero-sequence stop from here to that line.
    int heatClass = -1;
    double runWeight = 0;
    int runNext = 0;
    double runRatio = 1;
    bool runStop = false;
  };
  void Add(int position, const ElementRec& e, int parent);
  void StartRun(Entry& n, const ElementRec& e);
  // Adds a run's weights to the term of its class in `terms`.
  static void AddRun(std::vector<HeatingTerm>& terms, int heatClass,
                     const std::array<double, kFaultTypes>& weight);

  std::vector<Entry> entries_;  // by TreeList position; 0 unused
  // A line of each heating class, whose thermal constants stand for it.
  std::vector<const ElementRec*> classes_;
};

}  // namespace kordavelt
