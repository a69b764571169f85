#include "calc/motor_starting.h"
#include "calc/backward_walk.h"

#include <algorithm>
#include <vector>

#include "base/constants.h"
#include "calc/calc_class.h"
#include "calc/design_loads.h"
#include "calc/prepare_context.h"
#include "calc/self_start.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "model/source_loads.h"

namespace kordavelt {
namespace {

// Kinds the preparation gives asynchronous motors.
constexpr int kKindAsyncMotorLoad = 42;
constexpr int kKindAsyncEquivalent = 54;

// The supply seen from the end of an element: the impedance back to the
// source EMF, mΩ, and that EMF referred to the element's level, V (phase).
struct Supply {
  Complex z;
  long double emf = 0;
};

bool StartsFromNetwork(const ElementRec& e) {
  return (e.kind == kKindAsyncMotorLoad || e.kind == kKindAsyncEquivalent) && !IsZero(e.z1);
}

long double RatioOf(const ElementRec& e) { return e.kt > 0 ? e.kt : 1; }

// The running current of an equivalent motor's starting motor, Iм: its rated
// power at the network voltage with the reactive share of the whole group.
Complex StartingMotorRunningCurrent(PrepareContext& ctx, const ElementRec& e) {
  const Bytes object = ctx.Object(kKindEquivalentMotor, BranchKeyOf(e));
  if (object.empty() || !(e.unom > 0)) return kComplexZero;
  const EquivalentMotorRec motor(object);
  const long double active = motor.Pnom1() * 1000 / (e.unom * kSqrt3);
  const long double p = motor.Pust();
  const long double reactive = p != 0 ? -active * motor.Q() / p : 0;
  return {static_cast<float>(active), static_cast<float>(reactive)};
}

// The starting current a motor draws through the whole impedance from the source.
void SetStartFromNetwork(PrepareContext& ctx, ElementRec& e, const Supply& supply) {
  const Complex drawn = Divide({static_cast<float>(supply.emf * 1000), 0.0f}, supply.z);
  if (e.kind == kKindAsyncEquivalent) {
    e.iStart = e.ia - StartingMotorRunningCurrent(ctx, e) + drawn;
  } else {
    e.iStart = drawn;
  }
}

// Step 1 and 2: Zсум of every element and the motors' starting currents.
void AccumulateSupply(CalcClass& calc) {
  PrepareContext ctx(calc.Model());
  std::vector<Supply> levels(kSweepLevels);
  ElementRec& source = calc.Element(1);
  const long double emf = source.unom * calc.Model().Settings().MaxEmf() / kSqrt3;
  source.z1Cumulative = source.z1;
  levels[SweepLevel(source)] = {source.z1, emf};

  for (int i = 2; i <= calc.Count(); ++i) {
    ElementRec& e = calc.Element(i);
    const ElementRec& before = calc.Element(i - 1);
    const int level = SweepLevel(e);
    // The first element of a section starts at the node its parent ends at.
    if (level > 1 && (before.level != e.level || before.endOfSection != 0)) {
      levels[level] = levels[level - 1];
    }
    Supply& supply = levels[level];
    const long double kt = RatioOf(e);
    supply.z = supply.z * (kt * kt) + e.z1;
    supply.emf *= kt;
    e.z1Cumulative = supply.z;
    if (StartsFromNetwork(e)) SetStartFromNetwork(ctx, e, supply);
  }
}

// Step 3: the sections combined again from the leaves up, as the design-load
// sweep combines them, so that every element carries the start of the
// largest motor below it while everything else runs.
void RecombineStarts(CalcClass& calc) {
  std::vector<LevelAccumulator> levels(kSweepLevels);
  const int method = static_cast<int>(LoadMethod::Kz);  // only the currents are merged
  const auto close = [&](int parent, int child) {
    MergeAccumulator(levels[parent], levels[child], method);
  };
  WalkBackwards(calc, close, [&](int, ElementRec& e, int level, int) {
    LevelAccumulator& acc = levels[level];
    if (e.endOfSection != 0) {
      acc = LevelAccumulator{};
      acc.phases = {e.ia, e.ib, e.ic};
      acc.iStart = e.iStart;
      acc.tStart = e.tStart;
    } else {
      e.iStart = acc.iStart;
      e.tStart = acc.tStart;
    }
    if (e.kt > 0 && e.kt != 1) ScaleAccumulator(acc, e.kt);
    return true;
  });
}

}  // namespace

bool StartCurrentsFromNetwork(CalcClass& calc) {
  if (calc.Count() < 1) return true;
  AccumulateSupply(calc);
  RecombineStarts(calc);
  return true;
}

}  // namespace kordavelt
