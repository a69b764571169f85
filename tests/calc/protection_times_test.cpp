// Protection times, Joule integrals and conductor temperatures at maximum
// currents. The cases guard the fault points along a cable (which protection
// at which point, which index), the heating that lowers the current, the
// out-of-range temperatures, and results that must not stick from an
// earlier calculation.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "calc/max_current_scenario.h"
#include "calc/protection_times.h"

namespace kordavelt::testing {
namespace {

const double kRoot3 = std::sqrt(3.0);
constexpr double kOmegaHz = 314.15927;

double SteadyJoule(double i, const C& z, double t) {
  const double ta = z.imag() / (kOmegaHz * z.real());
  return i * i * t + ta * i * i * (1 - std::exp(-2 * t / ta));
}

double Heated(double startC, double k) { return std::exp(k) * (startC + 228) - 228; }

class ProtectionTimesTest : public MaxCurrentScenario {
 protected:
  // A 0.4 kV source of 20 kA, a copper cable, a 10 kW load at its end.
  void Build(float lengthM, float sectionMm2) {
    const int n1 = s.m.Node(), n2 = s.m.Node();
    source = Source(n1, 400, 0, 20);
    cable = CopperCable(n1, n2, lengthM, sectionMm2);
    Load(n2, Group(10, 1));
    ASSERT_TRUE(s.calc.CalcSource(source.number));
  }

  void Protect(ElementRec& e, const vth_class* main, const vth_class* backup) {
    e.mainProtection = const_cast<vth_class*>(main);
    e.backupProtection = const_cast<vth_class*>(backup);
  }

  // E / |Z1acc + zf| at a point of the cable behind zf from its start.
  double AlongCable(const Complex& zf, double resistanceFactor = 1) {
    return 400 / kRoot3 / std::abs(Path(zf, resistanceFactor));
  }
  C Path(const Complex& zf, double resistanceFactor = 1) {
    return ToC(Of(cable).z1Start) + C(zf.re * resistanceFactor, zf.im);
  }

