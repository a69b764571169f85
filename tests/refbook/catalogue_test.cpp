// The delivered reference book, as the build made it from data/refbook: what
// an engineer relies on without looking — every type readable, every
// reference resolved, characteristics that rise the right way, resistances
// that fall with the section and with the rating, reactances that follow the
// geometry and not the metal, zero-sequence loops never below the phase
// conductor, transformers whose impedances fit their nameplates, motors
// whose data fit each other, and codes in catalogue order. The checks of
// cables, trunking, transformers and motors each caught a delivered value:
// copper reactances 30 % above aluminium ones, single cores with the
// reactance of a three-core cable, a trunking series whose R0 rose with the
// rating, a 1600 kVA star-star transformer with Z0/Z1 9.6, motors whose
// efficiency fell with the power.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/dial_list.h"
#include "calc/type_search.h"
#include "refbook/automatic_code.h"
#include "refbook/book_categories.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/catalogue_book.h"
#include "refbook/engineering_defaults.h"
#include "refbook/vth_block.h"

namespace kordavelt::testing {
namespace {

// Categories whose types are still to be sourced (see data/refbook/SOURCES.md);
// each must leave this list once its file holds types.
const std::set<int> kCategoriesToCome = {book::kStabiliserTable, book::kReactorTable,
                                         book::kSynchronousMachineTable};

TEST_F(Catalogue, EveryCategoryHasTypesOfItsRecordLengthWithNames) {
  for (const BookTableLayout& layout : BookTableLayouts()) {
    SCOPED_TRACE(layout.caption);
    if (kCategoriesToCome.contains(layout.table)) {
      EXPECT_TRUE(Types(layout.table).empty()) << "it holds types now: take it off the list";
    } else {
      EXPECT_FALSE(Types(layout.table).empty());
    }
    for (CatalogueType& type : Types(layout.table)) {
      EXPECT_EQ(static_cast<int>(type.bytes.size()), BookRecordLength(layout.table));
      EXPECT_GT(type.code, 0);
      if (layout.table != book::kCableTable) {
        EXPECT_FALSE(book::NamedRec(type.Data()).Type().empty()) << type.code;
      }
    }
  }
}

TEST_F(Catalogue, EveryReferenceResolves) {
  for (CatalogueType& type : Types(book::kCableTable)) {
    EXPECT_TRUE(Has(book::kCableBrandTable, book::CableRec(type.Data()).Type())) << type.code;
  }
  for (CatalogueType& type : Types(book::kBreakerTable)) {
    const book::BreakerRec breaker(type.Data());
    EXPECT_TRUE(Has(book::kBreakerSeriesTable, breaker.Seria())) << breaker.Type();
    if (breaker.TripUnit() != 0) {
      EXPECT_TRUE(Has(book::kTripUnitTable, breaker.TripUnit())) << breaker.Type();
    }
  }
  for (CatalogueType& type : Types(book::kTripUnitTable)) {
    const book::TripUnitRec unit(type.Data());
    EXPECT_TRUE(Has(book::kBreakerSeriesTable, unit.Seria())) << unit.Type();
  }
  for (CatalogueType& type : Types(book::kMechanismTable)) {
    const book::MechanismRec mechanism(type.Data());
    EXPECT_TRUE(Has(book::kAsyncMotorTable, mechanism.MotorType()) ||
                Has(book::kSynchronousMachineTable, mechanism.MotorType()))
        << mechanism.MechType();
  }
}

// The longest time a curve gives at ln current `x`: the greatest of its
// segments that span x (a vertical step spans a range of times); nullopt
// outside the curve.
std::optional<float> LongestTimeAt(ConstBytes block, int first, float x) {
  std::optional<float> longest;
  for (int k = first; k < first + kVthPointsPerCurve - 1; ++k) {
    const VthPoint a = VthPointAt(block, k);
    const VthPoint b = VthPointAt(block, k + 1);
    if (x < a.lnCurrent || x > b.lnCurrent) continue;
    const float t =
        b.lnCurrent - a.lnCurrent < 1e-6f
            ? std::max(a.lnTime, b.lnTime)
            : a.lnTime + (b.lnTime - a.lnTime) * (x - a.lnCurrent) / (b.lnCurrent - a.lnCurrent);
    longest = std::max(longest.value_or(t), t);
  }
  return longest;
}

// Each boundary curve: currents never fall and times never rise from point
// to point (ln values rounded to float may step back by a hair); where both
// curves reach, the shortest times lie below the longest.
void ExpectMonotoneCharacteristic(ConstBytes block, const std::string& name) {
  constexpr float kHair = 1e-3f;
  ASSERT_FALSE(VthIsEmpty(block)) << name << " has no characteristic";
  for (const int first : {1, 8}) {
    for (int k = first + 1; k < first + kVthPointsPerCurve; ++k) {
      const VthPoint before = VthPointAt(block, k - 1);
      const VthPoint point = VthPointAt(block, k);
      EXPECT_GE(point.lnCurrent, before.lnCurrent - kHair) << name << " point " << k;
      EXPECT_LE(point.lnTime, before.lnTime + kHair) << name << " point " << k;
    }
  }
  for (int k = 1; k <= kVthPointsPerCurve; ++k) {
    const VthPoint shortest = VthPointAt(block, k);
    const std::optional<float> longest = LongestTimeAt(block, 8, shortest.lnCurrent);
    if (!longest) continue;
    EXPECT_LE(shortest.lnTime, *longest + kHair)
        << name << ": the shortest time above the longest at point " << k;
  }
}

TEST_F(Catalogue, EveryCharacteristicIsMonotone) {
  for (CatalogueType& type : Types(book::kFuseTable)) {
    const book::FuseRec fuse(type.Data());
    ExpectMonotoneCharacteristic(fuse.Vth(), fuse.Type());
  }
  for (CatalogueType& type : Types(book::kTripUnitTable)) {
    const book::TripUnitRec unit(type.Data());
    ExpectMonotoneCharacteristic(unit.Vth(), unit.Type());
  }
}

// Groups ordered by section: the resistance per metre must fall.
template <typename Key>
void ExpectFallingResistance(std::map<Key, std::map<float, float>> groups, const char* what) {
  for (const auto& [key, bySection] : groups) {
    float previous = INFINITY;
    for (const auto& [section, r1] : bySection) {
      EXPECT_GT(r1, 0) << what << " " << section;
      EXPECT_LT(r1, previous) << what << " " << section << " mm²";
      previous = r1;
    }
  }
}

TEST_F(Catalogue, ResistancesFallWithTheSection) {
  std::map<std::tuple<std::int32_t, int, float>, std::map<float, float>> cables;
  for (CatalogueType& type : Types(book::kCableTable)) {
    const book::CableRec cable(type.Data());
    cables[{cable.Type(), cable.CondCount(), cable.CrossCectN() > 0 ? 1.0f : 0.0f}]
          [cable.CrossCectF()] = cable.R1();
  }
  ExpectFallingResistance(cables, "cable");

  std::map<std::pair<std::string, int>, std::map<float, float>> wires;
  for (CatalogueType& type : Types(book::kInsulatedWireTable)) {
    const book::InsulatedWireRec wire(type.Data());
    const std::string name = wire.Type();
    wires[{name.substr(0, name.find_first_of(" -")), wire.CondMat()}][wire.CrossCectF()] =
        wire.R1();
  }
  ExpectFallingResistance(wires, "insulated wire");

  std::map<std::pair<int, int>, std::map<float, float>> bare;
  for (CatalogueType& type : Types(book::kBareWireTable)) {
    const book::BareWireRec wire(type.Data());
    bare[{wire.CondMat(), wire.Construction()}][wire.CrossCectF()] = wire.R1();
  }
  ExpectFallingResistance(bare, "bare wire");
}

// --- Cables -------------------------------------------------------------------------

// The zero-sequence loop runs out on the phases and back on the neutral (and
// what lies beside it): R0 = R1 + 3·Rreturn, never below R1.
TEST_F(Catalogue, NoCableHasAZeroSequenceResistanceBelowItsPhaseResistance) {
  for (CatalogueType& type : Types(book::kCableTable)) {
    const book::CableRec cable(type.Data());
    EXPECT_GE(cable.R0(), cable.R1()) << type.code << ": " << cable.CrossCectF() << " mm²";
    EXPECT_GE(cable.X0(), cable.X1()) << type.code << ": " << cable.CrossCectF() << " mm²";
  }
}

// Reactance depends on how far apart the conductors lie, not on what they
// are made of: cables of one core count and section share one X1.
TEST_F(Catalogue, CablesOfOneGeometryHaveOneReactanceWhateverTheirMetal) {
  std::map<std::pair<int, float>, std::set<float>> reactances;
  for (CatalogueType& type : Types(book::kCableTable)) {
    const book::CableRec cable(type.Data());
    reactances[{cable.CondCount(), cable.CrossCectF()}].insert(cable.X1());
  }
  for (const auto& [size, values] : reactances) {
    EXPECT_EQ(values.size(), 1u) << size.first << " × " << size.second
                                 << " mm²: " << *values.begin() << " and " << *values.rbegin()
                                 << " mΩ/m";
  }
}

// Three single-core cables lie at least a cable's diameter apart, farther
// than the cores inside one three-core cable, so their reactance is larger
// (about 0.08 mΩ/m at 240 mm² laid touching in trefoil).
TEST_F(Catalogue, SingleCoreCablesHaveMoreReactanceThanThreeCoreOnes) {
  std::map<std::pair<std::int32_t, float>, float> threeCore;
  for (CatalogueType& type : Types(book::kCableTable)) {
    const book::CableRec cable(type.Data());
    if (cable.CondCount() == 3) threeCore[{cable.Type(), cable.CrossCectF()}] = cable.X1();
  }
  int compared = 0;
  for (CatalogueType& type : Types(book::kCableTable)) {
    const book::CableRec cable(type.Data());
    if (cable.CondCount() != 1) continue;
    if (cable.CrossCectF() == 240) {
      EXPECT_NEAR(cable.X1(), 0.082, 0.005) << type.code;
    }
    const auto found = threeCore.find({cable.Type(), cable.CrossCectF()});
    if (found == threeCore.end()) continue;
    EXPECT_GT(cable.X1(), 1.2f * found->second) << type.code << ": " << cable.CrossCectF();
    ++compared;
  }
  EXPECT_GT(compared, 30);
}

// --- Busbar trunking ---------------------------------------------------------------

// A series (the name up to "-", as the automatic choice sees it) grows by
// heavier bars: nothing of its impedance rises with the rating.
TEST_F(Catalogue, TrunkingImpedancesFallWithTheRatingWithinEachSeries) {
  std::map<std::string, std::map<float, book::TrunkingRec>> series;
  for (CatalogueType& type : Types(book::kTrunkingTable)) {
    const book::TrunkingRec trunking(type.Data());
    series[SeriesName(trunking.Type())].emplace(trunking.Inom(), trunking);
  }
  for (const auto& [name, byRating] : series) {
    std::optional<book::TrunkingRec> smaller;
    for (const auto& [rating, trunking] : byRating) {
      SCOPED_TRACE(trunking.Type());
      EXPECT_GE(trunking.R0(), trunking.R1());
      EXPECT_GE(trunking.X0(), trunking.X1());
      if (smaller) {
        EXPECT_LE(trunking.R1(), smaller->R1());
        EXPECT_LE(trunking.X1(), smaller->X1());
        EXPECT_LE(trunking.R0(), smaller->R0());
        EXPECT_LE(trunking.X0(), smaller->X0());
      }
      smaller = trunking;
    }
  }
  EXPECT_GE(series.size(), 2u);
}

// --- Transformers ------------------------------------------------------------------

TEST_F(Catalogue, TransformerImpedancesFitTheirNameplates) {
  for (CatalogueType& type : Types(book::kTransformerTable)) {
    const book::TransformerRec t(type.Data());
    SCOPED_TRACE(::testing::Message() << t.Type() << " " << t.Snom() << " kVA");
    ASSERT_GT(t.Snom(), 0);
    ASSERT_GT(t.Un(), 0);
    // The active part of the short-circuit voltage lies within Uk.
    const double ur = t.Pk() / (10.0 * t.Snom());
    EXPECT_LT(ur, t.Uk());
    EXPECT_GT(t.Uv(), t.Un());
    // Positive-sequence impedance at the low side, mΩ.
    const double r1 = t.Un() * t.Un() * t.Pk() * 1e6 / (t.Snom() * t.Snom());
    const double z1 = t.Un() * t.Un() * t.Uk() * 1e4 / t.Snom();
    const double x1 = std::sqrt(z1 * z1 - r1 * r1);
    const double z0 = std::hypot(t.R0(), t.X0());
    const std::string group(ListItem(kConnectionGroups, t.Group()));
    if (group == "D/Y0" || group == "Y/Z") {
      // Delta or zigzag: the zero sequence sees the windings as the positive one does.
      EXPECT_NEAR(t.R0(), r1, 0.02 * r1);
      EXPECT_NEAR(t.X0(), x1, 0.02 * x1);
    } else if (group == "Y/Y0") {
      // Star-star on a three-limb core: the zero-sequence flux closes through
      // the tank, some 7 to 9 times the short-circuit impedance.
      EXPECT_GE(z0 / z1, 7.0);
      EXPECT_LE(z0 / z1, 9.0);
      EXPECT_GT(t.X0(), t.R0());
      EXPECT_GT(t.R0(), r1);
    }
  }
}

// --- Asynchronous motors -------------------------------------------------------------

struct MotorSize {
  float pnom;
  book::AsyncMotorRec motor;
};

// The motors of each series (its synchronous speed) by rising power.
std::map<int, std::vector<MotorSize>> MotorSeries(std::vector<CatalogueType>& types) {
  std::map<int, std::vector<MotorSize>> series;
  for (CatalogueType& type : types) {
    const book::AsyncMotorRec motor(type.Data());
    series[static_cast<int>(std::lround(3000 / motor.Speed()))].push_back({motor.Pnom(), motor});
  }
  for (auto& [poles, sizes] : series) {
    std::sort(sizes.begin(), sizes.end(),
              [](const MotorSize& a, const MotorSize& b) { return a.pnom < b.pnom; });
  }
  return series;
}

// Rated current, A: P / (√3·U·η·cos φ), as the receivers of a motor group take it.
double RatedCurrent(const book::AsyncMotorRec& m) {
  return m.Pnom() * 1000 / (std::sqrt(3.0) * m.Unom() * m.Efficiency() / 100 * m.CosF());
}

// The equivalent circuit is the program's own reading of the nameplate; a
// nameplate value corrected without it would start motors from stale values.
TEST_F(Catalogue, MotorCircuitsFollowTheirNameplates) {
  for (CatalogueType& type : Types(book::kAsyncMotorTable)) {
    const book::AsyncMotorRec motor(type.Data());
    SCOPED_TRACE(motor.Type());
    EXPECT_NEAR(motor.Snom(), RatedSlip(motor.Speed()), 0.005);
    AsyncMotorValues derived{.pnom = motor.Pnom(),
                             .cosF = motor.CosF(),
                             .efficiency = motor.Efficiency(),
                             .istart = motor.Istart(),
                             .mstart = motor.Mstart(),
                             .snom = motor.Snom()};
    FillAsyncMotorDefaults(derived);
    EXPECT_NEAR(motor.Rs(), derived.rs, 0.002 * derived.rs);
    EXPECT_NEAR(motor.Rr(), derived.rr, 0.002 * derived.rr);
    EXPECT_NEAR(motor.Xd2(), derived.x2, 0.002 * derived.x2);
    EXPECT_NEAR(motor.Ta(), derived.ta, 0.005 * derived.ta);
    EXPECT_NEAR(motor.Tr(), derived.tr, 0.005 * derived.tr);
  }
}

// Within a series a larger motor is not less efficient, does not draw more
// current per kilowatt (beyond 5 %: η and cos φ both rise with the frame),
// and does not slip more (beyond a tenth, the scatter of the smallest frames).
TEST_F(Catalogue, MotorsOfASeriesImproveWithTheirPower) {
  for (const auto& [poles, sizes] : MotorSeries(Types(book::kAsyncMotorTable))) {
    for (std::size_t k = 1; k < sizes.size(); ++k) {
      const book::AsyncMotorRec& smaller = sizes[k - 1].motor;
      const book::AsyncMotorRec& motor = sizes[k].motor;
      SCOPED_TRACE(motor.Type() + " after " + smaller.Type());
      EXPECT_GE(motor.Efficiency(), smaller.Efficiency());
      EXPECT_LE(RatedCurrent(motor) / motor.Pnom(), 1.05 * RatedCurrent(smaller) / smaller.Pnom());
      EXPECT_LE(motor.Snom(), 1.1f * smaller.Snom());
    }
  }
}

// --- Codes -----------------------------------------------------------------------------

TEST_F(Catalogue, CodesFollowTheCatalogueOrder) {
  for (const BookTableLayout& layout : BookTableLayouts()) {
    // Brand codes count the records, which the composed value cannot show.
    if (CodeSearchWidth(layout.table) == 0 || layout.table == book::kCableBrandTable) continue;
    SCOPED_TRACE(layout.caption);
    std::vector<CatalogueType> types = Types(layout.table);
    std::sort(types.begin(), types.end(),
              [](const CatalogueType& a, const CatalogueType& b) { return a.code < b.code; });
    std::int32_t previous = 0;
    for (CatalogueType& type : types) {
      // A code is its composed value, or the first free code above it.
      // A cable's code carries its brand's.
      const std::int32_t start =
          layout.table == book::kCableTable ? book::CableRec(type.Data()).Type() : 0;
      const std::int32_t composed = ComposedCode(layout.table, type.Data(), start);
      EXPECT_GE(type.code, composed) << type.code;
      EXPECT_GE(composed, previous) << type.code;
      previous = composed;
    }
  }
}

}  // namespace
}  // namespace kordavelt::testing
