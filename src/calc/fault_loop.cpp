#include "calc/fault_loop.h"
#include "calc/backward_walk.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "base/constants.h"
#include "calc/calc_class.h"
#include "calc/conductor_heating.h"
#include "calc/prepare_elements.h"

namespace kordavelt {
namespace {

double SquaredRatio(const ElementRec& e) {
  const double kt = e.kt;
  return kt > 0 && kt != 1 ? kt * kt : 1;
}

// Beyond a transformer whose low side has an earthed neutral of its own (or
// none at all) the source side's zero-sequence path does not continue.
bool StopsZeroSequence(const ElementRec& e) { return e.phaseShift == 1 || e.phaseShift == -1; }

// w of ΔR = w·(e^K − 1); 0 where HeatedZ1 leaves the resistance alone.
double HeatingWeight(const ElementRec& e) {
  const double start = e.tempWork;
  const double beta = e.tempConstant;
  if (!(beta + start > 0)) return 0;
  return e.z1.re * (start + 228) / (beta + start);
}

// How many times a heating run's w enters the loop of each fault type:
// k·w three-phase, 2·k·w two-phase, 3·k·w single-phase (2·k·w beyond the
// zero-sequence stop).
std::array<double, kFaultTypes> RunWeights(double kw, bool beyondZeroStop) {
  std::array<double, kFaultTypes> weight{};
  weight[kSinglePhaseFault] = (beyondZeroStop ? 2 : 3) * kw;
  weight[kTwoPhaseFault] = 2 * kw;
  weight[kThreePhaseFault] = kw;
  return weight;
}

using HeatClassKey = std::tuple<float, float, float>;

HeatClassKey HeatClassOf(const ElementRec& e) {
  return {e.adiabaticConstant, e.nonAdiabaticA, e.nonAdiabaticB};
}

}  // namespace

double LoopTimeConstant(const LoopImpedance& z) {
  return z.r > 0 ? z.x / (static_cast<double>(kOmega) * z.r) : 0;
}

FaultLoops::FaultLoops(const CalcClass& calc) { Build(calc); }

void FaultLoops::Build(const CalcClass& calc) {
  const int count = calc.Count();
  entries_.assign(static_cast<std::size_t>(std::max(count, 0)) + 1, Entry{});
  classes_.clear();
  std::map<HeatClassKey, int> classIndex;
  // The last element met on each level: the end of a section that the first
  // element of a deeper section continues from.
  std::vector<int> lastOnLevel(kSweepLevels, 0);
  for (int i = 1; i <= count; ++i) {
    const ElementRec& e = calc.Element(i);
    const int level = SweepLevel(e);
    int parent = 0;
    if (i > 1) {
      const ElementRec& before = calc.Element(i - 1);
      const bool sameSection = before.level == e.level && before.endOfSection == 0;
      parent = sameSection ? i - 1 : lastOnLevel[static_cast<std::size_t>(level - 1)];
    }
    Entry& n = entries_[static_cast<std::size_t>(i)];
    if (!IsTerminalKind(e.kind) && HeatsDuringFault(e)) {
      const auto [it, added] =
          classIndex.emplace(HeatClassOf(e), static_cast<int>(classes_.size()));
      if (added) classes_.push_back(&e);
      n.heatClass = it->second;
    }
    Add(i, e, parent);
    lastOnLevel[static_cast<std::size_t>(level)] = i;
  }
}

void FaultLoops::Add(int position, const ElementRec& e, int parent) {
  Entry& n = entries_[static_cast<std::size_t>(position)];
  Entry& p = entries_[static_cast<std::size_t>(parent)];
  n.parent = parent;
  ++p.children;

  const double kt2 = SquaredRatio(e);
  const bool stop = StopsZeroSequence(e);
  const bool terminal = IsTerminalKind(e.kind);
  const double r1 = terminal ? 0 : e.z1.re, x1 = terminal ? 0 : e.z1.im;
  const double r0 = terminal ? 0 : e.z0.re, x0 = terminal ? 0 : e.z0.im;

  n.positive = {r1 + kt2 * p.positive.r, x1 + kt2 * p.positive.x};
  const LoopImpedance beyond = stop ? LoopImpedance{2 * p.positive.r, 2 * p.positive.x} : p.single;
  n.single = {2 * r1 + r0 + kt2 * beyond.r, 2 * x1 + x0 + kt2 * beyond.x};

  if (parent != 0 && p.heatClass >= 0) {
    n.heatedAbove = parent;
    n.ratioAbove = kt2;
    n.zeroStopAbove = stop;
  } else {
    n.heatedAbove = p.heatedAbove;
    n.ratioAbove = kt2 * p.ratioAbove;
    n.zeroStopAbove = stop || p.zeroStopAbove;
  }
  n.heatsLikeParent = n.heatClass < 0 && kt2 == 1 && !stop;
  if (n.heatClass >= 0) StartRun(n, e);
}

void FaultLoops::StartRun(Entry& n, const ElementRec& e) {
  n.runWeight = HeatingWeight(e);
  const Entry& above = entries_[static_cast<std::size_t>(n.heatedAbove)];
  const bool continues =
      n.heatedAbove != 0 && above.heatClass == n.heatClass && n.ratioAbove == 1 && !n.zeroStopAbove;
  if (continues) {
    n.runWeight += above.runWeight;
    n.runNext = above.runNext;
    n.runRatio = above.runRatio;
    n.runStop = above.runStop;
  } else {
    n.runNext = n.heatedAbove;
    n.runRatio = n.ratioAbove;
    n.runStop = n.zeroStopAbove;
  }
}

int FaultLoops::SiblingGroup(int position) const {
  if (position < 1 || position > PositionCount()) return -1;
  const Entry& n = entries_[static_cast<std::size_t>(position)];
  const bool shared =
      n.heatsLikeParent && entries_[static_cast<std::size_t>(n.parent)].children > 1;
  return shared ? n.parent : -1;
}

double FaultLoops::HeatingPerJoule(int heatClass, double t, bool nonAdiabatic) const {
  return HeatingFactor(*classes_[static_cast<std::size_t>(heatClass)], 1, t, nonAdiabatic);
}

void FaultLoops::AddRun(std::vector<HeatingTerm>& terms, int heatClass,
                        const std::array<double, kFaultTypes>& weight) {
  // A path crosses few heating classes: a linear search beats any index.
  auto term = std::find_if(terms.begin(), terms.end(),
                           [heatClass](const HeatingTerm& h) { return h.heatClass == heatClass; });
  if (term == terms.end()) {
    terms.push_back({heatClass, weight});
    return;
  }
  for (int type = 0; type < kFaultTypes; ++type) term->weight[type] += weight[type];
}

void FaultLoops::Collect(int position, PositionLoops& into) const {
  into.terms.clear();
  if (position < 1 || position >= static_cast<int>(entries_.size())) {
    into.cold = {};
    return;
  }
  const Entry& n = entries_[static_cast<std::size_t>(position)];
  into.cold[kSinglePhaseFault] = n.single;
  into.cold[kTwoPhaseFault] = {2 * n.positive.r, 2 * n.positive.x};
  into.cold[kThreePhaseFault] = n.positive;

  const bool ownRun = n.heatClass >= 0;
  int j = ownRun ? position : n.heatedAbove;
  double k = ownRun ? 1 : n.ratioAbove;
  bool beyondStop = ownRun ? false : n.zeroStopAbove;
  while (j != 0) {
    const Entry& run = entries_[static_cast<std::size_t>(j)];
    if (run.runWeight != 0)
      AddRun(into.terms, run.heatClass, RunWeights(k * run.runWeight, beyondStop));
    k *= run.runRatio;
    beyondStop = beyondStop || run.runStop;
    j = run.runNext;
  }
}

LoopImpedance FaultLoops::Loop(int position, int type, double bt, double t,
                               bool nonAdiabatic) const {
  PositionLoops at;
  Collect(position, at);
  LoopImpedance z = at.cold[static_cast<std::size_t>(type)];
  if (!(bt > 0)) return z;
  for (const HeatingTerm& term : at.terms) {
    const double k =
        std::min(bt * HeatingPerJoule(term.heatClass, t, nonAdiabatic), kLargestHeatingFactor);
    z.r += term.weight[static_cast<std::size_t>(type)] * std::expm1(k);
  }
  return z;
}

}  // namespace kordavelt
