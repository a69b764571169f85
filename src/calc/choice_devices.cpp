// The automatic choice of device types: each must carry the working current
// at its rating; a circuit breaker must also break the largest current at
// its place. Named devices form a series by their name up to "-", breakers
// by their series code.

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/constants.h"
#include "calc/choice_kinds.h"
#include "calc/prepare_context.h"
#include "calc/type_search.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/value_list.h"

namespace kordavelt {
namespace {

// The type code the object of `kind` on branch `key` holds; 0 without an object.
std::int32_t PresentType(PrepareContext& ctx, int kind, std::int32_t key) {
  const Bytes object = ctx.Object(kind, key);
  return object.empty() ? 0 : TypeOnlyRec(object).Type();
}

// Rules of a named device series rated by `rated` (A) and growing by `size`.
TypeSearchRules NamedSeriesRules(const std::string& series, long double currentA,
                                 long double (*rated)(Bytes), long double (*size)(Bytes)) {
  TypeSearchRules rules;
  rules.inSeries = [series](Bytes t) { return SeriesName(book::NamedRec(t).Type()) == series; };
  rules.size = size;
  rules.satisfies = [currentA, rated](Bytes t, bool strict) {
    return Meets(rated(t), currentA, strict);
  };
  return rules;
}

long double TrunkingCurrent(Bytes t) { return book::TrunkingRec(t).Inom(); }
long double RelayCurrent(Bytes t) { return book::RelayRec(t).Inom(); }
long double SwitchCurrent(Bytes t) { return book::SwitchRec(t).Inom(); }
long double StarterCurrent(Bytes t) { return book::StarterRec(t).Inom(); }
long double ReactorCurrent(Bytes t) { return book::ReactorRec(t).Inom(); }
long double CurrentTransformerCurrent(Bytes t) { return book::CurrentTransformerRec(t).Inom(); }
long double FuseCurrent(Bytes t) { return book::FuseRec(t).Inom(); }
// S (kVA) over the line voltage (V), in amperes.
long double StabiliserCurrent(Bytes t) {
  const book::StabiliserRec type(t);
  return type.Unom() > 0 ? type.Snom() / kSqrt3 / type.Unom() * 1000 : 0;
}
long double StabiliserPower(Bytes t) { return book::StabiliserRec(t).Snom(); }

// The devices chosen by their rated current alone.
struct RatedKind {
  int kind;
  long double (*rated)(Bytes);
  long double (*size)(Bytes);
};
constexpr RatedKind kRatedKinds[] = {
    {kKindTrunkingK, TrunkingCurrent, TrunkingCurrent},
    {kKindCurrentRelay, RelayCurrent, RelayCurrent},
    {kKindSwitch, SwitchCurrent, SwitchCurrent},
    {kKindStarter, StarterCurrent, StarterCurrent},
    {kKindStabiliser, StabiliserCurrent, StabiliserPower},
    {kKindReactor, ReactorCurrent, ReactorCurrent},
    {kKindCurrentTransformer, CurrentTransformerCurrent, CurrentTransformerCurrent},
};

// The rated current a release takes under a breaker rated `breakerA`: the
// first of its rated currents not below the breaker's, the breaker's own
// when the release offers none.
long double ReleaseRatedCurrent(const std::vector<float>& slots, long double breakerA) {
  const std::vector<float> values = ValueListValues(slots);
  if (IsValueRange(slots)) {
    return breakerA <= values[1] ? std::max<long double>(values[0], breakerA) : breakerA;
  }
  for (const float value : values) {
    if (value >= breakerA) return value;
  }
  return breakerA;
}

}  // namespace

bool ChooseRatedDeviceType(PrepareContext& ctx, const ElementRec& e) {
  const auto* rated = std::find_if(std::begin(kRatedKinds), std::end(kRatedKinds),
                                   [&e](const RatedKind& k) { return k.kind == e.kind; });
  if (rated == std::end(kRatedKinds)) return false;
  // The reference book numbers its tables by the kinds that use them.
  const int table = rated->kind;
  const std::int32_t key = BranchKeyOf(e);
  const std::int32_t present = PresentType(ctx, rated->kind, key);
  auto presentBytes = ctx.BookType(table, present);
  if (presentBytes.empty()) return false;
  const std::string series = SeriesName(book::NamedRec(presentBytes).Type());
  const CatalogueType chosen =
      SearchType(*ctx.Book(), table, present,
                 NamedSeriesRules(series, e.checkCurrent, rated->rated, rated->size));
  if (chosen.code == 0 || chosen.code == present) return false;
  return StoreChosenType(ctx, rated->kind, key, chosen.code);
}

bool ChooseFuseType(PrepareContext& ctx, const ElementRec& e) {
  const std::int32_t key = BranchKeyOf(e);
  const std::int32_t present = PresentType(ctx, kKindFuse, key);
  auto presentBytes = ctx.BookType(book::kFuseTable, present);
  if (presentBytes.empty()) return false;
  const std::string series = SeriesName(book::FuseRec(presentBytes).Type());
  CatalogueType chosen =
      SearchType(*ctx.Book(), book::kFuseTable, present,
                 NamedSeriesRules(series, e.checkCurrent, FuseCurrent, FuseCurrent));
  if (chosen.code == 0 || chosen.code == present) return false;
  const float link = book::FuseRec(chosen.record).Inom();
  return StoreChosenType(ctx, kKindFuse, key, chosen.code,
                         [link](Bytes o) { FuseRec(o).SetIpv(link); });
}

bool ChooseBreakerType(PrepareContext& ctx, const ElementRec& e) {
  const std::int32_t key = BranchKeyOf(e);
  const std::int32_t present = PresentType(ctx, kKindBreaker, key);
  auto presentBytes = ctx.BookType(book::kBreakerTable, present);
  if (presentBytes.empty()) return false;
  const book::BreakerRec breaker(presentBytes);
  const std::uint16_t series = breaker.Seria();
  // A breaker with a release is never exchanged for one without.
  const bool withRelease = breaker.TripUnit() != 0;
  const long double currentA = e.checkCurrent;
  const long double breakKA = e.ikd;

  TypeSearchRules rules;
  rules.inSeries = [series, withRelease](Bytes t) {
    const book::BreakerRec type(t);
    return type.Seria() == series && (!withRelease || type.TripUnit() != 0);
  };
  rules.size = [](Bytes t) { return book::BreakerRec(t).Inom(); };
  rules.satisfies = [currentA, breakKA](Bytes t, bool strict) {
    const book::BreakerRec type(t);
    return Meets(type.Inom(), currentA, strict) && Meets(type.Iswitch(), breakKA, strict);
  };
  CatalogueType chosen = SearchType(*ctx.Book(), book::kBreakerTable, present, rules);
  if (chosen.code == 0 || chosen.code == present) return false;

  const book::BreakerRec next(chosen.record);
  const std::int32_t release = next.TripUnit();
  if (release == 0) return StoreChosenType(ctx, kKindBreaker, key, chosen.code);
  // The new breaker's release, rated for the breaker, set at one times its rating.
  auto releaseBytes = ctx.BookType(book::kTripUnitTable, release);
  const book::TripUnitRec unit(releaseBytes);
  const auto releaseA = static_cast<float>(ReleaseRatedCurrent(unit.Inom(), next.Inom()));
  const float setting = unit.IrUnit() == 1 ? 1.0f : releaseA;  // "*In" or amperes
  return StoreChosenType(ctx, kKindBreaker, key, chosen.code, [=](Bytes o) {
    BreakerRec changed(o);
    changed.SetTripUnitType(release);
    changed.SetInom(releaseA);
    changed.SetIr(setting);
  });
}

bool ChooseTransformerType(PrepareContext& ctx, const ElementRec& e) {
  const std::int32_t key = BranchKeyOf(e);
  const std::int32_t present = PresentType(ctx, kKindTransformer, key);
  auto presentBytes = ctx.BookType(book::kTransformerTable, present);
  if (presentBytes.empty()) return false;
  const book::TransformerRec transformer(presentBytes);
  const std::string series = SeriesName(transformer.Type());
  const float high = transformer.Uv();
  const float low = transformer.Un();
  // The element's currents are those of the winding the tree leaves by.
  const bool ownDirection = e.signedKey > 0;
  const long double currentA = e.checkCurrent;

  TypeSearchRules rules;
  rules.inSeries = [&series, high, low](Bytes t) {
    const book::TransformerRec type(t);
    return type.Uv() == high && type.Un() == low && SeriesName(type.Type()) == series;
  };
  rules.size = [](Bytes t) { return book::TransformerRec(t).Snom(); };
  rules.satisfies = [currentA, ownDirection](Bytes t, bool strict) {
    const book::TransformerRec type(t);
    const long double kv = ownDirection ? type.Un() : type.Uv();
    const long double rated = kv > 0 ? type.Snom() / kSqrt3 / kv : 0;
    return Meets(rated, currentA, strict);
  };
  CatalogueType chosen = SearchType(*ctx.Book(), book::kTransformerTable, present, rules);
  if (chosen.code == 0 || chosen.code == present) return false;

  // As when the user chooses a type: the object takes the type's data.
  const book::TransformerRec next(chosen.record);
  return StoreChosenType(ctx, kKindTransformer, key, chosen.code, [&next](Bytes o) {
    TransformerRec changed(o);
    changed.SetUv(next.Uv());
    changed.SetUn(next.Un());
    changed.SetPh(next.Ph());
    changed.SetPk(next.Pk());
    changed.SetUk(next.Uk());
    changed.SetIh(next.Ih());
    const int range = std::abs(next.Np());
    changed.SetNreg(static_cast<std::int8_t>(std::clamp<int>(changed.Nreg(), -range, range)));
  });
}

}  // namespace kordavelt
