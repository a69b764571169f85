// Load flow of whole networks: working currents, end voltages and drops of a
// transformer feeder, design loads of three feeders under the methods "Кз",
// "ТЭП" and "ТПЭП", a single-phase load, single-phase heaters starting and a
// motor starting at the end of a long cable. Expected values are worked out
// here from the textbook formulas with std::complex.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>

#include "calc/network_fixture.h"
#include "results/snapshot_table.h"
#include "results/voltage_deviation.h"

namespace kordavelt::testing {
namespace {

using C = std::complex<double>;

const double kRoot3 = std::sqrt(3.0);
const C kA = std::polar(1.0, 2 * M_PI / 3);  // phase C = a·A, phase B = a²·A

C ToC(const Complex& z) { return {z.re, z.im}; }

// Current of a balanced load of P kW at cos φ on line voltage U, phase A.
C LoadCurrent(double kw, double cosPhi, double volts) {
  const double amps = kw * 1000 / (kRoot3 * volts * cosPhi);
  return std::polar(amps, -std::acos(cosPhi));
}

class LoadFlow : public NetworkFixture {};

// --- A 10/0.4 kV transformer feeder ----------------------------------------------------

TEST_F(LoadFlow, TransformerFeederCurrentsVoltagesAndDrops) {
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node();
  const auto source = Source(n1, 10000, 3);
  // 630 kVA, 10/0.4 kV, Pк 7.6 kW, uк 5.5 %, D/Y0.
  const std::int32_t tr = Transformer630(n1, n2, kGroupDY0, 9.7f, 85);
  const std::int32_t cable = Cable(n2, n3, 100);
  const std::int32_t load = Load(n3, Group(50, 0.85, 400));

  ASSERT_TRUE(s.calc.CalcSource(source.number));

  // Textbook values: transformer impedance on the 0.4 kV side, cable r0·L, x0·L.
  const double rT = 0.4 * 0.4 * 7.6 * 1e6 / (630.0 * 630.0);
  const double zT = 0.4 * 0.4 * 5.5 * 1e4 / 630;
  const C zTr{rT, std::sqrt(zT * zT - rT * rT)};
  const C zCable{0.193 * 100, 0.0602 * 100};
  const C i = LoadCurrent(50, 0.85, 400);  // ≈ 84.9 A
  const C u2 = 10000 / kRoot3 * 0.04 - i * zTr * 1e-3;
  const C u3 = u2 - i * zCable * 1e-3;

  const ElementRec& c = Of(cable);
  EXPECT_NEAR(std::abs(ToC(c.iDesign)), std::abs(i), 1e-3 * std::abs(i));
  EXPECT_NEAR(std::abs(ToC(c.ia)), std::abs(i), 1e-3 * std::abs(i));
  EXPECT_NEAR(std::abs(ToC(c.uaEnd)), std::abs(u3), 1e-3 * std::abs(u3));
  EXPECT_NEAR(c.dUMax, std::abs(u2) - std::abs(u3), 1e-3 * (std::abs(u2) - std::abs(u3)) + 0.01);
  EXPECT_NEAR(c.uLine[0], kRoot3 * std::abs(u3), 1e-3 * kRoot3 * std::abs(u3));
  EXPECT_NEAR(Of(load).uWork, kRoot3 * std::abs(u3), 1e-3 * kRoot3 * std::abs(u3));
  EXPECT_EQ(c.phaseSet, kPhaseA | kPhaseB | kPhaseC);  // balanced: no neutral current

  // Above the transformer the current is referred by the ratio 0.4/10.
  const ElementRec& t = Of(tr);
  EXPECT_NEAR(std::abs(ToC(t.ia)), std::abs(i), 1e-3 * std::abs(i));
  EXPECT_NEAR(std::abs(ToC(s.calc.Element(1).ia)), 0.04 * std::abs(i), 1e-3 * std::abs(i));
  EXPECT_NEAR(t.dUMax, std::abs(10000 / kRoot3 * 0.04) - std::abs(u2), 0.01);
  EXPECT_NEAR(t.loadFactor, std::abs(i) / (630 / kRoot3 / 0.4), 1e-3);

  // Delta-star: the loop below does not include the 10 kV zero-sequence path.
  const C zSource = ToC(s.calc.Element(1).z1);
  const C loop = 2.0 * zSource * 0.0016 + 2.0 * ToC(t.z1) + ToC(t.z0);
  EXPECT_NEAR(std::abs(ToC(c.zLoopStart) - loop), 0, 1e-3 * std::abs(loop));
  EXPECT_NEAR(c.ik1Busbar, 3 * 10000 * 1.05 / kRoot3 * 0.04 / std::abs(loop), 1e-3);

  // Without motors nothing starts: the voltage during starting is the
  // working line voltage, at the source as everywhere.
  EXPECT_NEAR(s.calc.Element(1).uStart, 10000, 1);
  EXPECT_NEAR(c.uStart, kRoot3 * std::abs(u3), 0.5);
}

TEST_F(LoadFlow, SourceWithoutWorkingVoltageStopsTheForwardSweep) {
  const int n1 = s.m.Node(), n2 = s.m.Node();
  const auto source = Source(n1, 0, 0);
  Load(n2, Group(10, 1, 400));
  Cable(n1, n2, 10);
  EXPECT_FALSE(s.calc.CalcSource(source.number));
  EXPECT_EQ(s.LastMessage(), "Расчет сети: Не задано напряжение источника#Т1");
}

// --- Three feeders under the design-load methods ---------------------------------------

class ThreeFeeders : public LoadFlow {
 protected:
  // Source on the 0.4 kV busbar n1, a cable to n2, three loads at n2.
  void Build(int regimeB, int regimeC, float kv) {
    const int n1 = s.m.Node(), n2 = s.m.Node();
    source = Source(n1, 400, 0);
    trunk = Cable(n1, n2, 20);
    loads[0] = Load(n2, Group(kRoot3 * 0.4 * 100, 1, 400, 0, kv));  // 100 A
    loads[1] = Load(n2, Group(kRoot3 * 0.4 * 40, 1, 400, regimeB, kv));
    loads[2] = Load(n2, Group(kRoot3 * 0.4 * 20, 1, 400, regimeC, kv));
  }
  double Design(std::int32_t key) { return std::abs(ToC(Of(key).iDesign)); }

