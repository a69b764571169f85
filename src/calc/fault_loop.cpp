#include "calc/fault_loop.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "calc/calc_class.h"
#include "calc/conductor_heating.h"
#include "calc/constants.h"
#include "calc/prepare_elements.h"

namespace kordavelt {
namespace {

constexpr int kLevelCount = CalcClass::kMaxLevel + 2;  // levels 0 … 100
// The heating factor K is followed no further than HeatedZ1 follows it.
constexpr long double kLargestHeatingFactor = 5;

long double SquaredRatio(const ElementRec& e) {
  const long double kt = e.kt;
  return kt > 0 && kt != 1 ? kt * kt : 1;
}

// Beyond a transformer whose low side has an earthed neutral of its own (or
// none at all) the source side's zero-sequence path does not continue.
bool StopsZeroSequence(const ElementRec& e) { return e.phaseShift == 1 || e.phaseShift == -1; }

// How many times the element's Z1 enters the loop of `type`.
long double Weight(int type, bool beyondZeroStop) {
  switch (type) {
    case kThreePhaseFault:
      return 1;
    case kTwoPhaseFault:
      return 2;
    default:
      return beyondZeroStop ? 2 : 3;
  }
}

// w of ΔR = w·(e^K − 1); 0 where HeatedZ1 leaves the resistance alone.
long double HeatingWeight(const ElementRec& e) {
  const long double start = e.tempWork;
  const long double beta = e.tempConstant;
  if (!(beta + start > 0)) return 0;
  return e.z1.re * (start + 228) / (beta + start);
}

using HeatClassKey = std::tuple<float, float, float>;

HeatClassKey HeatClassOf(const ElementRec& e) {
  return {e.adiabaticConstant, e.nonAdiabaticA, e.nonAdiabaticB};
}

}  // namespace

long double Magnitude(const LoopImpedance& z) { return std::sqrt(z.r * z.r + z.x * z.x); }

long double LoopTimeConstant(const LoopImpedance& z) { return z.r > 0 ? z.x / (kOmega * z.r) : 0; }

FaultLoops::FaultLoops(const CalcClass& calc) {
  const int count = calc.Count();
  entries_.resize(static_cast<std::size_t>(std::max(count, 0)) + 1);
  std::map<HeatClassKey, int> classIndex;
  // The last element met on each level: the end of a section that the first
  // element of a deeper section continues from.
  std::vector<int> lastOnLevel(kLevelCount, 0);
  for (int i = 1; i <= count; ++i) {
    const ElementRec& e = calc.Element(i);
    const int level = std::clamp<int>(e.level, 1, kLevelCount - 1);
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
  growth_.assign(classes_.size(), 0);
  growthStamp_.assign(classes_.size(), 0);
}

void FaultLoops::Add(int position, const ElementRec& e, int parent) {
  Entry& n = entries_[static_cast<std::size_t>(position)];
  const Entry& p = entries_[static_cast<std::size_t>(parent)];
  n.element = &e;
  n.parent = parent;

  const long double kt2 = SquaredRatio(e);
  const bool stop = StopsZeroSequence(e);
  const bool terminal = IsTerminalKind(e.kind);
  const long double r1 = terminal ? 0 : e.z1.re, x1 = terminal ? 0 : e.z1.im;
  const long double r0 = terminal ? 0 : e.z0.re, x0 = terminal ? 0 : e.z0.im;

  n.positive = {r1 + kt2 * p.positive.r, x1 + kt2 * p.positive.x};
  const Sum beyond = stop ? Sum{2 * p.positive.r, 2 * p.positive.x} : p.single;
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

long double FaultLoops::Growth(int heatClass, long double bt, long double t,
                               bool nonAdiabatic) const {
  const auto c = static_cast<std::size_t>(heatClass);
  if (growthStamp_[c] != loopStamp_) {
    const long double k =
        std::min(HeatingFactor(*classes_[c], bt, t, nonAdiabatic), kLargestHeatingFactor);
    growth_[c] = std::expm1(k);
    growthStamp_[c] = loopStamp_;
  }
  return growth_[c];
}

LoopImpedance FaultLoops::Loop(int position, int type, long double bt, long double t,
                               bool nonAdiabatic) const {
  if (position < 1 || position >= static_cast<int>(entries_.size())) return {};
  const Entry& n = entries_[static_cast<std::size_t>(position)];
  const Sum base = type == kSinglePhaseFault ? n.single : n.positive;
  const long double scale = type == kTwoPhaseFault ? 2 : 1;
  LoopImpedance z{scale * base.r, scale * base.x};
  if (!(bt > 0)) return z;

  // A new Joule integral: every class's growth is computed afresh.
  if (++loopStamp_ == 0) {
    std::fill(growthStamp_.begin(), growthStamp_.end(), 0u);
    loopStamp_ = 1;
  }
  const bool ownRun = n.heatClass >= 0;
  int j = ownRun ? position : n.heatedAbove;
  long double k = ownRun ? 1 : n.ratioAbove;
  bool beyondStop = ownRun ? false : n.zeroStopAbove;
  while (j != 0) {
    const Entry& run = entries_[static_cast<std::size_t>(j)];
    z.r +=
        k * Weight(type, beyondStop) * run.runWeight * Growth(run.heatClass, bt, t, nonAdiabatic);
    k *= run.runRatio;
    beyondStop = beyondStop || run.runStop;
    j = run.runNext;
  }
  return z;
}

}  // namespace kordavelt
