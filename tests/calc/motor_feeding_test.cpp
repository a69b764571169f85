// Maximum short-circuit currents with motor feeding. The decay curves and
// the reduction rules guard against misread tables and a wrongly combined
// network (a motor counted twice, a transformer referring the wrong way);
// the whole-network cases compare I″ with the circuit solved by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "calc/decay_curves.h"
#include "calc/feeding_network.h"
#include "calc/max_current_scenario.h"
#include "calc/motor_feeding.h"

namespace kordavelt::testing {
namespace {

const double kRoot3 = std::sqrt(3.0);

// --- Typical decay curves --------------------------------------------------------------------

TEST(DecayCurves, ReadsTheTablesInterpolatesAndClampsAtTheirEdges) {
  const auto async = MachineKind::Asynchronous;
  const auto sync = MachineKind::Synchronous;
  // Grid points: a byte mistyped in the tables would show here.
  EXPECT_NEAR(DecayFactor(async, 3, 0.1), 0.192, 1e-9);
  EXPECT_NEAR(DecayFactor(async, 5, 0.2), 0.012, 1e-9);
  EXPECT_NEAR(DecayFactor(sync, 4, 0.5), 0.74, 1e-9);
  EXPECT_NEAR(DecayFactor(sync, 7, 1.0), 0.464, 1e-9);
  // Between columns and between rows.
  EXPECT_NEAR(DecayFactor(async, 2, 0.0125), (1.0 + 0.62) / 2, 1e-9);
  EXPECT_NEAR(DecayFactor(async, 2.5, 0.025), (0.62 + 0.552) / 2, 1e-9);
  EXPECT_NEAR(DecayFactor(sync, 3, 0.25), (0.864 + 0.86) / 2, 1e-9);
  // Closer than the last row reads the last row; later than the last
  // column stays at the last value.
  EXPECT_NEAR(DecayFactor(async, 9, 0.05), 0.28, 1e-9);
  EXPECT_NEAR(DecayFactor(async, 3, 5.0), 0.052, 1e-9);
  EXPECT_NEAR(DecayFactor(sync, 12, 30.0), 0.464, 1e-9);
  // Too remote to feed.
  EXPECT_EQ(DecayFactor(async, 1.99L, 0), 0);
  EXPECT_EQ(DecayFactor(sync, 1, 0.3), 0);
}

// --- Reducing the network ------------------------------------------------------------------

FeedingSource Machine(C emf, C z, double initial, double rated) {
  FeedingSource m;
  m.emf = {emf.real(), emf.imag()};
  m.z = {z.real(), z.imag()};
  m.z04 = {z.real(), 0.4 * z.imag()};
  m.asyncInitial = initial;
  m.asyncRated = rated;
  return m;
}

TEST(FeedingSources, CompanionImpedancesAndRemotenessFollowTheReduction) {
  const FeedingSource a = Machine({230, 0}, {1, 15}, 15, 2);
  const FeedingSource b = Machine({200, -20}, {40, 240}, 0.8, 0.15);
  // The × 0.4 companions combine on their own; network impedance adds to them whole.
  const FeedingSource both = InSeries(Parallel(a, b), {20, 6});
  const C z04 = C{1, 6} * C{40, 96} / (C{1, 6} + C{40, 96}) + C{20, 6};
  EXPECT_NEAR(std::abs(C(both.z04.real(), both.z04.imag()) - z04), 0, 1e-9);
  // Behind the cable the machines drive less current into the fault; their
  // rated currents stay.
  const C z = C{1, 15} * C{40, 240} / (C{1, 15} + C{40, 240});
  EXPECT_NEAR(both.asyncInitial, 15.8 * std::abs(z) / std::abs(z + C{20, 6}), 1e-9);
  EXPECT_NEAR(both.asyncRated, 2.15, 1e-12);
  // A source without EMF takes no part, whatever its impedance.
  const FeedingSource idle = Machine({0, 0}, {0.1, 0.1}, 0, 1);
  EXPECT_EQ(Parallel(a, idle).z, a.z);
  EXPECT_EQ(Parallel(idle, b).asyncRated, b.asyncRated);
}

// --- The current at a fault point ------------------------------------------------------------

TEST(MaximumFaultCurrent, MachinesCountFromHalfAPercentAndTheirShareDecays) {
  // 10 kA from the system, 0.04 kA from a motor: a rise of 0.4 % is left out.
  const FaultCurrent small =
      MaximumFaultCurrent(10, Machine({230, 0}, {230 / 10.04, 0}, 0.04, 0.01));
  EXPECT_EQ(small.initial, 10);
  EXPECT_EQ(small.At(0), 10);

  // A rise of 2 kA, shared 3 : 1 by the initial currents of remoteness 5 and 2.
  FeedingSource network = Machine({230, 0}, {230 / 12.0, 0}, 1.5, 0.3);
  network.syncInitial = 0.5;
  network.syncRated = 0.25;
  const FaultCurrent current = MaximumFaultCurrent(10, network);
  EXPECT_NEAR(current.initial, 12, 1e-9);
  EXPECT_NEAR(current.asyncInitial, 1.5, 1e-9);
  EXPECT_NEAR(current.syncInitial, 0.5, 1e-9);
  EXPECT_NEAR(current.At(0), 12, 1e-9);
  EXPECT_NEAR(current.At(0.05), 10 + 0.28 * 1.5 + 0.966 * 0.5, 1e-9);
  // Long after the fault the system part remains with what the curves keep.
  EXPECT_NEAR(current.At(10), 10 + 0.012 * 1.5 + 1.0 * 0.5, 1e-9);
}

// --- Peak current ----------------------------------------------------------------------------

TEST(PeakCurrent, AgreesWithTheTextbookPeakFactorAndCoversTheEdgeCircuits) {
  FaultCurrent current = SteadyFault(10);
  for (const double ratio : {0.02, 0.1, 0.3, 0.5, 1.0}) {
    const double kappa = 1.02 + 0.98 * std::exp(-3 * ratio);
    EXPECT_NEAR(PeakCurrent(current, 20 * ratio, 20), std::sqrt(2.0) * kappa * 10,
                0.01 * std::sqrt(2.0) * kappa * 10)
        << "R/X = " << ratio;
  }
  // Without reactance there is no DC component; R = 0 counts as 0.1·X; R/X
  // is limited to 100.
  EXPECT_NEAR(PeakCurrent(current, 5, 0), 14.14214, 1e-9);
  EXPECT_NEAR(PeakCurrent(current, 0, 20), PeakCurrent(current, 2, 20), 1e-12);
  EXPECT_NEAR(PeakCurrent(current, 1e6, 2), PeakCurrent(current, 200, 2), 1e-12);
  // Motor feeding that decays before the peak adds less than its initial value.
  current.initial = 12;
  current.asyncInitial = 2;
  current.asyncRemoteness = 5;
  EXPECT_LT(PeakCurrent(current, 2, 20), PeakCurrent(SteadyFault(12), 2, 20));
  EXPECT_GT(PeakCurrent(current, 2, 20), PeakCurrent(SteadyFault(10), 2, 20));
}

// --- Whole networks --------------------------------------------------------------------------

class MotorFeedingNetwork : public MaxCurrentScenario {};

TEST_F(MotorFeedingNetwork, MotorAtTransformerBusbarsRaisesTheInitialCurrent) {
  const int n1 = s.m.Node(), n2 = s.m.Node();
  const auto source = Source(n1, 10000, 3, 10);
  const std::int32_t tr = Transformer(n1, n2);
  const std::int32_t motor = AsyncMotor(n2, 90);
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  const ElementRec& t = Of(tr);
  const ElementRec& m = Of(motor);
  const double kt = t.kt;
  ASSERT_NEAR(kt, 0.04, 1e-6);
  const C zSource = ToC(s.calc.Element(1).z1);
  const C zLv = zSource * kt * kt + ToC(t.z1);
  const double eHv = 10000 / kRoot3;
  const C system = eHv * kt / zLv;
  const C emf = ToC(m.emfMotor), zMotor = ToC(m.z1);
  const C fromMotor = emf / zMotor;

  // The motor's initial current is E″/|Z″|, five to seven times its rated current.
  const double rated = 90 / 0.89 / (kRoot3 * 0.4) / 1000;  // kA
  EXPECT_NEAR(t.asyncInitial, std::abs(fromMotor), 1e-3 * std::abs(fromMotor));
  EXPECT_NEAR(t.asyncRated, rated, 1e-3 * rated);
  EXPECT_GT(std::abs(fromMotor), 4.5 * rated);
  EXPECT_LT(std::abs(fromMotor), 7.5 * rated);

  // At the 0.4 kV busbars the system and the motor feed side by side.
  EXPECT_NEAR(t.ikMax, std::abs(system + fromMotor), 1e-3 * std::abs(system));
  EXPECT_GT(t.ikMax, 1.01 * std::abs(system));
  // A fault at the motor's terminals is the same busbar fault.
  EXPECT_NEAR(m.ikMax, t.ikMax, 1e-4 * t.ikMax);

  // At the 10 kV busbars the motor feeds through the transformer, E″·Kт
  // over the motor and transformer impedances: 0.3 %, too little to count.
  const ElementRec& hv = s.calc.Element(1);
  const C viaTransformer = emf * kt / (zMotor + ToC(t.z1));
  const C atHv = eHv / zSource + viaTransformer;
  EXPECT_NEAR(std::abs(ToC(hv.feedEmf) / ToC(hv.feedZ)), std::abs(atHv), 1e-4 * std::abs(atHv));
  ASSERT_LT(std::abs(atHv), kMotorFeedingRatio * std::abs(eHv / zSource));
  EXPECT_NEAR(hv.ikMax, std::abs(eHv / zSource), 1e-4 * hv.ikMax);

  // The peak exceeds √2·I″ and stays below the fully offset 2√2·I″.
  EXPECT_GT(t.iPeak, std::sqrt(2.0) * t.ikMax);
  EXPECT_LT(t.iPeak, 2 * std::sqrt(2.0) * t.ikMax);
}

TEST_F(MotorFeedingNetwork, MotorsOnOtherFeedersFeedThroughTheBusbars) {
  const int n1 = s.m.Node(), nA = s.m.Node(), nB = s.m.Node();
  const auto source = Source(n1, 400, 0, 20);
  const std::int32_t cableA = Cable(n1, nA, 50);
  const std::int32_t motorA = AsyncMotor(nA, 90);
  const std::int32_t cableB = CopperCable(n1, nB, 30, 50);
  const std::int32_t motorB = AsyncMotor(nB, 55);
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  const double e = 400 / kRoot3;
  const C zs = ToC(s.calc.Element(1).z1);
  const C za = ToC(Of(cableA).z1), zb = ToC(Of(cableB).z1);
  const C ema = ToC(Of(motorA).emfMotor), zma = ToC(Of(motorA).z1);
  const C emb = ToC(Of(motorB).emfMotor), zmb = ToC(Of(motorB).z1);

  // Fault at the end of feeder A: the busbars (source and motor B in
  // parallel) through cable A, and motor A directly.
  const C yBus = 1.0 / zs + 1.0 / (zb + zmb);
  const C eBus = (e / zs + emb / (zb + zmb)) / yBus;
  const C atA = eBus / (1.0 / yBus + za) + ema / zma;
  EXPECT_NEAR(Of(cableA).ikMax, std::abs(atA), 1e-4 * std::abs(atA));
  // At the busbars everything feeds.
  const C atBus = e / zs + ema / (za + zma) + emb / (zb + zmb);
  EXPECT_NEAR(s.calc.Element(1).ikMax, std::abs(atBus), 1e-4 * std::abs(atBus));
  EXPECT_NEAR(std::abs(ToC(s.calc.Element(1).feedEmf) / ToC(s.calc.Element(1).feedZ)),
              std::abs(atBus), 1e-4 * std::abs(atBus));
  // Both motors' rated currents are seen from every point.
  EXPECT_NEAR(Of(cableA).asyncRated,
              Of(motorA).iPermissible / 1000 + Of(motorB).iPermissible / 1000, 1e-6);
}

}  // namespace
}  // namespace kordavelt::testing
