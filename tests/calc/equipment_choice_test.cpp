// The automatic equipment choice over small catalogues: a copper 4-core
// cable brand interleaved with another brand and a 3-core size, followed by
// the brand's 6 kV range; a breaker series with two releases; a fuse series.
// The element fields the choice reads (check current, Joule integrals, Iкd,
// the upstream protection) are set directly; one scenario runs the whole
// calculation.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>

#include "calc/calc_scenario.h"
#include "calc/choice_requirements.h"
#include "calc/equipment_choice.h"
#include "calc/load_flow.h"
#include "calc/type_search.h"
#include "calc/vth_class.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"

namespace kordavelt::testing {
namespace {

// Brands ВВГ (copper, 65 / 160 / 350 °C) and АВВГ; cables in code order.
constexpr std::int32_t kCopper = 1001, kAluminium = 1002;
constexpr std::int32_t kCable16 = 0x100, kCable25 = 0x110, kCable3x25 = 0x118, kCable35 = 0x120,
                       kAluminium35 = 0x128, kCable50 = 0x130, kCable70 = 0x140, kCable95 = 0x150,
                       kCable16At6kV = 0x200;
struct CableSize {
  std::int32_t code, brand;
  std::uint8_t cores;
  float section, ground, air, unom;  // mm², A at 15 °C in ground, A at 25 °C in air, V
};
constexpr CableSize kCables[] = {
    {kCable16, kCopper, 4, 16, 75, 70, 1000},          {kCable25, kCopper, 4, 25, 100, 90, 1000},
    {kCable3x25, kCopper, 3, 25, 500, 500, 1000},      {kCable35, kCopper, 4, 35, 120, 110, 1000},
    {kAluminium35, kAluminium, 4, 35, 400, 400, 1000}, {kCable50, kCopper, 4, 50, 145, 135, 1000},
    {kCable70, kCopper, 4, 70, 180, 165, 1000},        {kCable95, kCopper, 4, 95, 215, 200, 1000},
    {kCable16At6kV, kCopper, 4, 16, 80, 75, 6000},
};
constexpr std::uint8_t kInAir = 0, kInGround = 1;  // "Откр", "Трнш"

// The Joule integrals that need exactly `section` mm² of copper from 65 °C
// to the short-circuit limit 160 °C and to the non-ignition limit 350 °C.
double ShortCircuitBt(double section) { return section * section * std::log(388.0 / 293) / 19.58; }
double IgnitionBt(double section) { return section * section * std::log(578.0 / 293) / 19.58; }

class Choice : public ::testing::Test {
 protected:
  Choice() {
    n1 = m.Node();
    n2 = m.Node();
    // Catalogue ambient temperatures: catalogue currents apply as they stand.
    m->Settings().SetGroundTemperature(15);
    m->Settings().SetAirTemperature(25);
    Type<book::CableBrandRec>(book::kCableBrandTable, kCopper, [](auto& b) {
      b.SetTpermiss(65);
      b.SetTterm(160);
      b.SetTignit(350);
    });
    Type<book::CableBrandRec>(book::kCableBrandTable, kAluminium, [](auto& b) { b.SetCondMat(1); });
    for (const CableSize& c : kCables) {
      Type<book::CableRec>(book::kCableTable, c.code, [&c](auto& t) {
        t.SetType(c.brand);
        t.SetCondCount(c.cores);
        t.SetCrossCectF(c.section);
        t.SetIpermissEarch(c.ground);
        t.SetIpermissAir(c.air);
        t.SetUnom(c.unom);
        t.SetR1(18.4f / c.section);
      });
    }
  }

  template <class View>
  void Type(int table, std::int32_t code, const std::function<void(View&)>& fill) {
    tbClass* t = m->Book()->OpenBookTable(table);
    t->Insert(code);
    View view(t->Record());
    fill(view);
    t->MarkModifiedAndFlush();
  }

  // The object record of branch `key`, edited in place by `edit` when given.
  template <class View>
  View Edit(int kind, std::int32_t key, const std::function<void(View&)>& edit = {}) {
    tbClass* objects = m->OpenObjectTable(kind);
    EXPECT_TRUE(modelClass::SeekExact(objects, key));
    View view(objects->Record());
    if (edit) {
      edit(view);
      objects->MarkModifiedAndFlush();
    }
    return view;
  }

  std::int32_t TypeOf(int kind, std::int32_t key) { return Edit<TypeOnlyRec>(kind, key).Type(); }

