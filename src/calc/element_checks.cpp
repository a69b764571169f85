#include "calc/element_checks.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "base/constants.h"
#include "base/math_box.h"
#include "calc/calc_class.h"
#include "calc/calculation.h"
#include "calc/prepare_context.h"
#include "calc/vth_class.h"
#include "calc/vth_evaluation.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"

namespace kordavelt {
namespace {

// The codes in display order.
struct ViolationCode {
  int bit;
  const char* code;
};
constexpr ViolationCode kViolationCodes[] = {
    {kViolationTypeMissing, "нет!"},
    {kViolationNotInBook, "нет в БД!"},
    {kViolationNotChosen, "не выбран!"},
    {kViolationNominalVoltage, "Uном!"},
    {kViolationPermissible, "Iдоп!"},
    {kViolationShortCircuit, "Iкз!"},
    {kViolationDynamic, "Iдин!"},
    {kViolationVoltageLow, "Up<!"},
    {kViolationVoltageHigh, "Uр>!"},
    {kViolationStartVoltage, "Uп<!"},
    {kViolationWorkingSetting, "Уст.Iр!"},
    {kViolationStartSetting, "Уст.Iп!"},
    {kViolationSelfStartSetting, "Уст.Iсз!"},
    {kViolationSensitivity1, "Кч1ф!"},
    {kViolationSensitivity2, "Кч2ф!"},
    {kViolationSensitivity3, "Кч3ф!"},
    {kViolationSelectivity, "Ceл.!"},
    {kViolationProtection, "Защ.!"},
    {kViolationWorkingHeat, "Tр!"},
    {kViolationThermal, "Tт!"},
    {kViolationIgnition, "Tв!"},
    {kViolationObjectMissing, "Ошибка!"},
    {kViolationCores, "Жилы!"},
};

// Float noise of a deviation in per cent.
constexpr long double kDeviationNoise = 1e-9L;
// The longest operation time at the minimum fault currents, s.
constexpr long double kSensitivityTime = 1;
// Limits of bare wires, °C: in operation and at a short circuit.
constexpr long double kBareWireWorking = 70;
constexpr long double kBareWireShortCircuit = 160;
// Self-start method "Нет".
constexpr int kSelfStartNone = 0;

bool Unchecked(int kind) {
  return kind == kKindAbstractBranch || (kind >= 41 && kind <= 43) || kind == kKindLighting ||
         (kind >= kKindPowerSource && kind <= 55);
}

// A limit of 0 is one the reference book does not give.
bool Exceeds(long double value, long double limit) { return limit > 0 && value > limit; }

std::uint32_t If(bool violated, int bit) { return violated ? BitMask(bit) : 0u; }

// --- Working current and voltages -----------------------------------------------

// (U / Uref − 1) · 100 against [low, high]; only a computed voltage counts.
// Uр and Uп are of one kind and share the reference.
std::uint32_t VoltageViolations(const ElementRec& e, const ModelSettings& settings) {
  const long double reference = ReferenceVoltage(e);
  if (!(reference > 0)) return 0;
  std::uint32_t found = 0;
  if (e.uWork < kNotComputed) {
    const long double deviation = (e.uWork / reference - 1) * 100;
    found |=
        If(deviation < settings.NormalVoltageDeviation() - kDeviationNoise, kViolationVoltageLow);
    found |= If(deviation > settings.MaxVoltageDrop() + kDeviationNoise, kViolationVoltageHigh);
  }
  if (e.uStart < kNotComputed) {
    const long double deviation = (e.uStart / reference - 1) * 100;
    found |=
        If(deviation < settings.StartVoltageDeviation() - kDeviationNoise, kViolationStartVoltage);
  }
  return found;
}

std::uint32_t WorkingViolations(const ElementRec& e, const ModelSettings& settings) {
  return If(Exceeds(e.checkCurrent, e.iPermissible), kViolationPermissible) |
         VoltageViolations(e, settings);
}

// --- Protective settings of breakers and fuses ------------------------------------

// The nearest protection above the element and its current shift. Whether the
// element's own characteristic has already become its main protection or
// not, the one above is the first reference that is not its own.
struct Upstream {
  const ElementAttachment* characteristic = nullptr;
  long double shift = 0;
};

Upstream UpstreamOf(const ElementRec& e) {
  if (e.mainProtection != nullptr && e.mainProtection != e.characteristic) {
    return {e.mainProtection, e.mainShift};
  }
  return {e.backupProtection, e.backupShift};
}

// What the checks of one tree share: the object tables and catalogue types
// read, the readings of the characteristics, and the comparisons of device
// pairs for selectivity.
struct CheckPass {
  CheckPass(modelClass& model, CurveReadings& readings) : ctx(model), readings(readings) {}

