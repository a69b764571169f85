// Checks of conditions on a calculated feeder: source → 100 A breaker →
// 100 A fuse → cable → heater. The load flow is real; the short-circuit
// results, which other steps compute, are set by hand. The faults guarded:
// a check that reads the wrong minimum current or the wrong upstream
// protection, comparisons that are not strict, and codes written with the
// wrong alphabet or out of display order.

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "calc/element_checks.h"
#include "calc/network_sketch.h"
#include "refbook/vth_block.h"

namespace kordavelt::testing {
namespace {

// Points `first` … `first` + 6 of a VTH block: multiples of Ir and seconds.
void SetCurve(Bytes block, int first, const double (&multiples)[7], const double (&times)[7]) {
  for (int k = 0; k < 7; ++k) {
    SetVthPoint(
        block, first + k,
        {static_cast<float>(std::log(multiples[k])), static_cast<float>(std::log(times[k]))});
  }
}

std::uint32_t Bits(std::initializer_list<int> bits) {
  std::uint32_t set = 0;
  for (int bit : bits) set |= 1u << bit;
  return set;
}

class ElementChecks : public NetworkSketch {
 protected:
  ElementChecks() {
    ModelSettings& settings = s.m->Settings();
    settings.SetNormalVoltageDeviation(-5);
    settings.SetMaxVoltageDrop(5);
    settings.SetStartVoltageDeviation(-20);
    settings.SetProtectionToStartTimeRatio(1.5f);
    settings.SetSelfStartDuration(2);
    settings.SetSelectivityFactor(1.15f);
    settings.SetSelfStartMethod(0);
    s.calc.StopAfter(CalcStage::ForwardSweep);
  }

  void Build(std::int32_t cableType = kCable95) {
    Type<book::TripUnitRec>(book::kTripUnitTable, 801, [](book::TripUnitRec& u) {
      SetCurve(u.Vth(), 1, {1.05, 1.5, 2, 4, 6, 8, 10}, {7200, 60, 20, 3, 1, 0.05, 0.02});
      SetCurve(u.Vth(), 8, {1.3, 2, 3, 6, 10, 12, 15}, {7200, 120, 40, 1.2, 0.2, 0.1, 0.05});
    });
    Type<book::BreakerRec>(book::kBreakerTable, 802, [](book::BreakerRec& b) {
      b.SetInom(100);
      b.SetIswitch(10);
      b.SetTripUnit(801);
    });
    Type<book::FuseRec>(book::kFuseTable, 701, [](book::FuseRec& f) {
      f.SetInom(100);
      SetCurve(f.Vth(), 1, {1.3, 2, 3, 5, 8, 12, 20}, {3600, 100, 10, 1, 0.1, 0.02, 0.005});
      SetCurve(f.Vth(), 8, {1.6, 2.5, 4, 6, 10, 15, 25}, {3600, 200, 20, 2, 0.2, 0.04, 0.01});
    });
    const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node(), n4 = s.m.Node();
    source = Source(n1, 400, 0);
    breaker = s.m.Breaker(n1, n2);
    Edit<BreakerRec>(kKindBreaker, breaker, [](BreakerRec& b) { b.SetType(802); });
    fuse = s.m.Branch(kKindFuse, n2, n3);
    Edit<FuseRec>(kKindFuse, fuse, [](FuseRec& f) { f.SetType(701); });
    cable = Cable(n3, n4, 100);
    Edit<CableLineRec>(kKindCableLine, cable,
                       [cableType](CableLineRec& l) { l.SetType(cableType); });
    Load(n4, Group(20, 1));
    ASSERT_TRUE(s.calc.CalcSource(source.number));
    // Each case sets the fault values the checks read: the minimum currents
    // and the protections upstream start unknown.
    for (int i = 1; i <= s.calc.Count(); ++i) {
      ElementRec& e = s.calc.Element(i);
      e.ikMin.fill(kNotComputed);
      e.mainProtection = e.backupProtection = nullptr;
    }
  }

  // The violation set CheckElement gives branch `key` afresh.
  std::uint32_t Check(std::int32_t key) {
    Of(key).violations = 0;
    CheckElement(s.calc, PositionOf(key));
    return Of(key).violations;
  }
  std::string Text(std::int32_t key) { return ViolationText(Check(key)); }

