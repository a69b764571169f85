#pragma once

// The network of EMF sources that feeds a short circuit at maximum currents:
// the power source at maximum EMF behind its impedance, and every motor and
// generator (kinds 41, 42, 50, 54, 55) with its sub-transient EMF E″ behind
// its impedance Z1. For each fault point the whole network is reduced to one
// equivalent source, E behind Z.
//
// Alongside Z an impedance with the sources' own reactances × 0.4 (Z04) is
// reduced the same way. Parallel sources combine as
//   Z = Z1·Z2/(Z1 + Z2),  E = (E1·Z2 + E2·Z1)/(Z1 + Z2);
// a source without EMF or impedance takes no part. Network elements add
// their Z1 in series; a transformer refers what passes it (E/Kт, Z/Kт² going
// towards the source side).
//
// Every equivalent also carries the initial currents and the rated currents
// of its asynchronous and of its synchronous machines (kA). The initial
// currents are those the machines drive into a fault at the equivalent's
// point: |E″|/|Z1| at their terminals, reduced by |Z|/|Z + Zs| for every
// series impedance Zs passed, so that their ratio to the rated currents is
// the machines' remoteness from the fault.
//
// Tree walk: a backward pass gives each element what its subtree feeds into
// its end; a forward pass gives each element what the rest of the network
// (the source and the machines on other branches) feeds into its start.
// A fault at a point then sees both sides in parallel.

#include <complex>
#include <vector>

#include "base/complex.h"

namespace kordavelt {

class CalcClass;
struct ElementRec;

// Double precision is ample: the results are stored as floats, and the
// reduction runs for every element and every heating step of a cable fault.
using ComplexD = std::complex<double>;

struct FeedingSource {
  ComplexD emf;  // V, phase value
  ComplexD z;    // mΩ
  ComplexD z04;  // mΩ, the sources' reactances × 0.4
  double asyncInitial = 0;
  double asyncRated = 0;
  double syncInitial = 0;
  double syncRated = 0;

  // False for an empty equivalent (no source feeds through it).
  bool Active() const;
};

// What a maximum-current calculation needs of an equivalent at a fault
// point: the current it drives into the fault and its machines' currents.
struct FaultFeeding {
  double current = 0;  // |E| / |Z|, kA; 0 for an inactive equivalent
  double asyncInitial = 0;
  double asyncRated = 0;
  double syncInitial = 0;
  double syncRated = 0;
};

// The fault feeding of the equivalent `network`.
FaultFeeding FeedingOf(const FeedingSource& network);

// Motors and generators: they feed faults with their sub-transient EMF.
bool IsMachineKind(int kind);

// The machine of element `e` as a source at its terminals; an inactive
// source when its E″ or Z1 is zero.
FeedingSource MachineSource(const ElementRec& e);

// The two sources in parallel.
FeedingSource Parallel(const FeedingSource& a, const FeedingSource& b);
// `source` with `z` added in series.
FeedingSource InSeries(const FeedingSource& source, const ComplexD& z);
// `source` referred through ratio `kt` (end side over start side): towards
// the source side, and from there towards the load side.
FeedingSource ReferredUp(const FeedingSource& source, double kt);
FeedingSource ReferredDown(const FeedingSource& source, double kt);

class FeedingNetwork;

// The feeding of faults at one point of a line element, behind `zToPoint`
// from its start, at any heating of the line: what does not change with the
// heating is read once.
class LineFeeding {
 public:
  LineFeeding(const FeedingNetwork& network, int position, const Complex& zToPoint);

  // What FeedingNetwork::FeedingAlongLine gives with the line's resistances
  // multiplied by `resistanceFactor`.
  FaultFeeding At(double resistanceFactor) const;

 private:
  const FeedingSource& above_;
  const FeedingSource& below_;
  Complex toPoint_;
  Complex beyond_;  // the line's impedance beyond the point
  // |Z|² of each side's own equivalent, for the machines' reduction.
  double aboveNorm_;
  double belowNorm_;
};

// The equivalents of one traced tree after the forward sweep. Building it is
// one backward and one forward pass over the TreeList.
class FeedingNetwork {
 public:
  // An empty network; Build makes it one of a tree.
  FeedingNetwork() = default;
  explicit FeedingNetwork(const CalcClass& calc);

  // The equivalents of `calc`'s traced tree; the tables of an earlier tree
  // are reused, so a calculation that keeps its network allocates nothing
  // once it has grown.
  void Build(const CalcClass& calc);

  // The whole network seen from the fault point of element `position`: its
  // end, or for machine elements their terminals (their start).
  FeedingSource AtElement(int position) const;
  // A fault on line element `position` behind `zToPoint` from its start:
  // the rest of the network through `zToPoint`, the subtree below the line
  // through the line's remaining impedance. Resistances of the line are
  // multiplied by `resistanceFactor` (its conductors heated by the fault).
  FeedingSource AlongLine(int position, const Complex& zToPoint, double resistanceFactor) const;
  // FeedingOf(AlongLine(…)) without reducing the equivalent itself: the
  // heating steps of a cable fault ask for it at every step (LineFeeding).
  FaultFeeding FeedingAlongLine(int position, const Complex& zToPoint,
                                double resistanceFactor) const;

 private:
  friend class LineFeeding;

  // What element `position`'s subtree feeds into its start.
  FeedingSource BelowStart(int position) const;
  // What the rest of the network feeds into element `position`'s end.
  FeedingSource AboveEnd(int position) const;
  void LinkParents();
  void CollectBelow();
  void CollectAbove();

  const CalcClass* calc_ = nullptr;
  int count_ = 0;
  std::vector<int> parent_;      // by position; 0 for the source branch
  std::vector<int> childBegin_;  // children of p: children_[childBegin_[p] … childBegin_[p + 1])
  std::vector<int> children_;
  std::vector<FeedingSource> belowStart_;  // BelowStart of each element but the first
  std::vector<FeedingSource> belowEnd_;    // the subtree below each element's end
  std::vector<FeedingSource> aboveStart_;  // the rest of the network at each element's start
};

}  // namespace kordavelt