  ModelBuilder::Tied source;
  std::int32_t cable = 0;
};

TEST_F(ProtectionTimesTest, WithoutProtectionUpstreamTimesAre9999AndNothingIsIntegrated) {
  Build(100, 95);
  const ElementRec& bus = s.calc.Element(1);
  EXPECT_EQ(bus.tProtect[0], kOutOfRange);
  EXPECT_EQ(bus.tProtect[2], kOutOfRange);
  EXPECT_EQ(bus.joule[0], 0);
  EXPECT_NEAR(bus.ikd, 400 / kRoot3 / std::abs(ToC(bus.z1)), 1e-3);
  EXPECT_EQ(bus.ikdSource, bus.ikd);

  const ElementRec& c = Of(cable);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(c.tProtect[k], kOutOfRange) << k;
    EXPECT_EQ(c.joule[k], 0) << k;
    EXPECT_FLOAT_EQ(c.tempProtect[k], c.tempWork) << k;  // no Joule integral, no heating
  }
  // The maximum currents along the line still hold.
  EXPECT_NEAR(c.ikMaxAlong[0], AlongCable(kComplexZero), 1e-4 * c.ikMaxAlong[0]);
  EXPECT_NEAR(c.ikMaxAlong[1], AlongCable(c.zThermal), 1e-4 * c.ikMaxAlong[1]);
  EXPECT_NEAR(c.ikMaxAlong[2], AlongCable(c.z1), 1e-4 * c.ikMaxAlong[2]);
  EXPECT_NEAR(c.iBreak, c.ikMaxAlong[1], 1e-4 * c.iBreak);
}

TEST_F(ProtectionTimesTest, OtherElementsTakeTheirTimesAtIkdWithTheCurrentShift) {
  Build(100, 95);
  // Main: instantaneous from 2 kA, 5 s below; backup: 0.5 s.
  const vth_class main = DefiniteTime(5, 2, 0.05), backup = DefiniteTime(0.5);
  ElementRec& bus = s.calc.Element(1);
  Protect(bus, &main, &backup);
  ASSERT_TRUE(ProtectionTimes(s.calc));

  const C zs = ToC(bus.z1);
  const double ikd = 400 / kRoot3 / std::abs(zs);  // about 20 kA
  EXPECT_NEAR(bus.ikd, ikd, 1e-5 * ikd);
  EXPECT_NEAR(bus.tProtect[0], 0.05, 1e-5);
  EXPECT_NEAR(bus.tProtect[2], 0.5, 1e-5);
  EXPECT_NEAR(bus.joule[0], SteadyJoule(ikd, zs, 0.05), 1e-4 * bus.joule[0]);
  EXPECT_NEAR(bus.joule[2], SteadyJoule(ikd, zs, 0.5), 1e-4 * bus.joule[2]);
  EXPECT_EQ(bus.tempProtect[0], 0);  // not a conductor
  // Behind a ratio of 1/100 the device sees 0.2 kA.
  bus.mainShift = static_cast<float>(std::log(100.0));
  ASSERT_TRUE(ProtectionTimes(s.calc));
  EXPECT_NEAR(bus.tProtect[0], 5, 1e-4);
}

TEST_F(ProtectionTimesTest, WiresHeatAdiabaticallyAndRunOutOfRangeAtFactorSeven) {
  Build(100, 95);
  ElementRec& wire = Of(cable);
  wire.kind = kKindWiring;
  const vth_class main = DefiniteTime(0.3), backup = DefiniteTime(400);
  Protect(wire, &main, &backup);
  ASSERT_TRUE(ProtectionTimes(s.calc));

  const C z(wire.rSum, wire.xSum);
  const double ikd = 400 / kRoot3 / std::abs(z);
  const double bt = SteadyJoule(ikd, z, 0.3);
  EXPECT_NEAR(wire.joule[0], bt, 1e-4 * bt);
  EXPECT_NEAR(wire.tempProtect[0], Heated(wire.tempWork, bt * wire.adiabaticConstant), 0.01);
  // Minutes of fault current: K beyond 7.
  ASSERT_GE(wire.joule[2] * wire.adiabaticConstant, 7);
  EXPECT_EQ(wire.tempProtect[2], kOutOfRange);
}

TEST_F(ProtectionTimesTest, CableFaultsAlongTheLineTakeTheirPointsAndProtections) {
  s.m->Settings().SetBtSteps(1);
  s.m->Settings().SetHeatingIterations(1);
  Build(80, 95);
  const vth_class main = DefiniteTime(0.4), backup = DefiniteTime(1.0);
  ElementRec& c = Of(cable);
  Protect(c, &main, &backup);
  c.iBreak = 0;  // as a new calculation resets it
  ASSERT_TRUE(ProtectionTimes(s.calc));

  // One step: each Joule integral is that of the cold line's current.
  struct Expected {
    Complex zf;
    double time;
  };
  const Expected points[4] = {{c.zThermal, 0.4}, {c.z1, 0.4}, {c.zIgnition, 1.0}, {c.z1, 1.0}};
  for (int k = 0; k < 4; ++k) {
    const double i = AlongCable(points[k].zf);
    const double bt = SteadyJoule(i, Path(points[k].zf), points[k].time);
    EXPECT_NEAR(c.tProtect[k], points[k].time, 1e-5) << k;
    EXPECT_NEAR(c.joule[k], bt, 1e-4 * bt) << k;
    const double kFactor = bt * c.adiabaticConstant;
    ASSERT_LT(kFactor, 2) << k;
    EXPECT_NEAR(c.tempProtect[k], Heated(c.tempWork, kFactor), 0.05) << k;
  }
  EXPECT_GT(c.tempProtect[3], c.tempProtect[1]);  // longer at the same point

  // The current to be broken: the thermal point's, with the line heated.
  const double hot = Heated(c.tempWork, c.joule[0] * c.adiabaticConstant);
  const double factor = (c.tempConstant + hot) / (c.tempConstant + c.tempWork);
  EXPECT_NEAR(c.iBreak, AlongCable(c.zThermal, factor), 1e-4 * c.iBreak);
}

TEST_F(ProtectionTimesTest, HeatingFollowedStepByStepLowersTheCurrentUntilOutOfRange) {
  s.m->Settings().SetBtSteps(1);
  Build(50, 16);
  const vth_class main = DefiniteTime(0.5);
  ElementRec& c = Of(cable);
  Protect(c, &main, nullptr);
  ASSERT_TRUE(ProtectionTimes(s.calc));
  const float coldJoule = c.joule[1];
  const float coldTemperature = c.tempProtect[1];

  s.m->Settings().SetBtSteps(20);
  c.joule = {};
  ASSERT_TRUE(ProtectionTimes(s.calc));
  EXPECT_LT(c.joule[1], 0.95f * coldJoule);
  EXPECT_LT(c.tempProtect[1], coldTemperature);
  // Never below what the line would pass heated from the start to the end
  // temperature of the cold calculation.
  const double factor = (c.tempConstant + coldTemperature) / (c.tempConstant + c.tempWork);
  EXPECT_GT(c.joule[1], SteadyJoule(AlongCable(c.z1, factor), Path(c.z1, factor), 0.5));

  // Half a minute: the first of the steps alone heats beyond K = 2.
  const vth_class slow = DefiniteTime(30);
  Protect(c, &slow, nullptr);
  ASSERT_TRUE(ProtectionTimes(s.calc));
  ASSERT_GE(c.joule[1] * c.adiabaticConstant, 2);
  EXPECT_EQ(c.tempProtect[1], kOutOfRange);
  EXPECT_EQ(c.tempProtect[0], kOutOfRange);
}

TEST_F(ProtectionTimesTest, SingleVariantCalculationsReplaceTimesMultiVariantRunsKeepTheLargest) {
  // A time must not stick from an earlier calculation after a setting was
  // made faster; across the regimes of one multi-variant run the worst counts.
  Build(100, 95);
  const vth_class slow = DefiniteTime(0.5), fast = DefiniteTime(0.2);
  ElementRec& c = Of(cable);
  Protect(c, &slow, &slow);
  ASSERT_TRUE(ProtectionTimes(s.calc));
  Protect(c, &fast, &fast);
  ASSERT_TRUE(ProtectionTimes(s.calc));
  EXPECT_NEAR(c.tProtect[1], 0.2, 1e-5);
  const float fastTemperature = c.tempProtect[1];

  s.m->Settings().SetMultiVariant(true);
  Protect(c, &slow, &slow);
  ASSERT_TRUE(ProtectionTimes(s.calc));
  Protect(c, &fast, &fast);
  ASSERT_TRUE(ProtectionTimes(s.calc));
  EXPECT_NEAR(c.tProtect[1], 0.5, 1e-5);
  EXPECT_GT(c.tempProtect[1], fastTemperature);
}

TEST_F(ProtectionTimesTest, ZeroOrAbsurdIterationAndStepSettingsAreGuarded) {
  Build(50, 16);
  const vth_class main = DefiniteTime(0.5);
  ElementRec& c = Of(cable);
  Protect(c, &main, nullptr);
  const auto jouleWith = [&](int iterations, int steps) {
    s.m->Settings().SetHeatingIterations(iterations);
    s.m->Settings().SetBtSteps(steps);
    c.joule = {};
    EXPECT_TRUE(ProtectionTimes(s.calc));
    return c.joule[1];
  };
  const float once = jouleWith(1, 1);
  EXPECT_FLOAT_EQ(jouleWith(0, 0), once);
  const float many = jouleWith(-5, 2000000000);
  EXPECT_TRUE(std::isfinite(many));
  EXPECT_GT(many, 0);
  EXPECT_LT(many, once);
}

TEST_F(ProtectionTimesTest, MotorAtTheCableEndFeedsTheFaultsAlongIt) {
  const int n1 = s.m.Node(), n2 = s.m.Node();
  source = Source(n1, 400, 0, 20);
  cable = CopperCable(n1, n2, 60, 35);
  AsyncMotor(n2, 30);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  const ElementRec& c = Of(cable);
  // The line's start is the busbar fault, its end the element's own fault point.
  EXPECT_NEAR(c.ikMaxAlong[0], s.calc.Element(1).ikMax, 1e-4 * c.ikMaxAlong[0]);
  EXPECT_NEAR(c.ikMaxAlong[2], c.ikMax, 1e-4 * c.ikMaxAlong[2]);
  EXPECT_GT(c.ikMaxAlong[2], AlongCable(c.z1) * 1.01);
}

}  // namespace
}  // namespace kordavelt::testing
