#include "calc/motor_starting.h"

#include <algorithm>
#include <vector>

#include "calc/calc_class.h"
#include "calc/constants.h"
#include "calc/design_loads.h"
#include "calc/prepare_context.h"
#include "calc/self_start.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "model/source_loads.h"

namespace kordavelt {
namespace {

constexpr int kLevelCount = CalcClass::kMaxLevel + 2;  // levels 0 … 100

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
  std::vector<Supply> levels(kLevelCount);
  ElementRec& source = calc.Element(1);
  const long double emf = source.unom * calc.Model().Settings().MaxEmf() / kSqrt3;
  source.z1Cumulative = source.z1;
  levels[std::clamp<int>(source.level, 1, kLevelCount - 1)] = {source.z1, emf};

  for (int i = 2; i <= calc.Count(); ++i) {
    ElementRec& e = calc.Element(i);
    const ElementRec& before = calc.Element(i - 1);
    const int level = std::clamp<int>(e.level, 1, kLevelCount - 1);
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
  std::vector<LevelAccumulator> levels(kLevelCount);
  const int method = static_cast<int>(LoadMethod::Kz);  // only the currents are merged
  int previous = 1;
  for (int i = calc.Count(); i >= 1; --i) {
    ElementRec& e = calc.Element(i);
    const int level = std::clamp<int>(e.level, 1, kLevelCount - 1);
    const bool endsSection = e.endOfSection != 0;
    if (previous >= 2 && (level < previous || endsSection)) {
      MergeAccumulator(levels[previous - 1], levels[previous], method);
    }
    LevelAccumulator& acc = levels[level];
    if (endsSection) {
      acc = LevelAccumulator{};
      acc.phases = {e.ia, e.ib, e.ic};
      acc.iStart = e.iStart;
      acc.tStart = e.tStart;
    } else {
      e.iStart = acc.iStart;
      e.tStart = acc.tStart;
    }
    if (e.kt > 0 && e.kt != 1) ScaleAccumulator(acc, e.kt);
    previous = level;
  }
}

}  // namespace

bool StartCurrentsFromNetwork(CalcClass& calc) {
  if (calc.Count() < 1) return true;
  AccumulateSupply(calc);
  RecombineStarts(calc);
  return true;
}

void BindMotorStarting(CalcClass& calc) {
  calc.Steps().cumulativeImpedance = [](CalcClass& c) { return StartCurrentsFromNetwork(c); };
  calc.Steps().selfStartImpedances = [](CalcClass& c) { return SelfStartImpedances(c); };
}

}  // namespace kordavelt
