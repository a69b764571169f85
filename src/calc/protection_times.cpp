#include "calc/protection_times.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calc/calc_class.h"
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
  bool keepLargest = false;  // multi-variant: the worst over the regimes
  bool nonAdiabatic = false;
  int iterations = 1;
  int steps = 1;
};

// A protection and its current shift.
struct Protection {
  const ElementAttachment* characteristic = nullptr;
  float shift = 0;

  double Time(double currentKA) const {
    return static_cast<double>(LongestTime(characteristic, shift, currentKA));
  }
};

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

  const double times[2] = {Protection{e.mainProtection, e.mainShift}.Time(ikd),
                           Protection{e.backupProtection, e.backupShift}.Time(ikd)};
  // Without a protection that clears the fault in time nothing is
  // integrated, and the network's equivalent is not needed.
  const bool integrated =
      !(times[0] > kLongestIntegratedTimeS) || !(times[1] > kLongestIntegratedTimeS);
  const FaultCurrent current =
      integrated ? MaximumFaultCurrent(ikd, pass.network.AtElement(position)) : SteadyFault(ikd);
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
// whether machines feed at all) is worked out once.
class LineFault {
 public:
  LineFault(const Pass& pass, int position, const ElementRec& e, const Complex& zToPoint)
      : pass_(pass),
        position_(position),
        e_(e),
        zToPoint_(zToPoint),
        emf_(std::fabs(static_cast<double>(e.emf))),
        startR_(e.z1Start.re),
        lineR_(zToPoint.re),
        pathX_(static_cast<double>(e.z1Start.im) + zToPoint.im) {
    const FaultFeeding feeding = pass.network.FeedingAlongLine(position, zToPoint, 1);
    machinesFeed_ = feeding.asyncInitial + feeding.syncInitial > 0;
    cold_ = MaximumFaultCurrent(SystemAt(1), feeding);
  }

  // The current with the line cold.
  const FaultCurrent& Cold() const { return cold_; }

  // The protection's time with the heating followed through the iterations.
  Disconnection Disconnect(const Protection& protection) {
    double time = protection.Time(cold_.system);
    Disconnection result;
    for (int iteration = 0; iteration < pass_.iterations; ++iteration) {
      const double bt = HeatedJouleOnce(time);
      result.temperature = Temperature(e_, bt, time, pass_.nonAdiabatic, kCableFactorOutOfRange);
      result.joule = bt;
      result.current = SystemAt(ResistanceFactor(bt, time));
      time = protection.Time(result.current);
      result.time = time;
    }
    return result;
  }

 private:
  // R1 heated over R1 cold after `bt` in `t`.
  double ResistanceFactor(double bt, double t) const {
    if (!(e_.z1.re > 0) || !(bt > 0)) return 1;
    return HeatedZ1(e_, bt, t, pass_.nonAdiabatic).re / static_cast<double>(e_.z1.re);
  }

  // The resistance of the path from the source with the line's part
  // multiplied by `factor`.
  double PathR(double factor) const { return startR_ + lineR_ * factor; }

  // E / |Z1acc + Zf|: the system part of the current.
  double SystemAt(double factor) const {
    const double r = PathR(factor);
    const double norm = r * r + pathX_ * pathX_;
    return norm > 0 ? emf_ / std::sqrt(norm) : 0.0;
  }

  FaultCurrent Current(double factor) const {
    if (factor == 1) return cold_;
    const double system = SystemAt(factor);
    if (!machinesFeed_) return SteadyFault(system);
    return MaximumFaultCurrent(system,
                               pass_.network.FeedingAlongLine(position_, zToPoint_, factor));
  }

  // HeatedJoule, remembered for the last time asked: the main and the
  // backup protection often clear a fault at the line's end in the same time.
  double HeatedJouleOnce(double time) {
    if (!(time == lastTime_)) {
      lastTime_ = time;
      lastJoule_ = HeatedJoule(time);
    }
    return lastJoule_;
  }

  // Bt up to `time`, the current of every step taken at the resistance
  // reached by the steps before it.
  double HeatedJoule(double time) const {
    const double dt = time / pass_.steps;
    double bt = 0;
    for (int step = 0; step < pass_.steps; ++step) {
      const double from = step * dt;
      // Steps ending beyond the integrated times add nothing, nor do the
      // later ones.
      if (from + dt > kLongestIntegratedTimeS) break;
      const double factor = ResistanceFactor(bt, from);
      bt += JouleIntegralBetween(Current(factor), PathR(factor), pathX_, from, from + dt);
    }
    return bt;
  }

  const Pass& pass_;
  int position_;
  const ElementRec& e_;
  Complex zToPoint_;
  double emf_;
  double startR_;
  double lineR_;
  double pathX_;
  bool machinesFeed_ = false;
  FaultCurrent cold_;
  double lastTime_ = -1;  // no time asked yet
  double lastJoule_ = 0;
};

void AlongCable(const Pass& pass, int position, ElementRec& e) {
  const double ikd = SystemCurrent(e);
  Keep(e.ikd, ikd, pass.keepLargest);

  const LineFault start(pass, position, e, kComplexZero);
  LineFault thermal(pass, position, e, e.zThermal);
  LineFault ignition(pass, position, e, e.zIgnition);
  LineFault end(pass, position, e, e.z1);

  const double endZ = Abs(e.z1Start + e.z1);
  const double least = endZ > 0 ? std::fabs(e.emf) / endZ : 0.0;
  const LineFault* along[3] = {&start, &thermal, &end};
  for (int k = 0; k < 3; ++k) {
    Keep(e.ikMaxAlong[k], std::max(along[k]->Cold().initial, least), pass.keepLargest);
  }

  const Protection main{e.mainProtection, e.mainShift};
  const Protection backup{e.backupProtection, e.backupShift};
  const std::array<Disconnection, 4> results = {thermal.Disconnect(main), end.Disconnect(main),
                                                ignition.Disconnect(backup),
                                                end.Disconnect(backup)};
  for (int k = 0; k < 4; ++k) {
    Keep(e.tProtect[k], results[k].time, pass.keepLargest);
    Keep(e.tempProtect[k], results[k].temperature, pass.keepLargest);
    KeepLargest(e.joule[k], results[k].joule);
    KeepLargest(e.iBreak, results[k].current);
  }
}

}  // namespace

bool ProtectionTimes(CalcClass& calc) {
  const ModelSettings& settings = calc.Model().Settings();
  const FeedingNetwork network(calc);
  Pass pass{network};
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

void BindProtectionTimes(CalcClass& calc) { calc.Steps().protectionTimes = ProtectionTimes; }

}  // namespace kordavelt
