#include "calc/protection_times.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calc/calc_class.h"
#include "calc/calculation.h"
#include "calc/conductor_heating.h"
#include "calc/feeding_network.h"
#include "calc/joule_integral.h"
#include "calc/motor_feeding.h"
#include "calc/vth_evaluation.h"
#include "model/model_kinds.h"
#include "model/model_settings.h"

namespace kordavelt {
namespace {

// Heating factors from which the temperature is out of range.
constexpr double kWireFactorOutOfRange = 7;
constexpr double kCableFactorOutOfRange = 2;

struct Pass {
  const FeedingNetwork& network;
  // The motor feeding's maximum currents, by position; null: computed here.
  const std::vector<FaultCurrent>* currents;
  CurveReadings& readings;
  bool keepLargest = false;  // multi-variant: the worst over the regimes
  bool nonAdiabatic = false;
  int iterations = 1;
  int steps = 1;
};

// The longest times of a protection at its current shift.
struct Protection {
  const CurveReading& reading;

  double Time(double currentKA) const { return static_cast<double>(reading.Time(currentKA)); }
};

Protection MainOf(const Pass& pass, const ElementRec& e) {
  return {pass.readings.Longest(e.mainProtection, e.mainShift)};
}

Protection BackupOf(const Pass& pass, const ElementRec& e) {
  return {pass.readings.Longest(e.backupProtection, e.backupShift)};
}

// Time, temperature, Joule integral and current at disconnection.
struct Disconnection {
  double time = 0;
  double temperature = 0;
  double joule = 0;
  double current = 0;
};

void Keep(float& field, double value, bool keepLargest) {
  const float v = static_cast<float>(value);
  field = keepLargest ? std::max(field, v) : v;
}

void KeepLargest(float& field, double value) { Keep(field, value, true); }

bool IsWireKind(int kind) { return kind == kKindWiring || kind == kKindOverheadLine; }

double Temperature(const ElementRec& e, double bt, double t, bool nonAdiabatic, double outOfRange) {
  const double k = static_cast<double>(HeatingFactor(e, bt, t, nonAdiabatic));
  return k >= outOfRange ? kOutOfRange : static_cast<double>(HeatedTemperature(e.tempWork, k));
}

// --- Elements other than cable lines ---------------------------------------------------------

void AtElement(const Pass& pass, int position, ElementRec& e) {
  const double ikd = SystemCurrent(e);
  Keep(e.ikd, ikd, pass.keepLargest);
  if (position == 1) Keep(e.ikdSource, ikd, pass.keepLargest);

  const double times[2] = {MainOf(pass, e).Time(ikd), BackupOf(pass, e).Time(ikd)};
  // Without a protection that clears the fault in time nothing is
  // integrated, and the network's equivalent is not needed.
  const bool integrated =
      !(times[0] > kLongestIntegratedTimeS) || !(times[1] > kLongestIntegratedTimeS);
  FaultCurrent current = SteadyFault(ikd);
  if (integrated) {
    current = pass.currents != nullptr ? (*pass.currents)[static_cast<std::size_t>(position)]
                                       : MaximumFaultCurrent(ikd, pass.network.AtElement(position));
  }
  const Complex z = FaultImpedance(e);
  for (int k = 0; k < 2; ++k) {
    const int slot = 2 * k;  // toзН and tрз
    const double bt = JouleIntegral(current, z.re, z.im, times[k]);
    const double temperature =
        IsWireKind(e.kind) ? Temperature(e, bt, times[k], pass.nonAdiabatic, kWireFactorOutOfRange)
                           : 0;
    Keep(e.tProtect[slot], times[k], pass.keepLargest);
    Keep(e.tempProtect[slot], temperature, pass.keepLargest);
    KeepLargest(e.joule[slot], bt);
    Keep(e.tProtect[slot + 1], 0, pass.keepLargest);
    Keep(e.tempProtect[slot + 1], 0, pass.keepLargest);
  }
}

// --- Cable lines ------------------------------------------------------------------------------

// A fault on a cable line behind `zToPoint` from its start. Whatever does
// not change with the heating (the cold current, the reactance of the path,
// the two sides of the feeding network, whether machines feed at all) is
// worked out once.
class LineFault {
 public:
  LineFault(const Pass& pass, const ElementRec& e, int position, const Complex& zToPoint)
      : e_(e),
        nonAdiabatic_(pass.nonAdiabatic),
        feeding_(pass.network, position, zToPoint),
        emf_(std::fabs(static_cast<double>(e.emf))),
        startR_(e.z1Start.re),
        lineR_(zToPoint.re),
        pathX_(static_cast<double>(e.z1Start.im) + zToPoint.im) {
    const FaultFeeding feeding = feeding_.At(1);
    machinesFeed_ = feeding.asyncInitial + feeding.syncInitial > 0;
    cold_ = MaximumFaultCurrent(SystemAt(1), feeding);
  }