  // A cable line of `code` from n1 to n2: `count` cables, laying, Кзащ %.
  std::int32_t Cable(std::int32_t code, int count = 1, std::uint8_t laying = kInGround,
                     std::uint8_t kzash = 0) {
    const std::int32_t key = m.Cable(n1, n2, code, 50);
    Edit<CableLineRec>(kKindCableLine, key, [=](CableLineRec& l) {
      l.SetNk(static_cast<std::uint8_t>(count));
      l.SetCodepr(laying);
      l.SetKdk(kzash);
    });
    return key;
  }

  // Runs the choice for the element of branch `key`; the object's type after it.
  std::int32_t Choose(int kind, std::int32_t key, float current,
                      const std::function<void(ElementRec&)>& more = {}) {
    ElementRec e;
    e.signedKey = key;
    e.kind = static_cast<std::uint8_t>(kind);
    e.checkCurrent = current;
    if (more) more(e);
    changed = ChooseEquipment(m.model, e);
    return TypeOf(kind, key);
  }
  std::int32_t ChooseCable(std::int32_t key, float current,
                           const std::function<void(ElementRec&)>& more = {}) {
    return Choose(kKindCableLine, key, current, more);
  }

  CalcScenario s;
  ModelBuilder& m = s.m;
  int n1 = 0, n2 = 0;
  bool changed = false;
};

// --- Cables ---------------------------------------------------------------------------

// Guards the forward walk: it passes over other brands and core counts lying
// between two sizes of the brand, stops at the first size that carries the
// current, and drops the second cable type laid beside the old one.
TEST_F(Choice, UndersizedCableIsEnlargedWithinItsBrandAndCores) {
  const std::int32_t key = Cable(kCable16);
  Edit<CableLineRec>(kKindCableLine, key, [](CableLineRec& l) {
    l.SetType2(kCable25);
    l.SetNk2(1);
  });
  EXPECT_EQ(ChooseCable(key, 130), kCable50);
  EXPECT_TRUE(changed);
  EXPECT_EQ(Edit<CableLineRec>(kKindCableLine, key).Type2(), 0);
  EXPECT_EQ(Edit<CableLineRec>(kKindCableLine, key).Nk2(), 0);
  ASSERT_TRUE(m.Reopen());  // written through: the model keeps the new type
  EXPECT_EQ(TypeOf(kKindCableLine, key), kCable50);
}

// Guards the backward walk and its strictness: a smaller size is taken only
// while it carries the current with room to spare.
TEST_F(Choice, SatisfyingCableShrinksToTheSmallestSizeThatSatisfiesStrictly) {
  EXPECT_EQ(ChooseCable(Cable(kCable95), 100), kCable35);  // 25 mm² carries exactly 100 A
  EXPECT_EQ(ChooseCable(Cable(kCable95), 99), kCable25);
  EXPECT_EQ(ChooseCable(Cable(kCable16), 0), kCable16);
  EXPECT_FALSE(changed);
}

// Guards the end of the series: past its largest 1 kV size the brand's 6 kV
// range starts small again, which the walk must not enter.
TEST_F(Choice, CableTooSmallForAnySizeGetsTheLastOfItsSeries) {
  EXPECT_EQ(ChooseCable(Cable(kCable16), 1000), kCable95);
  EXPECT_EQ(ChooseCable(Cable(kCable16At6kV), 1000), kCable16At6kV);
}

// Guards thermal withstand: the Joule integral may ask more cross-section
// than the current, and the larger of the two faults' sections counts.
TEST_F(Choice, CableNeedingMoreSectionForThermalWithstandThanForCurrent) {
  const auto bt = [](double shortCircuit, double ignition) {
    return [=](ElementRec& e) {
      e.joule[0] = static_cast<float>(ShortCircuitBt(shortCircuit));
      e.joule[3] = static_cast<float>(IgnitionBt(ignition));
    };
  };
  EXPECT_EQ(ChooseCable(Cable(kCable16), 10, bt(40, 0)), kCable50);
  EXPECT_EQ(ChooseCable(Cable(kCable16), 10, bt(40, 60)), kCable70);
  EXPECT_EQ(ChooseCable(Cable(kCable95), 10, bt(0, 60)), kCable70);
}

// Guards the conversions between working and catalogue current: parallel
// cables share it, air laying reads the air rating, and a warmer ambient
// asks more of the catalogue value.
TEST_F(Choice, ParallelCablesAndLayingInWarmAirChangeTheCurrentAsked) {
  EXPECT_EQ(ChooseCable(Cable(kCable16, 2), 260), kCable50);  // 130 A per cable
  m->Settings().SetAirTemperature(35);
  // 100 A · √((65 − 25)/(65 − 35)) = 115.5 A of the air rating.
  EXPECT_EQ(ChooseCable(Cable(kCable16, 1, kInAir), 100), kCable50);
}

// Guards Кзащ: the line must carry the upstream protection's reference
// current · 100 / Кзащ, referred to the line's side of any transformer.
TEST_F(Choice, ProtectionCoefficientRaisesTheCurrentACableMustCarry) {
  vth_class breaker;
  breaker.lower.lnCurrent[0] = breaker.lnIr = static_cast<float>(std::log(0.1));  // Ir = 100 A
  const auto protectedBy = [&breaker](ElementRec& e) { e.mainProtection = &breaker; };
  EXPECT_EQ(ChooseCable(Cable(kCable16, 1, kInGround, 80), 10, protectedBy), kCable50);  // 125 A
  EXPECT_EQ(ChooseCable(Cable(kCable16), 10, protectedBy), kCable16);
  ElementRec below;
  protectedBy(below);
  below.mainShift = static_cast<float>(std::log(25.0));  // 10/0.4 kV between
  EXPECT_NEAR(ProtectionCurrent(below, 100), 2500, 0.1);
}

// Guards the exclusions: a type the user fixed, kinds without a choice,
// missing object records and types are never touched.
TEST_F(Choice, FixedTypesAndExcludedElementsAreNeverChanged) {
  const std::int32_t key = Cable(kCable16);
  EXPECT_EQ(ChooseCable(key, 130, [](ElementRec& e) { e.branchFlags = 0x02; }), kCable16);
  EXPECT_FALSE(changed);
  EXPECT_EQ(Choose(kKindProtectiveDevice, m.Branch(kKindProtectiveDevice, n1, n2), 130), 0);
  EXPECT_FALSE(changed);
  EXPECT_EQ(ChooseCable(Cable(0x999), 130), 0x999);
  ElementRec withoutObject;
  withoutObject.signedKey = key + 10;
  withoutObject.kind = kKindCableLine;
  withoutObject.checkCurrent = 130;
  EXPECT_FALSE(ChooseEquipment(m.model, withoutObject));
}

// --- Breakers and fuses ---------------------------------------------------------------

class BreakerChoice : public Choice {
 protected:
  // Codes in order: a bare 100 A breaker, then Inom × Iоткл with releases, a
  // breaker of another series among them.
  static constexpr std::int32_t kBare100 = 0x1000, k100x10 = 0x1010, k100x25 = 0x1020,
                                kOther160 = 0x1028, k160x25 = 0x1030, k250x10 = 0x1040,
                                k250x25 = 0x1050;
  static constexpr std::int32_t kSmallRelease = 801, kLargeRelease = 802;

