// Motor starting from the network impedance and the self-start impedances.
// The faults guarded: a starting current that ignores the network or refers
// it through a transformer by Kт instead of Kт², a section start that is not
// carried up the tree, a section without motors that shorts the parallel
// combination of self-start impedances, and an impedance not referred to the
// source side of a transformer. Expected values come from the catalogue data.

#include <gtest/gtest.h>

#include "calc/motor_starting.h"
#include "calc/network_sketch.h"
#include "calc/self_start.h"

namespace kordavelt::testing {
namespace {

constexpr double kKt = 0.04;  // 10/0.4 kV

void ExpectNear(const C& a, const C& b) { EXPECT_LE(std::abs(a - b), 1e-4 * std::abs(b)) << a; }

class MotorStarting : public NetworkSketch {
 protected:
  double Emf(double unom) { return unom * s.m->Settings().MaxEmf() / 1.732051; }
  C Z1(std::int32_t key) { return ToC(Of(key).z1); }
  C SourceZ() { return ToC(s.calc.Element(1).z1); }
};

TEST_F(MotorStarting, MotorBelowATransformerAndALongCableStartsWithLessThanItsCatalogueCurrent) {
  s.m->Settings().SetStartCurrentMethod(1);
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node();
  const auto source = Source(n1, 10000, 3);
  const std::int32_t tr = Transformer(n1, n2);
  const std::int32_t cable = Cable(n2, n3, 300);
  const std::int32_t motor = Load(n3, Motor(55, 0.88, 600, 6));
  const std::int32_t heater = Load(n3, Group(20, 1));
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  const C zToMotor = SourceZ() * kKt * kKt + Z1(tr) + Z1(cable);
  ExpectNear(ToC(Of(cable).z1Cumulative), zToMotor);
  ExpectNear(Z1(motor), MotorImpedance(55, 0.88));
  const C start = Emf(10000) * kKt * 1000.0 / (zToMotor + MotorImpedance(55, 0.88));
  ExpectNear(ToC(Of(motor).iStart), start);
  EXPECT_LT(std::abs(start), 0.9 * 600);

  // The start goes on up the tree while the heater runs, referred by Kт
  // above the transformer.
  ExpectNear(ToC(Of(cable).iStart), start + ToC(Of(heater).ia));
  EXPECT_FLOAT_EQ(Of(cable).tStart, 6);
  ExpectNear(ToC(s.calc.Element(1).iStart), (start + ToC(Of(heater).ia)) * kKt);
}

TEST_F(MotorStarting, EquivalentMotorReplacesItsStartingMotorsRunningCurrent) {
  s.m->Settings().SetStartCurrentMethod(1);
  const int n1 = s.m.Node(), n2 = s.m.Node();
  const auto source = Source(n1, 400, 0);
  const std::int32_t cable = Cable(n1, n2, 100);
  const std::int32_t motor = s.m.Branch(kKindEquivalentMotor, n2, 0);
  Edit<EquivalentMotorRec>(kKindEquivalentMotor, motor, [](EquivalentMotorRec& m) {
    m.SetPust(100);
    m.SetQ(60);
    m.SetUnom(400);
    m.SetPnom1(30);
    m.SetIstart1(250);
    m.SetKind(1);  // asynchronous equivalent
  });
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  ASSERT_EQ(Of(motor).kind, 54);
  const double k = 1000 / (1.732051 * 400);
  const C running = C{100, -60} * k, startingMotor = C{30, -30 * 0.6} * k;
  const C zMotor = C{0.07, 0.18} * (400.0 * 400.0 / std::hypot(100.0, 60.0));
  ExpectNear(ToC(Of(motor).iStart),
             running - startingMotor + Emf(400) * 1000.0 / (SourceZ() + Z1(cable) + zMotor));
}

TEST_F(MotorStarting, EqualMotorsHalveTheSectionImpedanceAndASectionWithoutMotorsHasNone) {
  s.m->Settings().SetSelfStartMethod(2);
  s.m->Settings().SetStartCurrentReduction(0.6f);
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node();
  const auto source = Source(n1, 400, 0);
  const std::int32_t motors = Cable(n1, n2, 50);
  const int group = Motor(30, 0.85, 200, 3, true);
  const std::int32_t m1 = Load(n2, group);
  Load(n2, group);
  const std::int32_t lights = Cable(n1, n3, 50);
  Load(n3, Group(20, 1));
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  const C zMotor = MotorImpedance(30, 0.85), zFeeder = zMotor / 2.0 + Z1(motors);
  ExpectNear(ToC(Of(motors).zSelfStart), zFeeder);
  EXPECT_TRUE(IsZero(Of(lights).zSelfStart));
  EXPECT_TRUE(IsZero(Of(lights).iSelfStart));
  ExpectNear(ToC(s.calc.Element(1).zSelfStart), zFeeder + SourceZ());
  const double drive = Emf(400) * 0.6 * 1000;
  ExpectNear(ToC(Of(motors).iSelfStart), drive / (SourceZ() + zFeeder));
  ExpectNear(ToC(Of(m1).iSelfStart), drive / (SourceZ() + Z1(motors) + zMotor));

  // Without self-start nothing carries a self-start current.
  s.m->Settings().SetSelfStartMethod(0);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  for (const std::int32_t key : {source.branch, motors, m1})
    EXPECT_TRUE(IsZero(Of(key).iSelfStart));
}

TEST_F(MotorStarting, SelfStartImpedanceIsReferredToTheSourceSideOfATransformer) {
  s.m->Settings().SetSelfStartMethod(3);
  s.m->Settings().SetStartCurrentReduction(0.5f);
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node();
  const auto source = Source(n1, 10000, 3);
  const std::int32_t tr = Transformer(n1, n2);
  const std::int32_t cable = Cable(n2, n3, 100);
  const std::int32_t motor = Load(n3, Motor(55, 0.88, 600, 6, true));
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  const C below = MotorImpedance(55, 0.88) + Z1(cable) + Z1(tr);
  ExpectNear(ToC(Of(tr).zSelfStart), below);
  ExpectNear(ToC(s.calc.Element(1).zSelfStart), below / (kKt * kKt) + SourceZ());
  ExpectNear(ToC(Of(motor).iSelfStart),
             Emf(10000) * kKt * 0.5 * 1000 / (SourceZ() * kKt * kKt + below));
}

TEST(StartCurrentReduction, TableIsReadLinearlyAndExtendedBeyondItsEnds) {
  EXPECT_NEAR(StartCurrentReductionAt(0.3), 0.4, 1e-6);
  EXPECT_NEAR(StartCurrentReductionAt(0.6), 0.55, 1e-6);
  // Beyond 40 s along the last segment (4 s, 0.88) – (40 s, 1).
  EXPECT_NEAR(StartCurrentReductionAt(50), 1 + 10 * 0.12 / 36, 1e-6);
}

}  // namespace
}  // namespace kordavelt::testing