  ModelBuilder::Tied source;
  std::int32_t breaker = 0, fuse = 0, cable = 0;
};

TEST(ViolationTexts, CodesInDisplayOrderWithTheirLatinAndCyrillicLetters) {
  EXPECT_EQ(ViolationText(0), "");
  EXPECT_EQ(ViolationText(Bits({4, 12})), "#Iдоп!Кч1ф!");
  // Self-start (bit 16) is shown after the start, before the sensitivities.
  EXPECT_EQ(ViolationText(Bits({16, 12, 11})), "#Уст.Iп!Уст.Iсз!Кч1ф!");
  EXPECT_EQ(ViolationText(Bits({7, 8})), "#Up<!U\xD1\x80>!");  // Latin p, Cyrillic р
  EXPECT_EQ(ViolationText(Bits({15, 18})), "#Ce\xD0\xBB.!T\xD1\x80!");
}

TEST_F(ElementChecks, CableWithAMissingTypeReportsThatAlone) {
  Build(9999);
  ElementRec& e = Of(cable);
  e.uWork = 300;
  e.tempWork = 120;
  EXPECT_EQ(Check(cable), Bits({kViolationTypeMissing}));
  EXPECT_EQ(Text(cable), "#нет!");
}

TEST_F(ElementChecks, ACorrectlySizedFeederHasNoViolation) {
  Build();
  ASSERT_TRUE(CheckElements(s.calc));
  for (int i = 1; i <= s.calc.Count(); ++i) {
    EXPECT_EQ(ViolationText(s.calc.Element(i).violations), "") << i;
  }
}

TEST_F(ElementChecks, VoltageDeviationsAtTheirLimitsAreNoViolation) {
  Build();
  ElementRec& e = Of(cable);
  ASSERT_EQ(e.unom, 400.0f);
  e.uWork = 380;   // −5 %
  e.uStart = 320;  // −20 %
  EXPECT_EQ(Check(cable), 0u);
  e.uWork = 379.9f;
  EXPECT_EQ(Text(cable), "#Up<!");
  e.uWork = 420.5f;
  EXPECT_EQ(Text(cable), "#Uр>!");
  e.uWork = 400;
  e.uStart = 319.5f;
  EXPECT_EQ(Text(cable), "#Uп<!");
  // One phase carried: Uр and Uп are phase values, both measured against
  // the phase voltage 230.9 V.
  e.phaseSet = kPhaseB;
  e.uWork = 225;
  e.uStart = 185;  // −19.9 %
  EXPECT_EQ(Check(cable), 0u);
  e.uStart = 184;  // −20.3 %
  EXPECT_EQ(Text(cable), "#Uп<!");
}

TEST_F(ElementChecks, BreakerSensitivityReportsOnlyTheFirstFaultTypeThatFails) {
  Build();
  ElementRec& e = Of(breaker);
  // 0.25 kA (2.5 × Ir) is far too slow; 0.6 kA reads 1.2 s on the upper
  // curve; 1.5 kA 0.05 s.
  e.ikMin = {0.25f, 0.25f, 0.6f};
  EXPECT_EQ(Text(breaker), "#Кч3ф!");
  e.ikMin = {0.25f, 0.25f, 1.5f};
  EXPECT_EQ(Text(breaker), "#Кч2ф!");
  e.ikMin = {0.25f, 1.5f, 1.5f};
  EXPECT_EQ(Text(breaker), "#Кч1ф!");
  e.ikMin = {1.5f, 1.5f, 1.5f};
  EXPECT_EQ(Check(breaker), 0u);
}

TEST_F(ElementChecks, BreakerSettingsAgainstWorkingStartingAndSelfStartCurrents) {
  Build();
  ElementRec& e = Of(breaker);
  e.checkCurrent = 110;  // the overload release starts at 105 A
  EXPECT_EQ(Text(breaker), "#Iдоп!Уст.Iр!");
  e.checkCurrent = 50;
  // A 5 s start needs 7.5 s: 150 A (60 s) passes, 600 A (instantaneous) not.
  e.tStart = 5;
  e.iStart = {150, 0};
  EXPECT_EQ(Check(breaker), 0u);
  e.iStart = {0, -600};
  EXPECT_EQ(Text(breaker), "#Уст.Iп!");
  e.iStart = {0, 0};
  // A 2 s self-start needs 3 s; not checked at all without self-start.
  e.iSelfStart = {600, 0};
  EXPECT_EQ(Check(breaker), 0u);
  s.m->Settings().SetSelfStartMethod(2);
  EXPECT_EQ(Text(breaker), "#Уст.Iсз!");
  e.iSelfStart = {150, 0};
  EXPECT_EQ(Check(breaker), 0u);
  // The breaking capacity of 10 kA against I″ of the fuse below.
  Of(fuse).ikMax = 12;
  EXPECT_EQ(Text(breaker), "#Iкз!");
}

TEST_F(ElementChecks, FuseSensitivityAndSelectivityWithTheBreakerAbove) {
  Build();
  ElementRec& f = Of(fuse);
  f.ikMin = {0.3f, 2.0f, 2.0f};  // 3 × Ir: some 80 s
  EXPECT_EQ(Text(fuse), "#Кч1ф!");
  f.ikMin = {1.0f, 2.0f, 2.0f};
  EXPECT_EQ(Check(fuse), 0u);

  // A breaker of the fuse's own size trips first; nothing is compared above
  // the maximum current.
  f.ikMax = 3;
  f.mainProtection = f.characteristic;
  f.backupProtection = Of(breaker).characteristic;
  EXPECT_EQ(Text(fuse), "#Ceл.!");
  f.ikMax = 0.05f;
  EXPECT_EQ(Check(fuse), 0u);

  // A ten times larger breaker waits for the fuse.
  Edit<BreakerRec>(kKindBreaker, breaker, [](BreakerRec& b) { b.SetInom(1000); });
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  f.ikMin = {1.0f, 2.0f, 2.0f};
  f.ikMax = 3;
  f.mainProtection = f.characteristic;
  f.backupProtection = Of(breaker).characteristic;
  EXPECT_EQ(Check(fuse), 0u);
}

}  // namespace
}  // namespace kordavelt::testing