  BreakerChoice() {
    Type<book::TripUnitRec>(book::kTripUnitTable, kSmallRelease, [](auto& u) {
      u.SetInom({63, 100, 160, 250});
      u.SetIrUnit(1);  // "*In"
    });
    Type<book::TripUnitRec>(book::kTripUnitTable, kLargeRelease, [](auto& u) { u.SetInom({400}); });
    const struct {
      std::int32_t code;
      std::uint16_t series;
      float inom, breakKA;
      std::int32_t release;
    } kBreakers[] = {{kBare100, 7, 100, 10, 0},
                     {k100x10, 7, 100, 10, kSmallRelease},
                     {k100x25, 7, 100, 25, kSmallRelease},
                     {kOther160, 8, 160, 50, kSmallRelease},
                     {k160x25, 7, 160, 25, kSmallRelease},
                     {k250x10, 7, 250, 10, kSmallRelease},
                     {k250x25, 7, 250, 25, kLargeRelease}};
    for (const auto& b : kBreakers) {
      Type<book::BreakerRec>(book::kBreakerTable, b.code, [&b](auto& t) {
        t.SetSeria(b.series);
        t.SetInom(b.inom);
        t.SetIswitch(b.breakKA);
        t.SetTripUnit(b.release);
      });
    }
  }

  std::int32_t Breaker(std::int32_t code) {
    const std::int32_t key = m.Breaker(n1, n2, code);
    Edit<BreakerRec>(kKindBreaker, key, [](BreakerRec& b) {
      b.SetTripUnitType(kLargeRelease);
      b.SetInom(400);
      b.SetIr(0.8f);
    });
    return key;
  }