  // The current with the line cold.
  const FaultCurrent& Cold() const { return cold_; }

  // R1 heated over R1 cold after `bt` in `t`.
  double ResistanceFactor(double bt, double t) const {
    if (!(e_.z1.re > 0) || !(bt > 0)) return 1;
    return HeatedZ1(e_, bt, t, nonAdiabatic_).re / static_cast<double>(e_.z1.re);
  }

  // E / |Z1acc + Zf|: the system part of the current.
  double SystemAt(double factor) const {
    const double r = PathR(factor);
    const double norm = r * r + pathX_ * pathX_;
    return norm > 0 ? emf_ / std::sqrt(norm) : 0.0;
  }

  // The resistance of the path from the source with the line's part
  // multiplied by `factor`, and its reactance.
  double PathR(double factor) const { return startR_ + lineR_ * factor; }
  double PathX() const { return pathX_; }

  FaultCurrent Current(double factor) const {
    if (factor == 1) return cold_;
    const double system = SystemAt(factor);
    if (!machinesFeed_) return SteadyFault(system);
    return MaximumFaultCurrent(system, feeding_.At(factor));
  }

 private:
  const ElementRec& e_;
  bool nonAdiabatic_;
  LineFeeding feeding_;
  double emf_;
  double startR_;
  double lineR_;
  double pathX_;
  bool machinesFeed_ = false;
  FaultCurrent cold_;
};

// A Joule integral being followed: a fault point, the time up to which its
// steps run, and their sum.
struct Integration {
  const LineFault* fault = nullptr;
  double time = 0;
  double bt = 0;
};

// The Joule integrals of a cable under way at once: one per disconnection.
constexpr int kMostIntegrations = 4;

// Bt of each fault up to its time, the current of every step taken at the
// resistance reached by the steps before it; steps ending beyond the
// integrated times add nothing, nor do the later ones. The steps of one
// fault depend on each other, those of different faults do not: taken side
// by side, a phase of the step at a time for every fault, the processor
// overlaps their chains of roots, divisions and exponentials.
void HeatedJoules(int steps, Integration* runs, int count) {
  std::array<double, kMostIntegrations> dt{};
  std::array<bool, kMostIntegrations> going{};
  for (int j = 0; j < count; ++j) {
    dt[j] = runs[j].time / steps;
    runs[j].bt = 0;
    going[j] = true;
  }
  std::array<double, kMostIntegrations> from{};
  std::array<double, kMostIntegrations> factor{};
  std::array<FaultCurrent, kMostIntegrations> current{};
  for (int step = 0; step < steps; ++step) {
    bool any = false;
    for (int j = 0; j < count; ++j) {
      if (!going[j]) continue;
      from[j] = step * dt[j];
      going[j] = !(from[j] + dt[j] > kLongestIntegratedTimeS);
      any = any || going[j];
    }
    if (!any) break;
    for (int j = 0; j < count; ++j) {
      if (going[j]) factor[j] = runs[j].fault->ResistanceFactor(runs[j].bt, from[j]);
    }
    for (int j = 0; j < count; ++j) {
      if (going[j]) current[j] = runs[j].fault->Current(factor[j]);
    }
    for (int j = 0; j < count; ++j) {
      if (!going[j]) continue;
      const LineFault& fault = *runs[j].fault;
      runs[j].bt += JouleIntegralBetween(current[j], fault.PathR(factor[j]), fault.PathX(), from[j],
                                         from[j] + dt[j]);
    }
  }
}

// A cable line and its four disconnections: the main protection at the
// thermal point and at the end, the backup at the ignition point and at the
// end.
class CableFaults {
 public:
  CableFaults(const Pass& pass, int position, ElementRec& e, const Protection& main,
              const Protection& backup)
      : e_(e),
        start_(pass, e, position, kComplexZero),
        thermal_(pass, e, position, e.zThermal),
        ignition_(pass, e, position, e.zIgnition),
        end_(pass, e, position, e.z1),
        faults_{&thermal_, &end_, &ignition_, &end_},
        protections_{main, main, backup, backup} {
    for (int k = 0; k < 4; ++k) time_[k] = protections_[k].Time(faults_[k]->Cold().system);
  }