  // The points of a device's own curves at which selectivity is compared
  // with the protection above: the current (kA), and whether the device's
  // longest time there, times the selectivity factor, exceeds the shortest
  // time above. They depend on the two characteristics and the shift alone,
  // so the outlets of one type under one board share them.
  struct SelectivityPoint {
    long double current = 0;
    bool violated = false;
  };
  using SelectivityKey = std::tuple<const CurveReading*, const CurveReading*, const CurveReading*>;

  PrepareContext ctx;
  CurveReadings& readings;
  std::map<SelectivityKey, std::vector<SelectivityPoint>> selectivity;
};

// The readings of a device's own curves.
struct Own {
  const CurveReading& shortest;
  const CurveReading& longest;
};

std::uint32_t SettingViolations(const ElementRec& e, const CurveReading& shortest,
                                const ModelSettings& settings) {
  const long double ratio = settings.ProtectionToStartTimeRatio();
  std::uint32_t found = 0;
  found |= If(shortest.PointCurrent(0) < e.checkCurrent / 1000.0L, kViolationWorkingSetting);
  found |= If(shortest.Time(Abs(e.iStart) / 1000) < ratio * e.tStart, kViolationStartSetting);
  if (settings.SelfStartMethod() != kSelfStartNone) {
    found |= If(shortest.Time(Abs(e.iSelfStart) / 1000) < ratio * settings.SelfStartDuration(),
                kViolationSelfStartSetting);
  }
  return found;
}

// Only the first fault type that fails, from the three-phase fault down.
std::uint32_t SensitivityViolations(const ElementRec& e, const CurveReading& longest) {
  constexpr int kBits[3] = {kViolationSensitivity1, kViolationSensitivity2, kViolationSensitivity3};
  for (int phases = 2; phases >= 0; --phases) {
    if (longest.Time(e.ikMin[phases]) > kSensitivityTime) return BitMask(kBits[phases]);
  }
  return 0;
}

// At the points of the element's own curves up to I″, the element's longest
// time times the selectivity factor must stay within the upstream
// protection's shortest time.
std::uint32_t SelectivityViolations(CheckPass& pass, const ElementRec& e, const Own& own,
                                    const ModelSettings& settings) {
  const Upstream upstream = UpstreamOf(e);
  if (upstream.characteristic == nullptr) return 0;
  const CurveReading& above = pass.readings.Shortest(upstream.characteristic, upstream.shift);
  const CurveReading& ownLongest = own.longest;
  const CurveReading& ownShortest = own.shortest;
  auto [points, added] = pass.selectivity.try_emplace({&above, &ownLongest, &ownShortest});
  if (added) {
    const long double factor = settings.SelectivityFactor();
    // The lower curve's points, then the upper curve's.
    for (const CurveReading* curve : {&ownShortest, &ownLongest}) {
      for (int k = 0; k < kCurvePoints; ++k) {
        const long double current = curve->PointCurrent(k);
        const long double shortestAbove = above.Time(current);
        const bool violated =
            shortestAbove < kLongestTimeS && factor * ownLongest.Time(current) > shortestAbove;
        points->second.push_back({current, violated});
      }
    }
  }
  for (const CheckPass::SelectivityPoint& point : points->second) {
    if (!(point.current > e.ikMax) && point.violated) return BitMask(kViolationSelectivity);
  }
  return 0;
}

std::uint32_t ProtectionViolations(CheckPass& pass, const ElementRec& e,
                                   const ModelSettings& settings) {
  if (AsCharacteristic(e.characteristic) == nullptr) return 0;
  const Own own{pass.readings.Shortest(e.characteristic, 0),
                pass.readings.Longest(e.characteristic, 0)};
  return SettingViolations(e, own.shortest, settings) | SensitivityViolations(e, own.longest) |
         SelectivityViolations(pass, e, own, settings);
}

// --- The equipment type of each kind --------------------------------------------------

struct EquipmentCheck {
  bool typeFound = true;
  std::uint32_t violations = 0;
};

constexpr EquipmentCheck kTypeMissing{false, 0};

// The phase conductors and the neutral the element carries current in.
int ConductorsCarried(const ElementRec& e) {
  return std::popcount(
      static_cast<unsigned>(e.phaseSet & (kPhaseA | kPhaseB | kPhaseC | kNeutralLoaded)));
}

EquipmentCheck CheckCableLine(PrepareContext& ctx, const ElementRec& e) {
  const Bytes object = ctx.Object(kKindCableLine, BranchKeyOf(e));
  const CableLineRec line(object);
  const int cables = line.Nk() + line.Nk2();
  auto cableBytes = ctx.CachedBookType(book::kCableTable, line.Type());
  if (cableBytes.empty()) return kTypeMissing;
  const book::CableRec cable(cableBytes);
  auto brandBytes = ctx.CachedBookType(book::kCableBrandTable, cable.Type());
  if (brandBytes.empty()) return kTypeMissing;
  const book::CableBrandRec brand(brandBytes);
  const int carried = ConductorsCarried(e);
  return {true, If(Exceeds(e.tempWork, brand.Tpermiss()), kViolationWorkingHeat) |
                    If(Exceeds(e.tempProtect[0], brand.Tterm()), kViolationThermal) |
                    If(Exceeds(e.tempProtect[2], brand.Tignit()) ||
                           Exceeds(e.tempProtect[3], brand.Tignit()),
                       kViolationIgnition) |
                    If(carried > cable.CondCount() && carried > cables, kViolationCores)};
}

EquipmentCheck CheckWiring(PrepareContext& ctx, const ElementRec& e) {
  const WiringRec wiring(ctx.Object(kKindWiring, BranchKeyOf(e)));
  auto bytes = ctx.CachedBookType(book::kInsulatedWireTable, wiring.Type());
  if (bytes.empty()) return kTypeMissing;
  const book::InsulatedWireRec wire(bytes);
  return {true, If(Exceeds(e.tempWork, wire.Tpermiss()), kViolationWorkingHeat)};
}

EquipmentCheck CheckOverheadLine(PrepareContext& ctx, const ElementRec& e) {
  const OverheadLineRec line(ctx.Object(kKindOverheadLine, BranchKeyOf(e)));
  if (ctx.CachedBookType(book::kBareWireTable, line.Type()).empty()) return kTypeMissing;
  return {true, If(Exceeds(e.tempWork, kBareWireWorking), kViolationWorkingHeat) |
                    If(Exceeds(e.tempProtect[0], kBareWireShortCircuit), kViolationThermal)};
}

// I″ that a breaker or fuse has to break: that of the element below it.
float CurrentToBreak(CalcClass& calc, int position, const ElementRec& e) {
  const int next = e.nextElement;
  if (e.endOfSection == 0 && next > position && next <= calc.Count()) {
    return calc.Element(next).ikMax;
  }
  return e.ikMax;
}

EquipmentCheck CheckBreakingCapacity(CalcClass& calc, PrepareContext& ctx, int position,
                                     const ElementRec& e) {
  float capacity = 0;
  if (e.kind == kKindBreaker) {
    const BreakerRec breaker(ctx.Object(kKindBreaker, BranchKeyOf(e)));
    auto bytes = ctx.CachedBookType(book::kBreakerTable, breaker.Type());
    if (bytes.empty()) return kTypeMissing;
    capacity = book::BreakerRec(bytes).Iswitch();
  } else {
    const FuseRec fuse(ctx.Object(kKindFuse, BranchKeyOf(e)));
    auto bytes = ctx.CachedBookType(book::kFuseTable, fuse.Type());
    if (bytes.empty()) return kTypeMissing;
    capacity = book::FuseRec(bytes).Iswitch();
  }
  return {true,
          If(capacity > 0 && capacity < CurrentToBreak(calc, position, e), kViolationShortCircuit)};
}

// √Bt against the thermal withstand current (kA over 1 s).
bool ThermalWithstandExceeded(const ElementRec& e, float withstandKA) {
  return Exceeds(std::sqrt(std::max(0.0f, e.joule[0])), withstandKA);
}

EquipmentCheck CheckReactor(PrepareContext& ctx, const ElementRec& e) {
  const TypeOnlyRec object(ctx.Object(kKindReactor, BranchKeyOf(e)));
  auto bytes = ctx.CachedBookType(book::kReactorTable, object.Type());
  if (bytes.empty()) return kTypeMissing;
  const book::ReactorRec reactor(bytes);
  return {true, If(ThermalWithstandExceeded(e, reactor.Iterm()), kViolationShortCircuit) |
                    If(reactor.Idin() > 0 && reactor.Idin() < e.iPeak, kViolationDynamic)};
}

EquipmentCheck CheckCurrentTransformer(PrepareContext& ctx, const ElementRec& e) {
  const TypeOnlyRec object(ctx.Object(kKindCurrentTransformer, BranchKeyOf(e)));
  auto bytes = ctx.CachedBookType(book::kCurrentTransformerTable, object.Type());
  if (bytes.empty()) return kTypeMissing;
  const book::CurrentTransformerRec ct(bytes);
  return {true, If(ThermalWithstandExceeded(e, ct.Iterm()), kViolationShortCircuit)};
}

// Kinds whose only check of the type is that it exists.
EquipmentCheck CheckTypePresent(PrepareContext& ctx, const ElementRec& e, int table) {
  const Bytes object = ctx.Object(e.kind, BranchKeyOf(e));
  std::int32_t code = 0;
  switch (e.kind) {
    case kKindTrunkingK:
      code = TrunkingRec(object).Type();
      break;
    case kKindStarter:
      code = StarterRec(object).Type();
      break;
    case kKindTransformer:
      code = TransformerRec(object).Type();
      break;
    default:
      code = TypeOnlyRec(object).Type();
      break;
  }
  return ctx.CachedBookType(table, code).empty() ? kTypeMissing : EquipmentCheck{};
}

EquipmentCheck CheckEquipment(CalcClass& calc, PrepareContext& ctx, int position,
                              const ElementRec& e) {
  switch (e.kind) {
    case kKindCableLine:
      return CheckCableLine(ctx, e);
    case kKindWiring:
      return CheckWiring(ctx, e);
    case kKindOverheadLine:
      return CheckOverheadLine(ctx, e);
    case kKindBreaker:
    case kKindFuse:
      return CheckBreakingCapacity(calc, ctx, position, e);
    case kKindReactor:
      return CheckReactor(ctx, e);
    case kKindCurrentTransformer:
      return CheckCurrentTransformer(ctx, e);
    case kKindTrunkingK:
      return CheckTypePresent(ctx, e, book::kTrunkingTable);
    case kKindSwitch:
      return CheckTypePresent(ctx, e, book::kSwitchTable);
    case kKindStarter:
      return CheckTypePresent(ctx, e, book::kStarterTable);
    case kKindTransformer:
      return CheckTypePresent(ctx, e, book::kTransformerTable);
    case kKindStabiliser:
      return CheckTypePresent(ctx, e, book::kStabiliserTable);
    default:
      return {};
  }
}

// Kinds that keep an object record per branch (the node's table is keyed by
// node number, not by branch key).
bool ObjectMissing(PrepareContext& ctx, const ElementRec& e) {
  const int table = ObjectTableOfKind(e.kind);
  if (table == 0 || e.kind == kKindNode) return false;
  return ctx.Object(e.kind, BranchKeyOf(e)).empty();
}

// One element with the object tables and catalogue types `pass` has read.
void CheckElementIn(CheckPass& pass, CalcClass& calc, int position) {
  PrepareContext& ctx = pass.ctx;
  if (position < 1 || position > calc.Count()) return;
  ElementRec& e = calc.Element(position);
  if (Unchecked(e.kind)) return;
  if (ObjectMissing(ctx, e)) {
    e.violations |= BitMask(kViolationObjectMissing);
    return;
  }
  const ModelSettings& settings = ctx.Settings();
  std::uint32_t found = WorkingViolations(e, settings);
  if (e.kind == kKindBreaker || e.kind == kKindFuse)
    found |= ProtectionViolations(pass, e, settings);
  const EquipmentCheck equipment = CheckEquipment(calc, ctx, position, e);
  if (!equipment.typeFound) {
    e.violations = BitMask(kViolationTypeMissing);
    return;
  }
  e.violations |= found | equipment.violations;
}

}  // namespace

void CheckElement(CalcClass& calc, int position) {
  CurveReadings readings;
  CheckPass pass(calc.Model(), readings);
  CheckElementIn(pass, calc, position);
}

bool CheckElements(CalcClass& calc) {
  CurveReadings readings;
  CheckPass pass(calc.Model(), readings);
  for (int i = 1; i <= calc.Count(); ++i) CheckElementIn(pass, calc, i);
  return true;
}

bool CheckElements(CalcClass& calc, StageStorage& storage) {
  // One pass for the tree: each catalogue type is read, each characteristic
  // prepared and each pair of devices compared once.
  CheckPass pass(calc.Model(), storage.readings);
  for (int i = 1; i <= calc.Count(); ++i) CheckElementIn(pass, calc, i);
  return true;
}

std::string ViolationText(std::uint32_t violations) {
  if (violations == 0) return {};
  std::string text = "#";
  for (const ViolationCode& v : kViolationCodes) {
    if (BitTest(violations, v.bit)) text += v.code;
  }
  return text;
}

}  // namespace kordavelt