  std::int32_t ChooseBreaker(std::int32_t key, float current, float ikdKA) {
    return Choose(kKindBreaker, key, current, [ikdKA](ElementRec& e) { e.ikd = ikdKA; });
  }
};

// Guards the backward walk of breakers: down to the smallest of the series
// with a release, never to the bare breaker, with the new release set for
// the new rating at one times its rated current.
TEST_F(BreakerChoice, OversizedBreakerShrinksWithinItsSeriesAndTakesItsRelease) {
  const std::int32_t key = Breaker(k250x25);
  EXPECT_EQ(ChooseBreaker(key, 80, 5), k100x10);
  const BreakerRec b = Edit<BreakerRec>(kKindBreaker, key);
  EXPECT_EQ(b.TripUnitType(), kSmallRelease);
  EXPECT_EQ(b.Inom(), 100.0f);
  EXPECT_EQ(b.Ir(), 1.0f);
}

// Guards the breaking capacity and the series: a larger breaking capacity at
// the same rating is reached forward; another series is never entered.
TEST_F(BreakerChoice, BreakingCapacityIsSoughtWithinTheSeries) {
  const std::int32_t key = Breaker(k100x10);
  EXPECT_EQ(ChooseBreaker(key, 80, 15), k100x25);
  EXPECT_EQ(ChooseBreaker(key, 120, 40), k250x25);  // none breaks 40 kA: the last
}

TEST_F(Choice, FuseIsEnlargedWithinItsNameAndItsLinkFollowsTheType) {
  const auto fuse = [this](std::int32_t code, const char* name, float inom) {
    Type<book::FuseRec>(book::kFuseTable, code, [=](auto& f) {
      f.SetType(name);
      f.SetInom(inom);
    });
  };
  fuse(0x10, "ПН2-100", 100);
  fuse(0x18, "НПН", 400);
  fuse(0x20, "ПН2", 250);
  const std::int32_t key = m.Branch(kKindFuse, n1, n2);
  Edit<FuseRec>(kKindFuse, key, [](FuseRec& f) {
    f.SetType(0x10);
    f.SetIpv(80);
  });
  EXPECT_EQ(Choose(kKindFuse, key, 200), 0x20);
  EXPECT_EQ(Edit<FuseRec>(kKindFuse, key).Ipv(), 250.0f);
}

// --- The formulas and the whole calculation ------------------------------------------

TEST(ChoiceRequirements, ThermalSectionAmbientCorrectionAndSeriesNames) {
  EXPECT_NEAR(ThermalSection(23, false, 160, 65), 40.04, 0.01);
  EXPECT_NEAR(ThermalSection(23, true, 160, 65), std::sqrt(45.65 * 23 / std::log(388.0 / 293)),
              1e-6);
  EXPECT_EQ(ThermalSection(0, false, 160, 65), 0);
  EXPECT_EQ(ThermalSection(23, false, 0, 0), 0);  // a brand without temperatures
  EXPECT_EQ(AmbientCorrection(0, 15, 20), 1);
  EXPECT_TRUE(std::isinf(AmbientCorrection(65, 15, 70)));
  EXPECT_EQ(ScaledCurrent(0, AmbientCorrection(65, 15, 70)), 0);
  EXPECT_EQ(SeriesName("  АС-50 "), "АС");
  EXPECT_EQ(TrimmedName(" ПВ1 "), "ПВ1");
}

// Guards the pipeline: the choice runs over the traced tree after a source
// was calculated, and the object keeps the new type.
TEST_F(Choice, CalculationWithChoiceEnlargesAnOverloadedCable) {
  m->Settings().SetNominalVoltage(0, 400);
  m->Settings().SetAutoChoice(true);
  const auto source = s.FedSource(n1);
  Edit<SourceObjectRec>(kKindPowerSource, source.branch, [](auto& o) { o.SetUr(400); });
  const std::int32_t cable = Cable(kCable16);
  // 80 kW at cos φ 0.9 on 400 V: about 128 A.
  const int group = m.Group();
  ASSERT_TRUE(modelClass::SeekExact(m->Groups(), group));
  GroupRec g(m->Groups()->Record());
  g.SetP(80);
  g.SetQ(static_cast<float>(80 * std::tan(std::acos(0.9))));
  g.SetUnom(400);
  g.SetKz(1);
  g.SetKv(1);
  m->Groups()->MarkModifiedAndFlush();
  m.Receiver(n2, group);

  s.calc.CalcNetworkWithChoice();
  EXPECT_EQ(TypeOf(kKindCableLine, cable), kCable50);
}

}  // namespace
}  // namespace kordavelt::testing