  // Appends the Joule integrals the next heating iteration needs to `runs`;
  // one asked for twice at one point in one time (the main and the backup
  // protection clearing the end alike) is taken once.
  void AddRuns(Integration* runs, int& count) {
    for (int k = 0; k < 4; ++k) {
      int j = 0;
      while (j < count && !(runs[j].fault == faults_[k] && runs[j].time == time_[k])) ++j;
      if (j == count) runs[count++] = {faults_[k], time_[k]};
      runOf_[k] = j;
    }
  }

  // The iteration's results from the integrals `runs` holds; each time is
  // read again at the current of the heated line.
  void TakeRuns(const Pass& pass, const Integration* runs) {
    for (int k = 0; k < 4; ++k) {
      const double bt = runs[runOf_[k]].bt;
      Disconnection& result = results_[k];
      result.temperature = Temperature(e_, bt, time_[k], pass.nonAdiabatic, kCableFactorOutOfRange);
      result.joule = bt;
      result.current = faults_[k]->SystemAt(faults_[k]->ResistanceFactor(bt, time_[k]));
      time_[k] = protections_[k].Time(result.current);
      result.time = time_[k];
    }
  }

  void Store(const Pass& pass) {
    ElementRec& e = e_;
    Keep(e.ikd, SystemCurrent(e), pass.keepLargest);
    const double endZ = Abs(e.z1Start + e.z1);
    const double least = endZ > 0 ? std::fabs(e.emf) / endZ : 0.0;
    const LineFault* along[3] = {&start_, &thermal_, &end_};
    for (int k = 0; k < 3; ++k) {
      Keep(e.ikMaxAlong[k], std::max(along[k]->Cold().initial, least), pass.keepLargest);
    }
    for (int k = 0; k < 4; ++k) {
      Keep(e.tProtect[k], results_[k].time, pass.keepLargest);
      Keep(e.tempProtect[k], results_[k].temperature, pass.keepLargest);
      KeepLargest(e.joule[k], results_[k].joule);
      KeepLargest(e.iBreak, results_[k].current);
    }
  }

 private:
  ElementRec& e_;
  LineFault start_;
  LineFault thermal_;
  LineFault ignition_;
  LineFault end_;
  std::array<const LineFault*, 4> faults_;
  std::array<Protection, 4> protections_;
  std::array<double, 4> time_{};
  std::array<int, 4> runOf_{};
  std::array<Disconnection, 4> results_{};
};

void AlongCable(const Pass& pass, int position, ElementRec& e) {
  CableFaults cable(pass, position, e, MainOf(pass, e), BackupOf(pass, e));
  for (int iteration = 0; iteration < pass.iterations; ++iteration) {
    std::array<Integration, kMostIntegrations> runs{};
    int count = 0;
    cable.AddRuns(runs.data(), count);
    HeatedJoules(pass.steps, runs.data(), count);
    cable.TakeRuns(pass, runs.data());
  }
  cable.Store(pass);
}

// The stage over the tree with `network`, the readings and, when given, the
// motor feeding's currents.
bool TimesOfTree(CalcClass& calc, const FeedingNetwork& network,
                 const std::vector<FaultCurrent>* currents, CurveReadings& readings) {
  const ModelSettings& settings = calc.Model().Settings();
  Pass pass{network, currents, readings};
  pass.keepLargest = settings.MultiVariant();
  pass.nonAdiabatic = settings.NonAdiabaticHeating();
  pass.iterations = std::clamp<int>(settings.HeatingIterations(), 1, kMostHeatingIterations);
  pass.steps = std::clamp<int>(settings.BtSteps(), 1, kMostJouleSteps);

  for (int i = 1; i <= calc.Count(); ++i) {
    ElementRec& e = calc.Element(i);
    if (e.kind == kKindCableLine && e.tempWork > 0) {
      AlongCable(pass, i, e);
    } else {
      AtElement(pass, i, e);
    }
  }
  return true;
}

}  // namespace

bool ProtectionTimes(CalcClass& calc) {
  const FeedingNetwork network(calc);
  CurveReadings readings;
  return TimesOfTree(calc, network, nullptr, readings);
}

bool ProtectionTimes(CalcClass& calc, StageStorage& storage) {
  return TimesOfTree(calc, storage.feeding, &storage.currents, storage.readings);
}

}  // namespace kordavelt
