#include "calc/minimum_currents.h"
#include "calc/backward_walk.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/constants.h"
#include "calc/calc_class.h"
#include "calc/calculation.h"
#include "calc/fault_loop.h"
#include "calc/vth_class.h"
#include "calc/vth_evaluation.h"
#include "model/model_kinds.h"
#include "model/model_settings.h"

namespace kordavelt {
namespace {

// The point read as the minimum current: 0.05 s.
constexpr int kMinimumPoint = 1;

bool ProtectiveKind(int kind) {
  return kind == kKindProtectiveDevice || kind == kKindBreaker || kind == kKindFuse ||
         kind == kKindPowerSource;
}

bool Protective(const ElementRec& e) {
  return ProtectiveKind(e.kind) && AsCharacteristic(e.characteristic) != nullptr;
}

bool HasRatio(const ElementRec& e) { return e.kt > 0 && e.kt != 1; }

// The two protections upstream of a level's next element and its phase EMF.
struct ProtectionState {
  ElementAttachment* main = nullptr;
  ElementAttachment* backup = nullptr;
  double mainShift = 0;
  double backupShift = 0;
  double emf = 0;
};

ProtectionState PassElement(ProtectionState state, ElementRec& e) {
  if (HasRatio(e)) {
    // A fault current at the element reaches the devices above Kт times as large.
    const double lnKt = std::log(static_cast<double>(e.kt));
    state.mainShift -= lnKt;
    state.backupShift -= lnKt;
    state.emf *= e.kt;
  }
  if (Protective(e)) {
    state.backup = state.main;
    state.backupShift = state.mainShift;
    state.main = e.characteristic;
    state.mainShift = 0;
  }
  e.mainProtection = state.main;
  e.backupProtection = state.backup;
  e.mainShift = static_cast<float>(state.mainShift);
  e.backupShift = static_cast<float>(state.backupShift);
  return state;
}

// Step 1: the protections of every element and the phase EMF of its level
// (by TreeList position).
std::vector<double> AssignProtections(CalcClass& calc) {
  std::vector<double> emf(static_cast<std::size_t>(calc.Count()) + 1, 0);
  std::vector<ProtectionState> levels(kSweepLevels);
  ProtectionState source;
  source.emf = calc.Element(1).unom * calc.Model().Settings().MinEmf() / kSqrt3;
  levels[SweepLevel(calc.Element(1))] = source;
  for (int i = 1; i <= calc.Count(); ++i) {
    ElementRec& e = calc.Element(i);
    const int level = SweepLevel(e);
    if (i > 1 && level > 1) {
      // The first element of a section starts where its parent section ends.
      const ElementRec& before = calc.Element(i - 1);
      if (before.level != e.level || before.endOfSection != 0) levels[level] = levels[level - 1];
    }
    levels[level] = PassElement(levels[level], e);
    emf[static_cast<std::size_t>(i)] = levels[level].emf;
  }
  return emf;
}

FaultSeries NotComputedSeries() {
  FaultSeries series;
  for (auto& points : series) points.fill(kNotComputed);
  return series;
}

void KeepSmaller(FaultSeries& into, const FaultSeries& from) {
  for (int type = 0; type < kFaultTypes; ++type) {
    for (int k = 0; k < kFaultSeriesLength; ++k) {
      into[type][k] = std::min(into[type][k], from[type][k]);
    }
  }
}

void ScaleComputed(FaultPoints& points, double factor) {
  for (float& current : points) {
    if (current < kNotComputed) current = static_cast<float>(current * factor);
  }
}

// The level above a transformer sees the currents of its own side: a
// single-phase fault behind a delta winding shows in two phases at 1/√3, a
// two-phase fault at 2/√3 in the most loaded phase; all through Kт.
void ReferToSourceSide(FaultSeries& series, const ElementRec& e) {
  if (e.phaseShift == 1 || e.phaseShift == -1) {
    ScaleComputed(series[kSinglePhaseFault], kSqrt3 / 3);
    ScaleComputed(series[kTwoPhaseFault], 2 / kSqrt3);
  }
  if (HasRatio(e)) {
    for (auto& points : series) ScaleComputed(points, e.kt);
  }
}

// Step 3 for one element: its series, Iкм and the times of its own device.
void StoreAtElement(ElementRec& e, const FaultSeries& series, CurveReadings& readings) {
  e.faultSeries = series;
  e.faultSeriesCopy = series;
  for (int type = 0; type < kFaultTypes; ++type) {
    e.ikMin[type] = std::min(e.ikMin[type], series[type][kMinimumPoint]);
  }
  if (!ProtectiveKind(e.kind)) return;
  const CurveReading& own = readings.Longest(e.characteristic, 0);
  for (int type = 0; type < kFaultTypes; ++type) {
    const float current = e.ikMin[type];
    e.tkMin[type] = current < kNotComputed ? static_cast<float>(own.Time(current)) : kOutOfRange;
  }
}

ArcSettings ArcSettingsOf(const ModelSettings& settings) {
  return {settings.ArcMethod(), settings.ArcResistance(), settings.ArcLength(),
          settings.PhaseDistance()};
}

}  // namespace

bool MinimumCurrents(CalcClass& calc) {
  StageStorage storage;
  return MinimumCurrents(calc, storage);
}

bool MinimumCurrents(CalcClass& calc, StageStorage& storage) {
  if (calc.Count() < 1) return true;
  FaultLoops& loops = storage.loops;
  CurveReadings& readings = storage.readings;
  const ModelSettings& settings = calc.Model().Settings();
  const ArcSettings arc = ArcSettingsOf(settings);
  const bool nonAdiabatic = settings.NonAdiabaticHeating();
  const std::vector<double> emf = AssignProtections(calc);
  loops.Build(calc);
  FaultSeriesCalculator calculator(loops, arc, nonAdiabatic);

  std::vector<FaultSeries> levels(kSweepLevels, NotComputedSeries());
  const auto close = [&](int parent, int child) {
    KeepSmaller(levels[parent], levels[child]);
    levels[child] = NotComputedSeries();
  };
  return WalkBackwards(calc, close, [&](int i, ElementRec& e, int level, int) {
    const bool endsSection = e.endOfSection != 0;
    FaultSeries& series = levels[level];
    const auto fromHere = [&] { return calculator.At(i, emf[static_cast<std::size_t>(i)]); };
    if (endsSection) series = fromHere();
    StoreAtElement(e, series, readings);
    if (Protective(e) && !endsSection) series = fromHere();
    ReferToSourceSide(series, e);
    return true;
  });
}

}  // namespace kordavelt
