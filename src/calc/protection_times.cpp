#include "calc/protection_times.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calc/calc_class.h"
#include "calc/conductor_heating.h"
#include "calc/feeding_network.h"
#include "calc/joule_integral.h"
#include "calc/motor_feeding.h"
#include "model/model_kinds.h"
#include "model/model_settings.h"
#include "results/vth_evaluation.h"

namespace kordavelt {
namespace {

// Heating factors from which the temperature is out of range.
constexpr long double kWireFactorOutOfRange = 7;
constexpr long double kCableFactorOutOfRange = 2;

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

  long double Time(long double currentKA) const {
    return LongestTime(characteristic, shift, currentKA);
  }
};

// Time, temperature, Joule integral and current at disconnection.
struct Disconnection {
  long double time = 0;
  long double temperature = 0;
  long double joule = 0;
  long double current = 0;
};

void Keep(float& field, long double value, bool keepLargest) {
  const float v = static_cast<float>(value);
  field = keepLargest ? std::max(field, v) : v;
}

void KeepLargest(float& field, long double value) { Keep(field, value, true); }

bool IsWireKind(int kind) { return kind == kKindWiring || kind == kKindOverheadLine; }

long double Temperature(const ElementRec& e, long double bt, long double t, bool nonAdiabatic,
                        long double outOfRange) {
  const long double k = HeatingFactor(e, bt, t, nonAdiabatic);
  return k >= outOfRange ? kOutOfRange : HeatedTemperature(e.tempWork, k);
}

// --- Elements other than cable lines ---------------------------------------------------------

void AtElement(const Pass& pass, int position, ElementRec& e) {
  const long double ikd = SystemCurrent(e);
  Keep(e.ikd, ikd, pass.keepLargest);
  if (position == 1) Keep(e.ikdSource, ikd, pass.keepLargest);

  const FaultCurrent current = MaximumFaultCurrent(ikd, pass.network.AtElement(position));
  const Complex z = FaultImpedance(e);
  const long double times[2] = {Protection{e.mainProtection, e.mainShift}.Time(ikd),
                                Protection{e.backupProtection, e.backupShift}.Time(ikd)};
  for (int k = 0; k < 2; ++k) {
    const int slot = 2 * k;  // toзН and tрз
    const long double bt = JouleIntegral(current, z.re, z.im, times[k]);
    const long double temperature =
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

// A fault on a cable line behind `zToPoint` from its start, the line's
// resistance multiplied by `factor`.
class LineFault {
 public:
  LineFault(const Pass& pass, int position, const ElementRec& e, const Complex& zToPoint)
      : pass_(pass), position_(position), e_(e), zToPoint_(zToPoint) {}

  // The path impedance from the source and the current over it.
  Complex Path(long double factor) const {
    const Complex heated{static_cast<float>(zToPoint_.re * factor), zToPoint_.im};
    return e_.z1Start + heated;
  }
  FaultCurrent Current(long double factor) const {
    const long double z = Abs(Path(factor));
    const long double system = z > 0 ? std::fabs(e_.emf) / z : 0.0L;
    return MaximumFaultCurrent(system, pass_.network.AlongLine(position_, zToPoint_, factor));
  }

  // The protection's time with the heating followed through the iterations.
  Disconnection Disconnect(const Protection& protection) const {
    long double time = protection.Time(Current(1).system);
    Disconnection result;
    for (int iteration = 0; iteration < pass_.iterations; ++iteration) {
      const long double bt = HeatedJoule(time);
      const long double factor = ResistanceFactor(bt, time);
      result.temperature = Temperature(e_, bt, time, pass_.nonAdiabatic, kCableFactorOutOfRange);
      result.joule = bt;
      result.current = Current(factor).system;
      time = protection.Time(result.current);
      result.time = time;
    }
    return result;
  }

 private:
  // R1 heated over R1 cold after `bt` in `t`.
  long double ResistanceFactor(long double bt, long double t) const {
    if (!(e_.z1.re > 0)) return 1;
    return HeatedZ1(e_, bt, t, pass_.nonAdiabatic).re / static_cast<long double>(e_.z1.re);
  }

  // Bt up to `time`, the current of every step taken at the resistance
  // reached by the steps before it.
  long double HeatedJoule(long double time) const {
    const long double dt = time / pass_.steps;
    long double bt = 0;
    for (int step = 0; step < pass_.steps; ++step) {
      const long double from = step * dt;
      const long double factor = ResistanceFactor(bt, from);
      const Complex path = Path(factor);
      bt += JouleIntegralBetween(Current(factor), path.re, path.im, from, from + dt);
    }
    return bt;
  }

  const Pass& pass_;
  int position_;
  const ElementRec& e_;
  Complex zToPoint_;
};

void AlongCable(const Pass& pass, int position, ElementRec& e) {
  const long double ikd = SystemCurrent(e);
  Keep(e.ikd, ikd, pass.keepLargest);

  const LineFault start(pass, position, e, kComplexZero);
  const LineFault thermal(pass, position, e, e.zThermal);
  const LineFault ignition(pass, position, e, e.zIgnition);
  const LineFault end(pass, position, e, e.z1);

  const long double endZ = Abs(e.z1Start + e.z1);
  const long double least = endZ > 0 ? std::fabs(e.emf) / endZ : 0.0L;
  const LineFault* along[3] = {&start, &thermal, &end};
  for (int k = 0; k < 3; ++k) {
    Keep(e.ikMaxAlong[k], std::max(along[k]->Current(1).initial, least), pass.keepLargest);
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
