// Line parameters from object records and catalogue types: counts and
// factors corrected and written back, permissible currents corrected to the
// ambient, resistances to the working temperature, and the neutral path of
// overhead lines. Values are recomputed here from the textbook formulas.

#include <gtest/gtest.h>

#include <cmath>

#include "calc/prepare_test_support.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"

namespace kordavelt::testing {
namespace {

constexpr std::int32_t kBrand = 1001;
constexpr std::int32_t kCable = 2001;
// Resistance at the default ground temperature of 15 °C instead of 20 °C.
constexpr double kAt15 = (234.0 + 15) / (234 + 20);

class CableLines : public PrepareScenario {
 protected:
  // Copper PVC cable of `conductors` × 95 mm², 0.2 + j0.08 mΩ/m, θдоп 65 °C.
  void Catalogue(int conductors, float unom = 1000, std::int32_t code = kCable) {
    Type<book::CableBrandRec>(book::kCableBrandTable, kBrand, [](book::CableBrandRec& b) {
      b.SetType("ВВГ");
      b.SetTpermiss(65);
    });
    Type<book::CableRec>(book::kCableTable, code, [&](book::CableRec& c) {
      c.SetType(kBrand);
      c.SetUnom(unom);
      c.SetCondCount(static_cast<std::uint8_t>(conductors));
      c.SetCrossCectF(95);
      c.SetIpermissEarch(255);
      c.SetIpermissAir(220);
      c.SetR1(0.2f);
      c.SetX1(0.08f);
      c.SetR0(0.8f);
      c.SetX0(0.3f);
    });
  }
  std::int32_t Line(int count, std::uint8_t laying = 1, float lengthM = 100) {
    return Object<CableLineRec>(kKindCableLine, [&](CableLineRec& l) {
      l.SetType(kCable);
      l.SetL(lengthM);
      l.SetNk(static_cast<std::uint8_t>(count));
      l.SetCodepr(laying);
    });
  }
};

TEST_F(CableLines, FourSingleCoreCablesBecomeTwoSetsAndTheCountIsSaved) {
  // Guards against dividing by the cable count instead of the sets per phase.
  Catalogue(1);
  const std::int32_t key = Line(4);
  const ElementRec& e = Prepare(key);

  EXPECT_EQ(ObjectValue<CableLineRec>(kKindCableLine, key, &CableLineRec::L), 100.0f);
  tbClass* cables = m->OpenObjectTable(kKindCableLine);
  ASSERT_TRUE(modelClass::SeekExact(cables, key));
  EXPECT_EQ(CableLineRec(cables->Record()).Nk(), 6);
  EXPECT_EQ(CableLineRec(cables->Record()).Kpr(), 1.0f);  // Кп 0 written back as 1

  const double rk = 0.2 * std::pow(95.0, -0.6) / 2;  // copper terminals, two in parallel
  EXPECT_NEAR(e.z1.re, 0.2 / 2 * 100 * kAt15 + 2 * rk, 1e-4);
  EXPECT_NEAR(e.z1.im, 0.08 / 2 * 100, 1e-4);
  EXPECT_NEAR(e.z0.re, 0.8 / 2 * 100 * kAt15 + 8 * rk, 1e-4);
  EXPECT_NEAR(e.adiabaticConstant, 19.58 / (190.0 * 190.0), 1e-9);
  EXPECT_EQ(e.tempConstant, 234.0f);
}

TEST_F(CableLines, PermissibleCurrentFollowsTheAmbientOfTheLaying) {
  Catalogue(4);
  // In ground at 15 °C the catalogue value holds: I · Кп · n.
  EXPECT_NEAR(Prepare(Line(2)).iPermissible, 255 * 2, 1e-3);
  // In air at 35 °C: √((65 − 35) / (65 − 25)).
  m->Settings().SetAirTemperature(35);
  EXPECT_NEAR(Prepare(Line(1, 0)).iPermissible, 220 * std::sqrt(30.0 / 40.0), 1e-3);
}

TEST_F(CableLines, WorkingCurrentHeatsTheConductorAndRaisesItsResistance) {
  Catalogue(4);
  m->Settings().SetConductorTemperatureMethod(1);
  const ElementRec& e = Prepare(Line(1), 380, [](ElementRec& el) {
    el.ia = {200, 0};
    el.ib = {-100, -173.2f};
    el.ic = {-100, 173.2f};
  });
  const double ratio = 200.0 / 255.0;
  const double t = std::round(ratio * ratio * (65 - 15) + 15);
  EXPECT_EQ(e.tempWork, static_cast<float>(t));
  const double rk = 0.2 * std::pow(95.0, -0.6);
  EXPECT_NEAR(e.z1.re, 0.2 * (234 + t) / 254 * 100 + 2 * rk, 1e-3);
  EXPECT_NEAR(e.z1.im, 8.0, 1e-4);  // reactance not corrected
}

TEST_F(CableLines, HighVoltageCableGetsItsClassAndFaultPointImpedances) {
  Catalogue(3, 6000);
  const ElementRec& e = Prepare(Line(1), 6000);
  EXPECT_EQ(e.classCode, 30);
  const double rk = 0.2 * std::pow(95.0, -0.6);
  // Thermal point 1 m in, non-ignition point 50 m in above 1000 V.
  EXPECT_NEAR(e.zThermal.re, 0.2 * kAt15 + rk, 1e-4);
  EXPECT_NEAR(e.zIgnition.re, 0.2 * 50 * kAt15 + rk, 1e-4);
  EXPECT_NEAR(e.zIgnition.im, 0.08 * 50, 1e-4);
}

TEST_F(CableLines, SecondCableTypeIsLaidInParallel) {
  Catalogue(4);
  const std::int32_t key = Line(1);
  EditObject<CableLineRec>(kKindCableLine, key, [](CableLineRec& l) {
    l.SetType2(kCable);
    l.SetNk2(1);
  });
  const ElementRec& e = Prepare(key);
  const double rk = 0.2 * std::pow(95.0, -0.6) / 2;
  EXPECT_NEAR(e.z1.re, 0.1 * 100 * kAt15 + 2 * rk, 1e-3);
  EXPECT_NEAR(e.z1.im, 0.04 * 100, 1e-3);
}

TEST_F(CableLines, MissingTypeLeavesTheElementEmpty) {
  const ElementRec& e = Prepare(Line(1));
  EXPECT_TRUE(IsZero(e.z1));
  EXPECT_EQ(e.iPermissible, 0.0f);
  EXPECT_EQ(e.kt, 1.0f);
}

TEST_F(CableLines, OverheadLineTakesElevenWiresAsOneAndCompletesItsGeometry) {
  constexpr std::int32_t kWire = 3001;
  Type<book::BareWireRec>(book::kBareWireTable, kWire, [](book::BareWireRec& w) {
    w.SetType("А");
    w.SetCrossCectF(50);
    w.SetR1(0.6f);
    w.SetIpermiss(210);
  });
  const std::int32_t key = Object<OverheadLineRec>(kKindOverheadLine, [](OverheadLineRec& l) {
    l.SetType(kWire);
    l.SetL(1000);
    l.SetWiresPerPhase(11);
    l.SetRzaz(10);
    l.SetNzaz(2);
  });
  const ElementRec& e = Prepare(key);

  const double d = 2 * std::sqrt(50 / 3.1415927);
  ASSERT_TRUE(Book().FindType(book::kBareWireTable, kWire));
  EXPECT_NEAR(book::BareWireRec(Book().CurrentRecord(book::kBareWireTable)).Diameter(), d, 1e-4);
  EXPECT_EQ(ObjectValue<OverheadLineRec>(kKindOverheadLine, key, &OverheadLineRec::Dsg), 0.5f);

  const double rk = 0.2 * std::pow(50.0, -0.6);  // flags byte without bit 7
  const double x1 = (0.06253776 * std::log(2000 * 0.5 / d) + 0.0157) * 1000;
  EXPECT_NEAR(e.iPermissible, 210, 1e-3);
  EXPECT_NEAR(e.z1.re, 600 + 2 * rk, 1e-2);
  EXPECT_NEAR(e.z1.im, x1, 1e-2);
  // Neutral wire 600 mΩ in parallel with two 10 Ω earthings.
  const double neutral = 600.0 * 5000 / (600 + 5000);
  EXPECT_NEAR(e.z0.re, 600 + 3 * neutral + 8 * rk, 1e-1);
  EXPECT_NEAR(e.z0.im, x1, 1e-2);
}

TEST_F(CableLines, WiringSpacingIsRaisedToTheWireDiameter) {
  constexpr std::int32_t kWire = 4001;
  Type<book::InsulatedWireRec>(book::kInsulatedWireTable, kWire, [](book::InsulatedWireRec& w) {
    w.SetType("ПВ");
    w.SetCrossCectF(10);
    w.SetDiameter(6);
    w.SetR1(1.8f);
    w.SetIpermissAir(80);
    w.SetTpermiss(65);
  });
  const std::int32_t key = Object<WiringRec>(kKindWiring, [](WiringRec& w) {
    w.SetType(kWire);
    w.SetL(10);
    w.SetWireSpacing(2);
  });
  const ElementRec& e = Prepare(key);
  EXPECT_EQ(ObjectValue<WiringRec>(kKindWiring, key, &WiringRec::WireSpacing), 6.0f);
  const double rk = 0.2 * std::pow(10.0, -0.6);
  EXPECT_NEAR(e.z1.re, 18 + 2 * rk, 1e-3);
  EXPECT_NEAR(e.z1.im, 0.06297205 * std::log(2.0) * 10, 1e-4);
  EXPECT_NEAR(e.z0.re, 36 + 8 * rk, 1e-3);
}

}  // namespace
}  // namespace kordavelt::testing
