// The values an engineer gets when a type is entered with incomplete data.

#include "refbook/engineering_defaults.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kordavelt {
namespace {

TEST(EngineeringDefaultsTest, CopperFourCoreCableOfSixteenSquareMillimetres) {
  const CableDefaultValues cable = CableDefaults(false, 0, 4, 16, 0);
  ASSERT_TRUE(cable.complete);
  EXPECT_NEAR(cable.r1, 1.15, 1e-9);
  EXPECT_DOUBLE_EQ(cable.x1, 0.09);
  EXPECT_DOUBLE_EQ(cable.r0, 2.12);
  EXPECT_DOUBLE_EQ(cable.x0, 1.14);
  EXPECT_EQ(cable.ipermissEarth, 115);
  EXPECT_EQ(cable.ipermissAir, 80);
  // A neutral as large as the phase is no reduced neutral.
  EXPECT_DOUBLE_EQ(CableDefaults(false, 0, 4, 16, 16).r0, 2.12);
}

TEST(EngineeringDefaultsTest, CableCasesFollowMaterialSheathAndNeutral) {
  // Copper, reduced neutral: 95 with 50 is two sections apart, 95 with 35 three.
  EXPECT_DOUBLE_EQ(CableDefaults(false, 0, 4, 95, 50).r0, 0.84);
  EXPECT_DOUBLE_EQ(CableDefaults(false, 0, 4, 95, 35).r0, 0.92);
  EXPECT_DOUBLE_EQ(CableDefaults(false, 0, 3, 95, 0).r0, 0.75);
  // Aluminium: no metal sheath, aluminium sheath, lead sheath.
  EXPECT_NEAR(CableDefaults(true, 4, 4, 95, 0).r1, 31.0 / 95, 1e-12);
  EXPECT_DOUBLE_EQ(CableDefaults(true, 4, 4, 95, 0).r0, 1.665);
  EXPECT_DOUBLE_EQ(CableDefaults(true, 1, 3, 95, 0).x0, 0.174);
  EXPECT_DOUBLE_EQ(CableDefaults(true, 2, 4, 95, 0).r0, 0.887) << "as the aluminium sheath";
  EXPECT_DOUBLE_EQ(CableDefaults(true, 3, 4, 95, 50).r0, 1.39);
  EXPECT_EQ(CableDefaults(true, 2, 3, 95, 0).ipermissEarth, 260);
  // The one value the catalogue never had: copper four-core 240 mm².
  EXPECT_DOUBLE_EQ(CableDefaults(false, 0, 4, 240, 0).r0, 0.3);
}

// The zero-sequence loop is the phase conductor plus three times its return.
// Several lists fell below R1 at the smallest sections (copper four-core
// 2.5 mm²: 6.96 against 7.36), which overstated the single-phase fault
// current at the end of every small cable typed in without R0.
TEST(EngineeringDefaultsTest, CableZeroSequenceResistanceIsNeverBelowThePhaseResistance) {
  constexpr double kSections[] = {1,  1.5, 2.5, 4,  6,   10,  16,  25,
                                  35, 50,  70,  95, 120, 150, 185, 240};
  struct Case {
    bool aluminium;
    int sheath;
    int condCount;
    int neutralStepsBelow;  // 0: no reduced neutral
  };
  constexpr Case kCases[] = {{false, 0, 3, 0}, {false, 0, 4, 0}, {false, 0, 4, 1}, {false, 0, 4, 3},
                             {true, 0, 3, 0},  {true, 0, 4, 0},  {true, 1, 3, 0},  {true, 1, 4, 0},
                             {true, 2, 3, 0},  {true, 2, 4, 0},  {true, 2, 4, 1}};
  for (const Case& c : kCases) {
    double previous = INFINITY;
    for (std::size_t i = 0; i < std::size(kSections); ++i) {
      if (static_cast<int>(i) < c.neutralStepsBelow) continue;
      const double neutral = c.neutralStepsBelow > 0 ? kSections[i - c.neutralStepsBelow] : 0;
      // A standard section and one between it and the next.
      const double between =
          i + 1 < std::size(kSections) ? std::sqrt(kSections[i] * kSections[i + 1]) : kSections[i];
      for (const double section : {kSections[i], between}) {
        const CableDefaultValues cable =
            CableDefaults(c.aluminium, c.sheath, c.condCount, section, neutral);
        SCOPED_TRACE(testing::Message()
                     << (c.aluminium ? "Al" : "Cu") << " sheath " << c.sheath << ", " << c.condCount
                     << " × " << section << " + " << neutral);
        ASSERT_TRUE(cable.complete);
        EXPECT_GE(cable.r0, cable.r1);
      }
      const double r0 = CableDefaults(c.aluminium, c.sheath, c.condCount, kSections[i], neutral).r0;
      EXPECT_LE(r0, previous) << kSections[i] << " mm²: R0 rises with the section";
      previous = r0;
    }
  }
  // Below 4 mm² the copper four-core list keeps the return it has at 4 mm²
  // (5.6 − 4.6 mΩ/m); from there on it is the list's own value.
  EXPECT_NEAR(CableDefaults(false, 0, 4, 2.5, 0).r0, 18.4 / 2.5 + 1.0, 1e-9);
  EXPECT_DOUBLE_EQ(CableDefaults(false, 0, 4, 4, 0).r0, 5.6);
}

TEST(EngineeringDefaultsTest, UnknownCableCasesGetOnlyTheResistance) {
  for (const CableDefaultValues& cable :
       {CableDefaults(false, 0, 5, 25, 0), CableDefaults(true, 6, 4, 25, 0),
        CableDefaults(true, 0, 2, 25, 0)}) {
    EXPECT_FALSE(cable.complete);
    EXPECT_GT(cable.r1, 0);
    EXPECT_EQ(cable.x1, 0);
  }
  // Beyond 240 mm² the lists have no entries.
  const CableDefaultValues large = CableDefaults(false, 0, 3, 300, 0);
  EXPECT_TRUE(large.complete);
  EXPECT_EQ(large.x1, 0);
  EXPECT_EQ(large.ipermissAir, 0);
  EXPECT_EQ(CableDefaults(false, 0, 4, 0, 0).r1, 0) << "no section, no defaults";
}

TEST(EngineeringDefaultsTest, WiresByMaterialAndConstruction) {
  const WireDefaultValues copper = InsulatedWireDefaults(false, 2.5);
  EXPECT_NEAR(copper.r1, 18.4 / 2.5, 1e-12);
  EXPECT_EQ(copper.ipermiss, 30);
  EXPECT_EQ(InsulatedWireDefaults(true, 2.5).ipermiss, 24);

  // Bare wires: material in bits 6–7, construction code in bits 2–4.
  EXPECT_EQ(BareWireDefaults(0x00, "М", 50).ipermiss, 275);
  EXPECT_NEAR(BareWireDefaults(0x40 | (2 << 2), "АЖ", 50).r1, 34.0 / 50, 1e-12);
  EXPECT_NEAR(BareWireDefaults(0x40 | (4 << 2), "АН", 50).r1, 31.0 / 50, 1e-12);
  const WireDefaultValues steelCored = BareWireDefaults(0x40 | (1 << 2), "АС", 50);
  EXPECT_NEAR(steelCored.r1, 30.0 / 50, 1e-12);
  EXPECT_EQ(steelCored.ipermiss, 210);
  EXPECT_EQ(BareWireDefaults(0x40, "А", 50).ipermiss, 215) << "no С: the aluminium list";
  EXPECT_NEAR(BareWireDefaults(0xC0, "ПС", 50).r1, 170.0 / 50, 1e-12);
  EXPECT_EQ(BareWireDefaults(0xC0, "ПС", 50).ipermiss, 90);
}

TEST(EngineeringDefaultsTest, TrunkingStartsAt250Amperes) {
  EXPECT_FALSE(TrunkingDefaults(200));
  const std::optional<ImpedanceDefaults> trunking = TrunkingDefaults(250);
  ASSERT_TRUE(trunking);
  EXPECT_DOUBLE_EQ(trunking->r1, 0.21);
  EXPECT_DOUBLE_EQ(trunking->x1, 0.21);
  EXPECT_NEAR(trunking->r0, 0.57, 1e-12);
  EXPECT_NEAR(trunking->x0, 1.68, 1e-12);
  EXPECT_DOUBLE_EQ(TrunkingDefaults(4000)->r1, 0.013);
}

TEST(EngineeringDefaultsTest, BreakerImpedanceInterpolatedInsideAndPowerLawOutside) {
  EXPECT_NEAR(BreakerDefaults(100).r1, 2.15, 1e-6);
  EXPECT_NEAR(BreakerDefaults(300).r1, (1.1 + 0.65) / 2, 1e-9);
  EXPECT_NEAR(BreakerDefaults(300).x1, (0.5 + 0.17) / 2, 1e-9);
  EXPECT_NEAR(BreakerDefaults(25).r1, 190.79 * std::pow(25, -0.9427), 1e-9);
  EXPECT_NEAR(BreakerDefaults(6300).x1, 110.12 * std::pow(6300, -0.9831), 1e-12);
}

TEST(EngineeringDefaultsTest, TransformerAndCurrentTransformer) {
  // 400 kVA, 0.4 kV, 5.5 kW, 4.5 %.
  const ImpedanceDefaults t = TransformerDefaults(0.4, 5.5, 4.5, 400);
  EXPECT_NEAR(t.r1, 5.5, 1e-9);
  EXPECT_NEAR(t.x1, std::sqrt(18.0 * 18.0 - 5.5 * 5.5), 1e-9);
  // No reactance left over the resistance: X0 = Z.
  EXPECT_NEAR(TransformerDefaults(0.4, 100, 1, 400).x1, 4, 1e-9);

  EXPECT_NEAR(CurrentTransformerDefaults(100, 5, 0).r1, 331.29 * std::pow(20, -2.0406), 1e-12);
  EXPECT_NEAR(CurrentTransformerDefaults(100, 5, 1).x1, 1182.7 * std::pow(20, -2.0562), 1e-12);
  EXPECT_EQ(CurrentTransformerDefaults(100, 0, 1).r1, 0);
}

TEST(EngineeringDefaultsTest, AsynchronousMotor) {
  EXPECT_NEAR(RatedSlip(1450), 100 - 2 * 1450 / 30.0, 1e-12);  // 3.33 %
  EXPECT_NEAR(RatedSlip(2900), 100 - 2900 / 30.0, 1e-12);
  EXPECT_EQ(RatedSlip(0), 0);

  AsyncMotorValues m;
  m.pnom = 15;
  m.efficiency = 90;
  m.istart = 7;
  m.mstart = 2;
  m.snom = RatedSlip(1450);
  FillAsyncMotorDefaults(m);
  EXPECT_EQ(m.cosF, 1);
  EXPECT_NEAR(m.rs, m.snom * 0.01, 1e-12);
  const double rr = 2 * 1.1016 * 1 * 90 / 49 / (1 - m.snom * 0.01) / 100;
  EXPECT_NEAR(m.rr, rr, 1e-12);
  const double x = 1.0 / 7;
  const double r = 0.96 * rr + m.rs;
  EXPECT_NEAR(m.x2, std::sqrt(x * x - r * r), 1e-12);
  EXPECT_NEAR(m.ta, m.x2 / m.rs / 314.15927, 1e-12);
  EXPECT_NEAR(m.tr, m.x2 / m.rr / 314.15927, 1e-12);

  // Given values stay; a resistance larger than 1/Iп leaves no reactance.
  AsyncMotorValues given;
  given.istart = 5;
  given.rs = 0.5;
  given.rr = 0.1;
  FillAsyncMotorDefaults(given);
  EXPECT_EQ(given.rs, 0.5);
  EXPECT_EQ(given.x2, 0);
  EXPECT_EQ(given.ta, 0);
}

}  // namespace
}  // namespace kordavelt
