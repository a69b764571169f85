// Minimum short-circuit currents of whole networks: a 10 kV source feeding a
// 630 kVA transformer and copper 4 × 95 mm² cables, against the textbook
// formulas of the short-circuit standard for networks below 1 kV, worked out
// here with std::complex:
//
//   I(3) = U / (√3·|Z1Σ|),  I(2) = U / (2·|Z1Σ|),  I(1) = √3·U / |2·Z1Σ + Z0Σ|,
//
// the system referred to 0.4 kV by (0.4/10)², its zero sequence not reaching
// the low side of a D/Y0 or Y/Y0 transformer. Also the arc, the heating of
// the cables during the fault, protected zones, and the fault loops of a
// branched tree against a plain walk to the source.

#include "calc/minimum_currents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "calc/conductor_heating.h"
#include "calc/fault_loop.h"
#include "calc/network_fixture.h"
#include "calc/prepare_elements.h"
#include "calc/vth_evaluation.h"
#include "refbook/vth_block.h"

namespace kordavelt::testing {
namespace {

using C = std::complex<double>;
using Three = std::array<double, 3>;  // single-, two-, three-phase

const double kRoot3 = std::sqrt(3.0);
constexpr double kW = 314.15927;
const double kE = 400 / kRoot3;  // 0.4 kV phase EMF at the minimum EMF of 1.0 p.u.

C ToC(const Complex& z) { return {z.re, z.im}; }

// The 10 kV system (10 kA, Ta = 0.03 s, impedance set at the maximum EMF of
// 1.05 p.u.) and the 630 kVA transformer (Pк 7.6 kW, uк 5.5 %) at 0.4 kV.
C UpstreamZ1() {
  const double zs = 1.05 * 10000 / kRoot3 / 10;
  const double rs = zs / std::hypot(kW * 0.03, 1.0);
  const double rt = 0.16 * 7.6e6 / (630.0 * 630), zk = 0.16 * 5.5e4 / 630;
  return C{rs, rs * kW * 0.03} * 0.04 * 0.04 + C{rt, std::sqrt(zk * zk - rt * rt)};
}

// 95 mm² copper with a joint resistance at each end.
const double kJoint = 0.2 * std::pow(95.0, -0.6);
C CableZ1(double m) { return {0.193 * m + 2 * kJoint, 0.0602 * m}; }
C CableZ0(double m) { return {0.772 * m + 8 * kJoint, 0.36 * m}; }

Three Currents(C z1, C z0) {
  return {3 * kE / std::abs(2.0 * z1 + z0), kRoot3 * kE / std::abs(2.0 * z1), kE / std::abs(z1)};
}

void ExpectSeries(const ElementRec& e, int point, const Three& expected, const char* where) {
  for (int type = 0; type < 3; ++type) {
    EXPECT_NEAR(e.faultSeries[type][point], expected[type], 1e-3 * expected[type])
        << where << ", fault type " << type;
  }
}

class MinimumCurrents : public NetworkFixture {
 protected:
  // The 10 kV system, weakly earthed: were its zero sequence to reach the
  // 0.4 kV faults, their single-phase currents would collapse.
  void SystemSource(int node) {
    source = Source(node, 10000, 3, 10);
    Edit<SourceObjectRec>(kKindPowerSource, source.branch, [](SourceObjectRec& o) {
      o.SetTa(0.03f);
      o.SetIk1(0.5f);
    });
  }

  // 0.4 kV busbars of 20 kA three-phase and 18 kA single-phase.
  void Busbars(int node) {
    source = Source(node, 400, 0, 20);
    Edit<SourceObjectRec>(kKindPowerSource, source.branch,
                          [](SourceObjectRec& o) { o.SetIk1(18); });
  }

  // A protective device without impedance: Ir 630 A, instantaneous above 3 kA.
  std::int32_t Device(int from, int to) {
    const std::int32_t key = s.m.Branch(kKindProtectiveDevice, from, to);
    Edit<ProtectiveDeviceRec>(kKindProtectiveDevice, key, [](ProtectiveDeviceRec& d) {
      d.SetIr(630);
      d.SetIm(3000);
      d.SetTm(0.1f);
    });
    return key;
  }