  ModelBuilder::Tied source;
  std::int32_t trunk = 0;
  std::int32_t loads[3] = {};
};

TEST_F(ThreeFeeders, LoadFactorMethodSumsTheLoads) {
  s.m->Settings().SetLoadMethod(0);
  Build(1, 2, 1);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  EXPECT_NEAR(Design(loads[1]), 40, 0.01);
  EXPECT_NEAR(Design(trunk), 160, 0.05);
  EXPECT_NEAR(Design(source.branch), 160, 0.05);
}

TEST_F(ThreeFeeders, DemandFactorsByRegimeAndNeverBelowTheLargestLoad) {
  s.m->Settings().SetLoadMethod(2);
  Build(1, 2, 1);  // continuous 100 A, periodic 40 A, episodic 20 A
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  // Distribution: 100 + 0.5·40 + 0.15·20.
  EXPECT_NEAR(Design(trunk), 123, 0.05);
  // The source: 0.7·100 + 0.35·40 + 0.2·20 = 88 is below the largest load.
  EXPECT_NEAR(Design(source.branch), 100, 0.05);
  // The working currents themselves are not reduced.
  EXPECT_NEAR(std::abs(ToC(Of(trunk).ia)), 160, 0.05);
}

TEST_F(ThreeFeeders, DesignCoefficientsFromTheEffectiveNumberOfReceivers) {
  s.m->Settings().SetLoadMethod(3);
  Build(0, 0, 0.2f);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  // nэ = 160² / (100² + 40² + 20²) = 2.13 → 2, Kи = 0.2.
  // Distribution table: Kр = 3.39; P = 3.39 · 0.2 · 160.
  EXPECT_NEAR(Design(trunk), 3.39 * 0.2 * 160, 0.05);
  // Supply table: Kр = 2.69 gives 86 A, below the largest load of 100 A.
  EXPECT_NEAR(Design(source.branch), 100, 0.05);
}

// --- A single-phase load -----------------------------------------------------------------

TEST_F(LoadFlow, SinglePhaseLoadOnPhaseB) {
  s.m->Settings().SetNeutralResistanceMethod(0);
  const int n1 = s.m.Node(), n2 = s.m.Node();
  const auto source = Source(n1, 400, 0);
  const std::int32_t cable = Cable(n1, n2, 50);
  const std::int32_t load = Load(n2, Group(10, 1, 230), kConnectionB0);
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  const ElementRec& c = Of(cable);
  const double amps = 10000.0 / 230;
  const C ib = ToC(c.ib);
  EXPECT_NEAR(std::abs(ib), amps, 1e-3 * amps);
  // A unity-power-factor load on B draws in phase with Ub (A turned by a²).
  EXPECT_NEAR(std::abs(ib - amps * kA * kA), 0, 1e-3 * amps);
  EXPECT_NEAR(std::abs(ToC(c.ia)) + std::abs(ToC(c.ic)), 0, 1e-4);
  EXPECT_EQ(c.phaseSet & (kPhaseA | kPhaseB | kPhaseC), kPhaseB);
  EXPECT_NE(c.phaseSet & kNeutralLoaded, 0);
  EXPECT_NEAR(c.iNeutral, amps, 1e-3 * amps);

  // A single-phase current drops (2·Z1 + Z0)/3 in the phase conductor.
  const C z1 = ToC(c.z1), z0 = ToC(c.z0);
  const C ubEnd = 400 / kRoot3 * kA * kA - ib * (2.0 * z1 + z0) / 3.0 * 1e-3;
  EXPECT_NEAR(std::abs(ToC(c.ubEnd)), std::abs(ubEnd), 1e-3 * std::abs(ubEnd));
  // The neutral current shifts the other phases by Ib·(Z0 − Z1)/3; Uр of a
  // one-phase element is its lowest phase voltage.
  const C shift = ib * (z0 - z1) / 3.0 * 1e-3;
  const double lowest = std::min(
      {std::abs(ubEnd), std::abs(400 / kRoot3 - shift), std::abs(400 / kRoot3 * kA - shift)});
  EXPECT_NEAR(Of(load).uWork, lowest, 1e-3 * lowest);
  EXPECT_EQ(Of(load).phaseSet & (kPhaseA | kPhaseB | kPhaseC), kPhaseB);

  // Neutral loss with the equivalent neutral resistance (R0 − R1)/3.
  const double rn = (z0.real() - z1.real()) / 3;
  EXPECT_NEAR(c.dPo, amps * amps * rn * 1e-6, 1e-6);
}

// --- Single-phase heaters starting ---------------------------------------------------------

class SinglePhaseStart : public LoadFlow {
 protected:
  // A 10 kW heater on 230 V at the end of its own 50 m cable, connected to
  // `connection`, whose start draws `startA` at cos φп 1.
  std::int32_t Heater(int busbar, int connection, float startA) {
    const int n = s.m.Node();
    const std::int32_t cable = Cable(busbar, n, 50);
    const int group = Group(10, 1, 230);
    EXPECT_TRUE(modelClass::SeekExact(s.m->Groups(), group));
    GroupRec g(s.m->Groups()->Record());
    g.SetIstart(startA);
    g.SetCosFstart(1);
    s.m->Groups()->MarkModifiedAndFlush();
    Load(n, group, connection);
    return cable;
  }
};

// Uп of a one-phase element once came out as a line value (√3 × phase A)
// beside a phase-value Uр, and dUп read about +78 %: a start that draws no
// more than the working current must leave the working voltage, on any phase.
TEST_F(SinglePhaseStart, AHeaterStartingAtItsWorkingCurrentKeepsItsWorkingVoltage) {
  const int n1 = s.m.Node();
  const auto source = Source(n1, 400, 0);
  const float working = 10000.0f / 230;
  const std::int32_t cables[3] = {Heater(n1, kConnectionA0, working),
                                  Heater(n1, kConnectionB0, working),
                                  Heater(n1, kConnectionC0, working)};
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  for (const std::int32_t cable : cables) {
    const ElementRec& c = Of(cable);
    ASSERT_TRUE(CarriesOnePhase(c));
    EXPECT_LT(c.uWork, 400 / kRoot3);  // a phase value
    EXPECT_NEAR(c.uStart, c.uWork, 1e-3);
    EXPECT_EQ(StartingDeviationCell(c), WorkingDeviationCell(c));
  }
}

TEST_F(SinglePhaseStart, AHeavierStartLowersThePhaseItFlowsIn) {
  const int n1 = s.m.Node();
  const auto source = Source(n1, 400, 0);
  const double working = 10000.0 / 230;
  const std::int32_t cable = Heater(n1, kConnectionC0, static_cast<float>(3 * working));
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  // The extra 2·Ic flows in phase C over the source and the cable.
  const ElementRec& c = Of(cable);
  const C z = ToC(s.calc.Element(1).z1) + ToC(c.z1);
  const C uc = ToC(c.ucEnd) - 2.0 * ToC(c.ic) * z * 1e-3;
  EXPECT_NEAR(c.uStart, std::abs(uc), 1e-3 * std::abs(uc));
  EXPECT_LT(c.uStart, c.uWork - 1);
  // The deviation is of a phase value from the phase voltage.
  EXPECT_EQ(StartingDeviationCell(c), NumberCell((c.uStart / (400 * 0.57735) - 1) * 100));
}

// --- A motor starting at the end of a long cable -------------------------------------------

TEST_F(LoadFlow, MotorStartBelowALongCable) {
  const int n1 = s.m.Node(), n2 = s.m.Node();
  const auto source = Source(n1, 400, 0);
  const std::int32_t cable = Cable(n1, n2, 300);
  // A 55 kW asynchronous motor at cos φ 0.88 that starts with 700 A at
  // cos φп 0.4 for 6 s; a 20 kW heater runs beside it.
  const int motorGroup = Group(55, 0.88, 400);
  ASSERT_TRUE(modelClass::SeekExact(s.m->Groups(), motorGroup));
  GroupRec g(s.m->Groups()->Record());
  g.SetClass(1);
  g.SetIstart(700);
  g.SetCosFstart(0.4f);
  g.SetTstart(6);
  s.m->Groups()->MarkModifiedAndFlush();
  const std::int32_t motor = Load(n2, motorGroup);
  Load(n2, Group(20, 1, 400));
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  // The start draws the motor's starting current while the heater runs.
  const C iMotor = LoadCurrent(55, 0.88, 400), iHeater = LoadCurrent(20, 1, 400);
  const C iStart = std::polar(700.0, -std::acos(0.4)) + iHeater;
  const ElementRec& c = Of(cable);
  EXPECT_NEAR(std::abs(ToC(c.iStart) - iStart), 0, 1e-3 * std::abs(iStart));
  EXPECT_FLOAT_EQ(c.tStart, 6);
  EXPECT_FLOAT_EQ(Of(motor).tStart, 6);

  // The busbars hold Uр under the working load; the starting current's
  // excess over it drops across the source as well as the cable:
  // U = √3 · |Ua − Ia · Zcable − (Iп − Ia) · (Zsource + Zcable)|, a line value.
  const C iWork = iMotor + iHeater;
  EXPECT_NEAR(std::abs(ToC(c.ia) - iWork), 0, 1e-3 * std::abs(iWork));
  const C zSource = ToC(s.calc.Element(1).z1);
  const C zCable = ToC(c.z1);  // 300 m of 0.193 + j0.0602 mΩ/m and the terminations
  EXPECT_NEAR(zCable.real(), 0.193 * 300, 0.1);
  EXPECT_NEAR(zCable.imag(), 0.0602 * 300, 1e-3);
  const C uaEnd = 400 / kRoot3 - iWork * zCable * 1e-3;
  const double uStart = kRoot3 * std::abs(uaEnd - (iStart - iWork) * (zSource + zCable) * 1e-3);
  EXPECT_NEAR(c.uDuringStart, uStart, 1e-3 * uStart);
  EXPECT_NEAR(c.uStart, uStart, 1e-3 * uStart);
  const double uWork = kRoot3 * std::abs(uaEnd);
  EXPECT_NEAR(c.uWork, uWork, 1e-3 * uWork);
  // The start pulls the motor's terminals more than 15 % below nominal.
  EXPECT_LT(uStart, 0.85 * 400);
  EXPECT_GT(uWork, uStart + 40);
}

}  // namespace
}  // namespace kordavelt::testing
