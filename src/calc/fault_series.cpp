#include "calc/fault_series.h"

#include <algorithm>
#include <cmath>

#include "calc/conductor_heating.h"

namespace kordavelt {
namespace {

constexpr double kFirstStep = 0.05;  // s

// e^K − 1 at the largest heating factor.
const double kGrowthAtLimit = std::expm1(kLargestHeatingFactor);

// K below which e^K − 1 is summed from its Taylor series to K⁸/8!: the rest
// is below 2e-13 of the sum there.
constexpr double kSmallHeatingFactor = 0.125;

// e^K − 1 of the heating factor K, limited to the largest factor. Most K of
// a tree's series are small, where the series inline costs a fraction of
// the library's call.
double Growth(double k) {
  if (k >= 0 && k < kSmallHeatingFactor) {
    // Horner's scheme over 1/n!, from K⁸/8! down to K.
    double sum = 1. / 40320;
    sum = 1. / 5040 + k * sum;
    sum = 1. / 720 + k * sum;
    sum = 1. / 120 + k * sum;
    sum = 1. / 24 + k * sum;
    sum = 1. / 6 + k * sum;
    sum = 1. / 2 + k * sum;
    sum = 1 + k * sum;
    return k * sum;
  }
  return k < kLargestHeatingFactor ? std::expm1(k) : kGrowthAtLimit;
}

constexpr double kFactors[kFaultTypes] = {kSinglePhaseFactor, kTwoPhaseFactor, kThreePhaseFactor};

bool SameLoops(const std::array<LoopImpedance, kFaultTypes>& a,
               const std::array<LoopImpedance, kFaultTypes>& b) {
  for (int type = 0; type < kFaultTypes; ++type) {
    if (a[type].r != b[type].r || a[type].x != b[type].x) return false;
  }
  return true;
}

}  // namespace

double FaultSeriesTime(int point) {
  return point <= 0 ? 0 : kFirstStep * std::ldexp(1.0, point - 1);
}

FaultSeriesCalculator::FaultSeriesCalculator(const FaultLoops& loops, const ArcSettings& arc,
                                             bool nonAdiabatic)
    : loops_(loops),
      arc_(arc),
      rememberedOf_(static_cast<std::size_t>(loops.PositionCount()) + 1, -1) {
  if (arc.method == kArcConstant) {
    // A constant arc does not depend on the loop: what it adds is known.
    constantArc_ = true;
    for (int type = 0; type < kFaultTypes; ++type) {
      arcLoop_[type] =
          ArcLoopResistance(ArcResistance(arc, 0, 0, kFactors[type], 0), kFactors[type]);
    }
  }
  const auto classes = static_cast<std::size_t>(loops.ClassCount());
  perJoule_.resize(classes);
  leastPerJouleFrom_.resize(classes);
  for (std::size_t c = 0; c < classes; ++c) {
    for (int k = 0; k < kFaultSeriesLength; ++k) {
      perJoule_[c][k] =
          loops.HeatingPerJoule(static_cast<int>(c), FaultSeriesTime(k), nonAdiabatic);
    }
    // Non-adiabatic heating lets K per kA²·s fall with time, so a class that
    // reaches the limit at one point may fall below it later.
    double least = perJoule_[c][kFaultSeriesLength - 1];
    for (int k = kFaultSeriesLength - 1; k >= 0; --k) {
      least = std::min(least, perJoule_[c][k]);
      leastPerJouleFrom_[c][k] = least;
    }
  }
}

FaultSeries FaultSeriesCalculator::At(int position, double emf) {
  loops_.Collect(position, at_);
  const int group = loops_.SiblingGroup(position);
  if (group < 0) return Compute(emf);
  // A board's outlets come in a few types: its list of series stays short.
  int& last = rememberedOf_[static_cast<std::size_t>(group)];
  for (int i = last; i >= 0; i = remembered_[static_cast<std::size_t>(i)].previous) {
    const Remembered& sibling = remembered_[static_cast<std::size_t>(i)];
    if (sibling.emf == emf && SameLoops(sibling.cold, at_.cold)) return sibling.series;
  }
  remembered_.push_back({last, emf, at_.cold, Compute(emf)});
  last = static_cast<int>(remembered_.size()) - 1;
  return remembered_.back().series;
}

FaultSeries FaultSeriesCalculator::Compute(double emf) const {
  FaultSeries series;
  // The three fault types are independent: computed side by side, point by
  // point, the processor overlaps their chains of e^K, roots and divisions.
  std::array<double, kFaultTypes> bt{};
  std::array<bool, kFaultTypes> complete{};
  double t = 0;
  for (int k = 0; k < kFaultSeriesLength; ++k) {
    const double step = k == 0 ? kFirstStep : t;
    for (int type = 0; type < kFaultTypes; ++type) {
      if (!complete[type]) complete[type] = Point(type, k, step, emf, bt[type], series[type]);
    }
    t += step;
  }
  return series;
}

double FaultSeriesCalculator::HeatingAt(int type, double bt, int point) const {
  double added = 0;
  for (const HeatingTerm& term : at_.terms) {
    added += term.weight[type] * Growth(bt * perJoule_[term.heatClass][point]);
  }
  return added;
}

bool FaultSeriesCalculator::Settles(double bt, int point) const {
  if (at_.terms.empty()) return true;  // nothing heats: the loop stays cold
  if (!(bt > 0)) return false;
  // The Joule integral only grows from point 1 on (each step adds I²·dt), so
  // a class whose K is at the limit with the smallest K per kA²·s still to
  // come stays there.
  for (const HeatingTerm& term : at_.terms) {
    if (!(bt * leastPerJouleFrom_[term.heatClass][point] >= kLargestHeatingFactor)) return false;
  }
  return true;
}

double FaultSeriesCalculator::ArcAdded(int type, const LoopImpedance& z, double emf) const {
  if (constantArc_) return arcLoop_[type];
  const double factor = kFactors[type];
  return ArcLoopResistance(ArcResistance(arc_, z.r, z.x, factor, emf), factor);
}

bool FaultSeriesCalculator::Point(int type, int k, double step, double emf, double& bt,
                                  FaultPoints& points) const {
  LoopImpedance z = at_.cold[type];
  if (bt > 0) z.r += HeatingAt(type, bt, k);
  z.r += ArcAdded(type, z, emf);
  const double magnitude = Magnitude(z);
  if (!(magnitude > 0)) {
    // A loop without impedance has no finite current to report.
    points.fill(kNotComputed);
    return true;
  }
  const double current = kFactors[type] * emf / magnitude;
  points[k] = static_cast<float>(current);
  if (k == kFaultSeriesLength - 1) return true;
  if (Settles(bt, k)) {
    std::fill(points.begin() + k + 1, points.end(), points[k]);
    return true;
  }
  bt += current * current * step;
  if (k == 0) bt += current * current * LoopTimeConstant(z);
  return false;
}

}  // namespace kordavelt