  // A fuse of a `linkA` link; its band from 100 s at 2 Ir to 0.05 s at 20 Ir.
  std::int32_t Fuse(int from, int to, float linkA) {
    Type<book::FuseRec>(book::kFuseTable, 701, [](book::FuseRec& f) {
      f.SetInom(250);
      const float band[5][3] = {
          {2, 100, 1000}, {3, 10, 50}, {5, 1, 5}, {8, 0.1f, 0.5f}, {20, 0.01f, 0.05f}};
      for (int p = 0; p < 5; ++p) {
        SetVthPoint(f.Vth(), p + 1, {std::log(band[p][0]), std::log(band[p][1])});
        SetVthPoint(f.Vth(), p + 8, {std::log(band[p][0] * 1.2f), std::log(band[p][2])});
      }
    });
    const std::int32_t key = s.m.Branch(kKindFuse, from, to);
    Edit<FuseRec>(kKindFuse, key, [linkA](FuseRec& f) {
      f.SetType(701);
      f.SetIpv(linkA);
    });
    return key;
  }

  std::int32_t SomeLoad(int node) { return Load(node, Group(20, 0.9, 400)); }

  // System, transformer of `group` to the 0.4 kV busbars, and two feeders,
  // each a protective device and a cable of 50 or 200 m to a load.
  void BuildTwoFeeders(int group, C z0T) {
    const int n1 = s.m.Node(), n2 = s.m.Node();
    SystemSource(n1);
    transformer = Transformer630(n1, n2, group, static_cast<float>(z0T.real()),
                                 static_cast<float>(z0T.imag()));
    for (int f = 0; f < 2; ++f) {
      const int n3 = s.m.Node(), n4 = s.m.Node();
      Device(n2, n3);
      cables[f] = Cable(n3, n4, f == 0 ? 50 : 200);
      loads[f] = SomeLoad(n4);
    }
    ASSERT_TRUE(s.calc.CalcSource(source.number));
  }

  // The busbars (where the devices' zones begin: the transformer's zone ends
  // there) and the ends of both cables, against the formulas.
  void ExpectFeeders(C z0T) {
    const Three busbars = Currents(UpstreamZ1(), z0T);
    ExpectSeries(Of(transformer), 0, busbars, "busbars");
    for (int type = 0; type < 3; ++type) {
      EXPECT_NEAR(Of(transformer).ikMin[type], busbars[type], 1e-3 * busbars[type]);
    }
    for (int f = 0; f < 2; ++f) {
      const double m = f == 0 ? 50 : 200;
      const Three end = Currents(UpstreamZ1() + CableZ1(m), z0T + CableZ0(m));
      ExpectSeries(Of(cables[f]), 0, end, f == 0 ? "end of 50 m" : "end of 200 m");
      // The fault at a load lies at its terminals, not behind its impedance.
      ExpectSeries(Of(loads[f]), 0, end, "load terminals");
    }
  }

