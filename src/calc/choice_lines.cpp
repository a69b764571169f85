// The automatic choice of line types: cables, insulated wires and overhead
// wires. A line type meets its requirement when its conductors withstand the
// Joule integrals of the faults cleared by the protections (the larger of the
// cross-sections needed for the main protection's short-circuit limit and the
// backup protection's non-ignition limit) and when its catalogue current,
// corrected to where the line is laid, carries the working current, or the
// current its protection coefficient Кзащ asks for. Parallel conductors
// share both: the cross-section and the current of all of them count, as in
// the preparation of the line's parameters.

#include <algorithm>

#include "calc/choice_kinds.h"
#include "calc/choice_requirements.h"
#include "calc/prepare_context.h"
#include "calc/type_search.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"

namespace kordavelt {
namespace {

// Catalogue currents are given at 25 °C in air and 15 °C in ground.
constexpr long double kReferenceAirTemp = 25.0L;
constexpr long double kReferenceGroundTemp = 15.0L;
// The window gives an insulated wire without a working temperature 65 °C.
constexpr long double kDefaultWireTemp = 65.0L;

// What a line type must offer: its conductors' total cross-section, mm², and
// its catalogue current, A.
struct LineRequirement {
  long double sectionMm2 = 0;
  long double currentA = 0;
};

bool LineMeets(long double sectionMm2, long double currentA, const LineRequirement& r,
               bool strict) {
  return Meets(sectionMm2, r.sectionMm2, strict) && Meets(currentA, r.currentA, strict);
}

// The working current a line is chosen for: its check current, raised to the
// one its protection coefficient asks for.
long double DesignCurrent(const ElementRec& e, int kzashPercent) {
  return std::max<long double>(e.checkCurrent, ProtectionCurrent(e, kzashPercent));
}

// Cables in parallel per phase: single-core cables go three to a set, the
// count rounded up to whole sets.
long double ParallelCables(int count, bool singleCore) {
  count = std::max(count, 1);
  if (!singleCore) return count;
  return std::min((count + 2) / 3 * 3, 255) / 3.0L;
}

}  // namespace

bool ChooseCableType(PrepareContext& ctx, const ElementRec& e) {
  const std::int32_t key = BranchKeyOf(e);
  const Bytes object = ctx.Object(kKindCableLine, key);
  if (object.empty()) return false;
  const CableLineRec line(object);
  const std::int32_t present = line.Type();
  const bool inAir = line.Codepr() == 0;  // "Откр"; trench and block are in ground
  const long double kp = line.Kpr() != 0 ? line.Kpr() : 1;
  const int count = line.Nk();
  const int kzash = line.Kdk();

  auto presentBytes = ctx.BookType(book::kCableTable, present);
  if (presentBytes.empty()) return false;
  const book::CableRec cable(presentBytes);
  const std::int32_t brandCode = cable.Type();
  const std::uint8_t cores = cable.CondCount();
  auto brandBytes = ctx.BookType(book::kCableBrandTable, brandCode);
  const book::CableBrandRec brand(brandBytes);
  const bool aluminium = brand.CondMat() == 1;
  const long double parallel = ParallelCables(count, cores < 2);

  const ModelSettings& settings = ctx.Settings();
  const long double ambient = inAir ? settings.AirTemperature() : settings.GroundTemperature();
  const long double reference = inAir ? kReferenceAirTemp : kReferenceGroundTemp;
  LineRequirement need;
  need.sectionMm2 =
      std::max(ThermalSection(e.joule[0], aluminium, brand.Tterm(), brand.Tpermiss()),
               ThermalSection(e.joule[3], aluminium, brand.Tignit(), brand.Tpermiss()));
  need.currentA = ScaledCurrent(DesignCurrent(e, kzash),
                                AmbientCorrection(brand.Tpermiss(), reference, ambient)) /
                  parallel / kp;

  TypeSearchRules rules;
  rules.inSeries = [brandCode, cores](Bytes t) {
    const book::CableRec type(t);
    return type.Type() == brandCode && type.CondCount() == cores;
  };
  rules.size = [](Bytes t) { return book::CableRec(t).CrossCectF(); };
  rules.satisfies = [&need, parallel, inAir](Bytes t, bool strict) {
    const book::CableRec type(t);
    const long double current = inAir ? type.IpermissAir() : type.IpermissEarch();
    return LineMeets(type.CrossCectF() * parallel, current, need, strict);
  };
  const CatalogueType chosen = SearchType(*ctx.Book(), book::kCableTable, present, rules);
  if (chosen.code == 0 || chosen.code == present) return false;
  // The second cable type was laid beside the old one; it no longer fits.
  return StoreChosenType(ctx, kKindCableLine, key, chosen.code, [](Bytes o) {
    CableLineRec changed(o);
    changed.SetType2(0);
    changed.SetNk2(0);
  });
}

bool ChooseWireType(PrepareContext& ctx, const ElementRec& e) {
  const std::int32_t key = BranchKeyOf(e);
  const Bytes object = ctx.Object(kKindWiring, key);
  if (object.empty()) return false;
  const WiringRec wiring(object);
  const std::int32_t present = wiring.Type();
  const long double wires = std::max<int>(wiring.Ncond(), 1);
  const long double coefficient = wiring.Kpr() != 0 ? wiring.Kpr() : 1;
  const int kzash = wiring.Kdp();

  auto presentBytes = ctx.BookType(book::kInsulatedWireTable, present);
  if (presentBytes.empty()) return false;
  const book::InsulatedWireRec wire(presentBytes);
  const std::string name = TrimmedName(wire.Type());
  const std::uint8_t cores = wire.CondCount();
  const bool aluminium = wire.CondMat() == 1;
  const long double working = wire.Tpermiss() != 0 ? wire.Tpermiss() : kDefaultWireTemp;

  LineRequirement need;
  need.sectionMm2 = std::max(ThermalSection(e.joule[0], aluminium, kWireShortCircuitTemp, working),
                             ThermalSection(e.joule[3], aluminium, kWireIgnitionTemp, working));
  const long double correction =
      AmbientCorrection(working, kReferenceAirTemp, ctx.Settings().AirTemperature());
  need.currentA = ScaledCurrent(DesignCurrent(e, kzash), correction) / wires * coefficient;

  TypeSearchRules rules;
  rules.inSeries = [&name, cores](Bytes t) {
    const book::InsulatedWireRec type(t);
    return type.CondCount() == cores && TrimmedName(type.Type()) == name;
  };
  rules.size = [](Bytes t) { return book::InsulatedWireRec(t).CrossCectF(); };
  rules.satisfies = [&need, wires](Bytes t, bool strict) {
    const book::InsulatedWireRec type(t);
    return LineMeets(type.CrossCectF() * wires, type.IpermissAir(), need, strict);
  };
  const CatalogueType chosen = SearchType(*ctx.Book(), book::kInsulatedWireTable, present, rules);
  if (chosen.code == 0 || chosen.code == present) return false;
  return StoreChosenType(ctx, kKindWiring, key, chosen.code);
}

bool ChooseOverheadWireType(PrepareContext& ctx, const ElementRec& e) {
  const std::int32_t key = BranchKeyOf(e);
  const Bytes object = ctx.Object(kKindOverheadLine, key);
  if (object.empty()) return false;
  const OverheadLineRec line(object);
  const std::int32_t present = line.Type();
  const int perPhase = line.WiresPerPhase();
  const long double wires = perPhase == 0 || perPhase > 10 ? 1 : perPhase;

  auto presentBytes = ctx.BookType(book::kBareWireTable, present);
  if (presentBytes.empty()) return false;
  const book::BareWireRec wire(presentBytes);
  const std::string series = SeriesName(wire.Type());
  // Every metal but copper heats by the aluminium constants.
  const bool aluminium = wire.CondMat() != 0;
  const long double limit =
      aluminium ? kOverheadShortCircuitTempAluminium : kOverheadShortCircuitTempCopper;

  LineRequirement need;
  need.sectionMm2 = ThermalSection(e.joule[0], aluminium, limit, kOverheadWorkingTemp);
  const long double correction =
      AmbientCorrection(kOverheadWorkingTemp, kReferenceAirTemp, ctx.Settings().AirTemperature());
  need.currentA = ScaledCurrent(e.checkCurrent, correction) / wires;

  TypeSearchRules rules;
  rules.inSeries = [&series](Bytes t) { return SeriesName(book::BareWireRec(t).Type()) == series; };
  rules.size = [](Bytes t) { return book::BareWireRec(t).CrossCectF(); };
  rules.satisfies = [&need, wires](Bytes t, bool strict) {
    const book::BareWireRec type(t);
    return LineMeets(type.CrossCectF() * wires, type.Ipermiss(), need, strict);
  };
  const CatalogueType chosen = SearchType(*ctx.Book(), book::kBareWireTable, present, rules);
  if (chosen.code == 0 || chosen.code == present) return false;
  return StoreChosenType(ctx, kKindOverheadLine, key, chosen.code);
}

}  // namespace kordavelt