  ModelBuilder::Tied source;
  std::int32_t transformer = 0;
  std::int32_t cables[2] = {};
  std::int32_t loads[2] = {};
};

const C kZ0DeltaStar{3.06, 13.6};
const C kZ0StarStar{30.2, 97.8};  // the zero-sequence flux closes through the tank

// Guards the loop sums, the system's ratio, E per level, the zero-sequence
// stop at the transformer and the positive sequence going on beyond it.
TEST_F(MinimumCurrents, DeltaStarBusbarsAndCableEndsFollowTheStandardsFormulas) {
  BuildTwoFeeders(kGroupDY0, kZ0DeltaStar);
  ExpectFeeders(kZ0DeltaStar);
  EXPECT_NEAR(Of(transformer).ikMin[2], 15.5, 0.5);  // kA at a 630 kVA transformer
  EXPECT_NEAR(Of(cables[1]).ikMin[0], 2.5, 0.2);     // single-phase after 200 m

  // The 10 kV side holds its own currents: Kт = 0.04, and behind the delta
  // 1/√3 of a single-phase and 2/√3 of a two-phase fault current.
  const ElementRec& system = s.calc.Element(1);
  const ElementRec& t = Of(transformer);
  EXPECT_NEAR(system.faultSeries[0][0], t.faultSeries[0][0] * 0.04 / kRoot3, 1e-5);
  EXPECT_NEAR(system.faultSeries[1][0], t.faultSeries[1][0] * 0.04 * 2 / kRoot3, 1e-5);
  EXPECT_NEAR(system.faultSeries[2][0], t.faultSeries[2][0] * 0.04, 1e-5);
  EXPECT_EQ(system.faultSeriesCopy, system.faultSeries);

  // Nothing protects the transformer but the source, whose empty
  // characteristic never operates.
  EXPECT_EQ(t.mainProtection, system.characteristic);
  EXPECT_FLOAT_EQ(static_cast<float>(LongestTime(t.mainProtection, t.mainShift, t.ikMin[2])), 9999);
  EXPECT_FLOAT_EQ(system.tkMin[0], 9999);
}

TEST_F(MinimumCurrents, StarStarTransformerGivesAMuchSmallerSinglePhaseCurrent) {
  BuildTwoFeeders(kGroupYY0, kZ0StarStar);
  ExpectFeeders(kZ0StarStar);
  EXPECT_LT(Of(transformer).ikMin[0], 0.6 * Of(transformer).ikMin[2]);
}

// Each method's arc, read from the arc unit at the loop of the cable's end,
// must enter that loop as the fault type holds it (3·Rд single-phase).
TEST_F(MinimumCurrents, ArcEntersTheLoopByEachMethod) {
  BuildTwoFeeders(kGroupDY0, kZ0DeltaStar);
  const C z1 = UpstreamZ1() + CableZ1(50);
  const C loops[3] = {2.0 * z1 + kZ0DeltaStar + CableZ0(50), 2.0 * z1, z1};
  const double factors[3] = {3, 1.732051, 1};
  ModelSettings& settings = s.m->Settings();
  settings.SetArcResistance(15);
  settings.SetArcLength(20);
  settings.SetPhaseDistance(50);
  for (int method = kArcConstant; method <= kArcByCurrent; ++method) {
    settings.SetArcMethod(method);
    ASSERT_TRUE(s.calc.CalcSource(source.number));
    const ArcSettings arc{method, 15, 20, 50};
    for (int type = 0; type < 3; ++type) {
      const C z = loops[type];
      const double rd =
          static_cast<double>(ArcResistance(arc, z.real(), z.imag(), factors[type], kE));
      EXPECT_GT(rd, 0.5) << "method " << method;
      const double expected = factors[type] * kE / std::abs(z + (type == 0 ? 3 : 1) * rd);
      EXPECT_NEAR(Of(cables[0]).faultSeries[type][0], expected, 1e-3 * expected)
          << "method " << method << ", fault type " << type;
    }
  }
}

// Guards the Joule integral of the first step (with its aperiodic part) and
// the heated resistance entering each loop as often as Z1 does.
TEST_F(MinimumCurrents, CablesHeatDuringTheFaultAndTheCurrentFalls) {
  BuildTwoFeeders(kGroupDY0, kZ0DeltaStar);
  const ElementRec& cable = Of(cables[1]);
  ASSERT_FLOAT_EQ(cable.tempWork, 20);
  const C z1 = UpstreamZ1() + CableZ1(200);
  const auto afterFirstStep = [&](C loop, double factor, double times) {
    const double i0 = factor * kE / std::abs(loop);
    const double bt = i0 * i0 * (0.05 + loop.imag() / (kW * loop.real()));
    const double theta = std::exp(bt * cable.adiabaticConstant) * (20 + 228) - 228;
    const double grown = CableZ1(200).real() * (theta - 20) / (cable.tempConstant + 20);
    return factor * kE / std::abs(loop + times * grown);
  };
  const double i3 = afterFirstStep(z1, 1, 1);
  const double i1 = afterFirstStep(2.0 * z1 + kZ0DeltaStar + CableZ0(200), 3, 3);
  EXPECT_NEAR(cable.faultSeries[2][1], i3, 1e-4 * i3);
  EXPECT_NEAR(cable.faultSeries[0][1], i1, 1e-4 * i1);
  for (int type = 0; type < 3; ++type) {
    EXPECT_LT(cable.faultSeries[type][1], cable.faultSeries[type][0]);
    for (int k = 2; k < kFaultSeriesLength; ++k) {
      EXPECT_LE(cable.faultSeries[type][k], cable.faultSeries[type][k - 1]);
    }
    EXPECT_EQ(cable.ikMin[type], cable.faultSeries[type][1]);  // Iкм is read at 0.05 s
  }
  EXPECT_DOUBLE_EQ(static_cast<double>(FaultSeriesTime(11)), 51.2);
}

TEST_F(MinimumCurrents, FuseHoldsTheCurrentAtTheEndOfItsZoneAndItsLongestTimeThere) {
  // 0.4 kV busbars: fuse F1 (250 A), 100 m, fuse F2 (100 A), 50 m, a load.
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node(), n4 = s.m.Node(), n5 = s.m.Node();
  Busbars(n1);
  const ElementRec& f1 = Of(Fuse(n1, n2, 250));
  const ElementRec& c1 = Of(Cable(n2, n3, 100));
  const ElementRec& f2 = Of(Fuse(n3, n4, 100));
  const ElementRec& c2 = Of(Cable(n4, n5, 50));
  SomeLoad(n5);
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  for (int type = 0; type < 3; ++type) {
    // F2 protects to the load; F1 up to F2's load side.
    EXPECT_EQ(f2.ikMin[type], c2.faultSeries[type][1]);
    EXPECT_EQ(f1.ikMin[type], c1.faultSeries[type][1]);
    EXPECT_GT(f1.ikMin[type], f2.ikMin[type]);
    EXPECT_FLOAT_EQ(f1.tkMin[type],
                    static_cast<float>(LongestTime(f1.characteristic, 0, f1.ikMin[type])));
    EXPECT_FLOAT_EQ(f2.tkMin[type],
                    static_cast<float>(LongestTime(f2.characteristic, 0, f2.ikMin[type])));
    EXPECT_LT(f2.tkMin[type], 9999);
  }
  EXPECT_EQ(c2.mainProtection, f2.characteristic);
  EXPECT_EQ(c2.backupProtection, f1.characteristic);
  EXPECT_EQ(f2.mainProtection, f2.characteristic);  // a fuse clears a fault at its load side
  EXPECT_EQ(f2.backupProtection, f1.characteristic);
  EXPECT_EQ(c1.backupProtection, s.calc.Element(1).characteristic);
}

// A 10 kV fuse protects the transformer's 0.4 kV cable: a low-side current
// reaches it 0.04 times as large.
TEST_F(MinimumCurrents, HighSideFuseReadsLowSideCurrentsThroughTheRatio) {
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node(), n4 = s.m.Node();
  SystemSource(n1);
  const ElementRec& f = Of(Fuse(n1, n2, 63));
  Transformer630(n2, n3, kGroupDY0, 3.06f, 13.6f);
  const ElementRec& c = Of(Cable(n3, n4, 100));
  SomeLoad(n4);
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  ASSERT_EQ(c.mainProtection, f.characteristic);
  EXPECT_NEAR(c.mainShift, -std::log(0.04), 1e-5);
  EXPECT_NEAR(static_cast<double>(LongestTime(c.mainProtection, c.mainShift, c.ikMin[2])),
              static_cast<double>(LongestTime(f.characteristic, 0, c.ikMin[2] * 0.04)), 1e-3);
  // The fuse's zone reaches through the transformer to the cable's end.
  EXPECT_NEAR(f.ikMin[2], c.ikMin[2] * 0.04, 1e-5);
  EXPECT_NEAR(f.ikMin[0], c.ikMin[0] * 0.04 / kRoot3, 1e-5);
}

TEST_F(MinimumCurrents, MultiVariantRunsKeepTheSmallestCurrents) {
  ModelSettings& settings = s.m->Settings();
  const int n1 = s.m.Node(), n2 = s.m.Node();
  Busbars(n1);
  const ElementRec& cable = Of(Cable(n1, n2, 100));
  SomeLoad(n2);
  settings.SetMinEmf(0.9f);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  const float lowered = cable.ikMin[2];
  settings.SetMultiVariant(true);
  settings.SetMinEmf(1.0f);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  EXPECT_EQ(cable.ikMin[2], lowered);
  EXPECT_GT(cable.faultSeries[2][1], lowered);
}

// Guards the series a board's outlets share: equal loops under one parent
// give one series, and siblings that differ in their own impedance do not
// receive each other's; whatever is shared, each series is the one a
// calculator computes for that position alone.
TEST_F(MinimumCurrents, SiblingsShareASeriesOnlyWhereTheirLoopsAreEqual) {
  const int n1 = s.m.Node();
  Busbars(n1);
  // Two switches of 1 and 3 mΩ, each feeding two loads: both end a section.
  for (int code = 901; code <= 902; ++code) {
    Type<book::SwitchRec>(book::kSwitchTable, code, [code](book::SwitchRec& t) {
      t.SetInom(400);
      t.SetR1(code == 901 ? 1.0f : 3.0f);
    });
    const int n = s.m.Node();
    const std::int32_t key = s.m.Branch(kKindSwitch, n1, n);
    Edit<TypeOnlyRec>(kKindSwitch, key, [code](TypeOnlyRec& r) { r.SetType(code); });
    SomeLoad(n);
    SomeLoad(n);
  }
  // Outlets of two devices, and two heating cables straight off the busbars.
  for (const float length : {40.0f, 90.0f}) {
    const int n2 = s.m.Node(), n3 = s.m.Node();
    Device(n1, n2);
    Cable(n2, n3, length);
    SomeLoad(n3);
  }
  for (int i = 0; i < 2; ++i) {
    const int n = s.m.Node();
    Cable(n1, n, 60);
    SomeLoad(n);
  }
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  const FaultLoops loops(s.calc);
  const ArcSettings arc{kArcConstant, 2, 0, 0};
  FaultSeriesCalculator shared(loops, arc, false);
  int grouped = 0;
  for (int i = s.calc.Count(); i >= 1; --i) {
    if (loops.SiblingGroup(i) >= 0) ++grouped;
    const FaultSeries got = shared.At(i, kE);
    FaultSeriesCalculator alone(loops, arc, false);
    EXPECT_EQ(got, alone.At(i, kE)) << "position " << i;
  }
  EXPECT_GE(grouped, 6);  // the switches, their loads, the devices
}

// --- Fault loops of a branched tree ------------------------------------------------------

// The loop by the plain walk from the element to the source over its path.
C WalkedLoop(const CalcClass& calc, int position, int type, double bt, bool nonAdiabatic) {
  C z = 0;
  double k = 1;
  bool beyondStop = false, inSection = true;
  int pathLevel = calc.Element(position).level;
  for (int j = position; j >= 1; --j) {
    const ElementRec& e = calc.Element(j);
    if (j != position) {
      inSection = e.level < pathLevel || (inSection && e.level == pathLevel && e.endOfSection == 0);
      if (!inSection) continue;
      pathLevel = e.level;
    }
    if (!IsTerminalKind(e.kind)) {
      const C z1 = ToC(e.z1), z1h = ToC(HeatedZ1(e, bt, 0.2, nonAdiabatic));
      const double times = type == kThreePhaseFault               ? 1
                           : type == kTwoPhaseFault || beyondStop ? 2
                                                                  : 3;
      z += k * times * z1h;
      if (type == kSinglePhaseFault && !beyondStop) z += k * (ToC(e.z0) - z1);
    }
    if (e.kt > 0 && e.kt != 1) k *= static_cast<double>(e.kt) * e.kt;
    beyondStop = beyondStop || e.phaseShift == 1 || e.phaseShift == -1;
  }
  return z;
}

// Guards the prefix sums and the runs of heating lines: broken by a
// transformer, by a cable of another heating class, and by branching.
TEST_F(MinimumCurrents, FastLoopSumsAgreeWithTheWalkToTheSourceEverywhere) {
  // 10 kV → D/Y0 → busbars n2 with two cables; one goes on over a thinner
  // aluminium cable to a 0.4/0.23 kV Y0/Y0 transformer and a cable.
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node(), n4 = s.m.Node(), n5 = s.m.Node();
  const int n6 = s.m.Node(), n7 = s.m.Node(), n8 = s.m.Node(), n9 = s.m.Node();
  SystemSource(n1);
  Transformer630(n1, n2, kGroupDY0, 3.06f, 13.6f);
  Cable(n2, n3, 80);
  SomeLoad(n3);
  Cable(n2, n4, 30);
  Type<book::CableBrandRec>(book::kCableBrandTable, 1002,
                            [](book::CableBrandRec& b) { b.SetCondMat(1); });
  Type<book::CableRec>(book::kCableTable, 2002, [](book::CableRec& c) {
    c.SetType(1002);
    c.SetCondCount(4);
    c.SetCrossCectF(50);
    c.SetR1(0.625f);
    c.SetX1(0.0625f);
    c.SetR0(2.5f);
    c.SetX0(0.4f);
  });
  const std::int32_t thin = s.m.Cable(n4, n9);
  Edit<CableLineRec>(kKindCableLine, thin, [](CableLineRec& l) {
    l.SetType(2002);
    l.SetL(20);
    l.SetNk(1);
  });
  const std::int32_t thick = Cable(n9, n5, 40);
  Type<book::TransformerRec>(book::kTransformerTable, 520, [](book::TransformerRec& t) {
    t.SetSnom(100);
    t.SetR0(40);
    t.SetX0(60);
    t.SetGroup(kGroupY0Y0);
  });
  const std::int32_t small = s.m.Branch(kKindTransformer, n5, n6);
  Edit<TransformerRec>(kKindTransformer, small, [](TransformerRec& t) {
    t.SetType(520);
    t.SetPk(2);
    t.SetUk(4.5f);
    t.SetUv(0.4f);
    t.SetUn(0.23f);
  });
  Cable(n6, n7, 15);
  Cable(n7, n8, 15);
  Load(n8, Group(5, 1, 230));
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  ASSERT_EQ(Of(small).phaseShift, 0);
  ASSERT_NE(Of(thin).adiabaticConstant, Of(thick).adiabaticConstant);

  const FaultLoops loops(s.calc);
  // Cold, warm, and so hot that the heating factor reaches its limit.
  for (const double bt : {0.0, 40.0, 5000.0}) {
    for (const bool nonAdiabatic : {false, true}) {
      for (int i = 1; i <= s.calc.Count(); ++i) {
        for (int type = 0; type < kFaultTypes; ++type) {
          const LoopImpedance fast = loops.Loop(i, type, bt, 0.2, nonAdiabatic);
          const C walked = WalkedLoop(s.calc, i, type, bt, nonAdiabatic);
          const double tolerance = 1e-5 * std::abs(walked) + 1e-6;
          EXPECT_NEAR(static_cast<double>(fast.r), walked.real(), tolerance)
              << "position " << i << " type " << type << " bt " << bt;
          EXPECT_NEAR(static_cast<double>(fast.x), walked.imag(), tolerance)
              << "position " << i << " type " << type << " bt " << bt;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kordavelt::testing
